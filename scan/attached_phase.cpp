// The attached-file check: for every flagged file, which attached files lie
// beside it, whether it still passes the size and MD5 test (case not ignored),
// and a record of it in the report of its note.
#include "core/files.h"
#include "core/numbers.h"
#include "core/system.h"
#include "process/process_lookup.h"
#include "scan/phases.h"
#include "scan/report_file.h"

namespace {

const char kDashLine[] = "——————————————————";

// The part of `path` before its last backslash, with the backslash.
Text FolderOf(const Text& path) { return LeftText(path, FindLastText(path, "\\") - 1) + "\\"; }

// The rest of the line of the MD5 database on which `md5` stands, after its
// last "|"; `databaseLines` is the database text followed by CR LF.
Text NoteOf(const Text& databaseLines, const Text& md5)
{
    const int at = FindText(databaseLines, md5);
    if (at == -1) return Text();
    const int end = FindText(databaseLines, "\r\n", at);
    return SplitAtLast(LeftText(databaseLines, end - 1), "|", "右");
}

Text Record(const Text& note, const Text& path, const Text& size, const Text& md5,
            const Text& process, const Text& attached)
{
    const Text dash = Text("\r\n") + kDashLine + "\r\n";
    return ConcatTexts("文件备注：", note, "\r\n==================================\r\n文件路径：",
                       path, dash, "文件尺寸：", size, dash, "文件MD5：", md5, dash,
                       "运行进程：", process, dash, attached, dash, "注册表键值：\r\n");
}

}  // namespace

void AttachedPhase(ProgramState& state, Stores& stores, ScanSteps& steps)
{
    steps.View().SetText(ScanControl::Edit1,
                         NumberToText(steps.Use(stores.matchedFiles).Count()));
    steps.View().SetText(ScanControl::ScanType, "正在扫描 附属文件信息......");
    Text reportName;
    const int n = steps.Use(stores.matchedFiles).Count();
    // The databases never change while the program runs: taken once.
    const Text sizeDatabase = steps.Use(stores.sizeDatabaseText).GetText();
    const Text md5Database = steps.Use(stores.md5DatabaseText).GetText();
    const Text md5DatabaseLines = md5Database + "\r\n";
    const std::vector<Text> md5Lines = steps.Use(stores.md5Lines).Items();
    const auto proceed = [&] { return steps.Proceed(); };

    for (int pass = 1; pass <= n; ++pass) {
        state.phaseCounter = pass;
        const Text done = steps.View().GetText(ScanControl::Edit2);
        steps.View().SetText(ScanControl::Edit2, NumberToText(TextToNumber(done) + 1.0));
        ProcessPendingMessages();
        const Text path = steps.Use(stores.matchedFiles).ItemText(state.phaseIndex);
        state.currentFolder = FolderOf(path);
        steps.View().SetText(ScanControl::Label5, state.currentFolder);

        state.attachedReportText = "";
        const int m = steps.Use(stores.attachedNames).Count();
        for (int attachedPass = 1; attachedPass <= m; ++attachedPass) {
            state.attachedCounter = attachedPass;
            SleepMs(1);
            const Text name = steps.Use(stores.attachedNames).ItemText(state.attachedIndex);
            if (FileExists(state.currentFolder + name)) {
                state.attachedReportText += ConcatTexts("所包含附属文件：", name, "\r\n",
                                                        kDashLine, "\r\n");
                const int position = steps.View().ProgressPosition();
                steps.View().SetProgressPosition(position + 1);
            }
            state.attachedIndex = state.attachedIndex + 1;
        }
        SleepMs(1);

        const Text size = NumberToText(FileSize(path));
        Text md5;
        if (FindText(sizeDatabase, size) != -1) {
            md5 = FileMd5Text(path, proceed);
            steps.ThrowIfStopped();
        }
        if (!md5.empty() && FindText(md5Database, md5) != -1) {
            state.currentNote = NoteOf(md5DatabaseLines, md5);
            for (const Text& line : md5Lines) {
                if (FindText(line, md5) != -1) {
                    reportName = SplitAtLast(line, "|", "右");
                    break;
                }
            }
            const Text process = RunningProcessOf(path, proceed);
            steps.ThrowIfStopped();
            // Appended to the very file it belongs to; a failed write keeps the
            // report as it was.
            AppendToReport(ReportPath(state.resultFolder, reportName),
                           Record(state.currentNote, path, size, md5, process,
                                  state.attachedReportText));
        }

        state.attachedIndex = 0;
        state.attachedCounter = 0;
        state.attachedReportText = "";
        state.phaseIndex = state.phaseIndex + 1;
        ProcessPendingMessages();
    }

    steps.View().SetText(ScanControl::ScanType, "");
    steps.View().SetProgressPosition(0);
    state.phaseIndex = 0;
    state.phaseCounter = 0;
    state.attachedReportText = "";
    state.attachedIndex = 0;
    state.attachedCounter = 0;
    steps.View().SetProgressMaximum(steps.Use(stores.registryLines).Count());
    ProcessPendingMessages();
    state.currentNote = "";
}
