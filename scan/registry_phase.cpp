// The registry check: every value of the registry database is looked for under
// the five roots, deleted when the menu says so, and noted in its report.
#include "core/files.h"
#include "core/system.h"
#include "scan/phases.h"
#include "scan/registry.h"
#include "scan/report_file.h"

void RegistryPhase(ProgramState& state, Stores& stores, ScanSteps& steps)
{
    steps.View().SetText(ScanControl::ScanType, "正在扫描 注册表......");
    const int n = steps.Use(stores.registryLines).Count();

    for (int pass = 1; pass <= n; ++pass) {
        state.phaseCounter = pass;
        SleepMs(1);
        ProcessPendingMessages();
        const Text line = steps.Use(stores.registryLines).ItemText(state.phaseIndex);
        state.registryKeyText = SplitAtLast(line, "|", "左");
        steps.View().SetText(ScanControl::Label5, state.registryKeyText);

        if (ExistsUnderAnyRoot(state.registryKeyText)) {
            ProcessPendingMessages();
            const Text report = ReportPath(state.resultFolder, SplitAtLast(line, "|", "右"));
            // The check mark as it stands when this value is reached; the
            // deletion does not wait for a report.
            Text status;
            if (steps.View().DeletesRegistryValues()) {
                status = DeleteUnderAnyRoot(state.registryKeyText) ? "  此注册表键值已经删除"
                                                                   : "  此注册表键值未删除";
            }
            if (FileExists(report)) {
                state.registryReportText = ConcatTexts("\r\n", state.registryKeyText, status);
                AppendToReport(report, state.registryReportText);
            }
        }

        state.phaseIndex = state.phaseIndex + 1;
        const int position = steps.View().ProgressPosition();
        steps.View().SetProgressPosition(position + 1);
    }

    state.phaseIndex = 0;
    state.phaseCounter = 0;
    steps.View().SetText(ScanControl::ScanType, "");
}
