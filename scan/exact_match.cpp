// The exact-file match: a file is flagged when its size text and then its MD5
// text occur in the database texts.
#include "core/files.h"
#include "core/numbers.h"
#include "core/system.h"
#include "scan/match_index.h"
#include "scan/phases.h"

void CountOneMore(ScanSteps& steps, ScanControl counter)
{
    const int position = steps.View().ProgressPosition();
    steps.View().SetProgressPosition(position + 1);
    const Text count = steps.View().GetText(counter);
    steps.View().SetText(counter, NumberToText(TextToNumber(count) + 1.0));
}

void ExactMatchPhase(ProgramState& state, Stores& stores, ScanSteps& steps)
{
    steps.View().SetText(ScanControl::ScanType, "正在扫描 精确文件......");
    const int n = steps.Use(stores.foundFiles).Count();
    // The database texts never change while the program runs: index them once.
    const MatchIndex sizes = SizeTextIndex(steps.Use(stores.sizeDatabaseText).GetText());
    const MatchIndex digests = Md5TextIndex(steps.Use(stores.md5DatabaseText).GetText());

    for (int pass = 1; pass <= n; ++pass) {
        state.phaseCounter = pass;
        SleepMs(1);
        const Text path = steps.Use(stores.foundFiles).ItemText(state.phaseIndex);
        state.currentFileSize = FileSize(path);
        steps.View().SetText(ScanControl::Label5, path);
        bool flagged = false;
        if (sizes.Contains(NumberToText(state.currentFileSize))) {
            const Text digest = FileMd5Text(path, [&] { return steps.Proceed(); });
            steps.ThrowIfStopped();
            flagged = digests.Contains(digest);
        }
        if (flagged) steps.Use(stores.matchedFiles).Add(path);
        state.phaseIndex = state.phaseIndex + 1;
        CountOneMore(steps, ScanControl::Edit2);
    }

    steps.View().SetText(ScanControl::ScanType, "");
    steps.View().SetProgressPosition(0);
    state.phaseIndex = 0;
    state.phaseCounter = 0;
    steps.View().SetProgressMaximum(steps.Use(stores.attachedNames).Count());
    steps.View().SetText(ScanControl::Edit2, "");
    state.currentNote = "";
}
