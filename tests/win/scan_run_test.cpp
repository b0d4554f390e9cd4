// Whole scan runs, headless: the scan engine against a recording view, real
// folder trees and real worker threads.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "core/datetime.h"
#include "core/md5.h"
#include "core/numbers.h"
#include "core/system.h"
#include "scan/scan_model.h"
#include "scan/scan_run.h"
#include "tests/win/test_support.h"

namespace {

struct Message {
    Text text, title;
};

// A program without windows: the model records, messages are collected.
struct Headless {
    ProgramState state;
    Stores stores;
    std::vector<Message> messages;
    ScanModel view{{}, [this](const Text& t, const Text& title) { messages.push_back({t, title}); }};
    ScanRun run{state, stores, view};

    Headless()
    {
        view.SetText(ScanControl::Button1, "开始");
        view.SetEnabled(ScanControl::Button2, false);
        view.SetEnabled(ScanControl::Button3, false);
    }
    ~Headless() { run.EndWorkers(5000); }

    Text TextOf(ScanControl c) { return view.GetText(c); }
    bool EnabledOf(ScanControl c) { return view.Snapshot().enabled[static_cast<int>(c)]; }

    // A folder scan of `folder` with results under `results`.
    void AimAt(const Text& folder, const Text& results)
    {
        state.resultLocation = results + "\\";
        state.resultFolder = state.resultLocation;
        view.SetChecked(ScanControl::Radio2, true);
        run.SetChosenFolder(folder);
    }
};

Text Md5Of(const std::string& bytes) { return Md5Text(bytes.data(), bytes.size()); }

TEST(ScanRun, AFolderScanFindsFlagsAndEndsWithItsTexts)
{
    ScratchFolder tree, results;
    CreateDirectoryA((tree / "sub").c_str(), nullptr);
    const std::string known = "known program bytes";
    tree.Put("a.txt", "a");
    tree.Put("known.exe", known);
    tree.Put("sub\\b.txt", "bb");
    tree.Put("sub\\copy.exe", known);

    Headless h;
    h.AimAt(tree.Path(), results.Path());
    h.stores.sizeDatabaseText.SetText("#" + std::to_string(known.size()));
    h.stores.md5DatabaseText.SetText(Md5Of(known) + "|note\r\n\r\n");
    h.view.SetChecked(ScanControl::Check1, true);

    const DateTime before = TimeOfDay(CurrentDateTime());
    h.run.StartOrContinueScan();
    EXPECT_FALSE(h.EnabledOf(ScanControl::Button1));
    EXPECT_TRUE(h.EnabledOf(ScanControl::Button2));
    EXPECT_TRUE(h.EnabledOf(ScanControl::Button3));
    ASSERT_TRUE(h.run.WaitUntilIdle(20000));
    const DateTime after = TimeOfDay(CurrentDateTime());

    EXPECT_EQ(h.stores.foundFiles.Items(),
              (std::vector<Text>{tree / "a.txt", tree / "known.exe", tree / "sub\\b.txt",
                                 tree / "sub\\copy.exe"}));
    EXPECT_EQ(h.stores.matchedFiles.Items(),
              (std::vector<Text>{tree / "known.exe", tree / "sub\\copy.exe"}));
    EXPECT_EQ(h.TextOf(ScanControl::ScanType), "类型已经全部扫描完毕！");
    EXPECT_EQ(h.TextOf(ScanControl::Label5), "扫描已经结束......");
    EXPECT_EQ(h.TextOf(ScanControl::Edit1), "");
    EXPECT_EQ(h.TextOf(ScanControl::Edit2), "");
    EXPECT_TRUE(h.EnabledOf(ScanControl::Button1));
    EXPECT_FALSE(h.EnabledOf(ScanControl::Button2));
    EXPECT_TRUE(h.EnabledOf(ScanControl::Button3));  // stays enabled after a scan's end
    EXPECT_EQ(h.view.Snapshot().timerPeriod, 0);
    EXPECT_EQ(h.view.Snapshot().progressPosition, 0);
    EXPECT_TRUE(h.messages.empty());

    // The scan folder is named from the time of day under the result location.
    const Text first = results / DateTimeToText(before);
    const Text last = results / DateTimeToText(after);
    EXPECT_TRUE(h.state.resultFolder == first || h.state.resultFolder == last)
        << h.state.resultFolder;
    EXPECT_TRUE(GetFileAttributesA(h.state.resultFolder.c_str()) & FILE_ATTRIBUTE_DIRECTORY);

    // After the end, pausing is refused.
    h.run.PauseScan();
    ASSERT_EQ(h.messages.size(), 1u);
    EXPECT_EQ(h.messages[0].text, "初始化还未完成，无法暂停。");
    EXPECT_EQ(h.messages[0].title, "");
}

TEST(ScanRun, WithoutConfigurationNothingStarts)
{
    Headless h;
    h.view.SetText(ScanControl::Edit1, "");
    h.view.SetText(ScanControl::Label7, "12");
    h.view.SetProgressPosition(5);
    h.run.StartOrContinueScan();
    ASSERT_EQ(h.messages.size(), 1u);
    EXPECT_EQ(h.messages[0].text, "没有载入或保存数据库!");
    EXPECT_EQ(h.messages[0].title, "提示");
    EXPECT_EQ(h.TextOf(ScanControl::Label7), "");
    EXPECT_EQ(h.view.ProgressPosition(), 0);
    EXPECT_TRUE(h.EnabledOf(ScanControl::Button1));
    EXPECT_EQ(h.view.Snapshot().timerPeriod, 0);
}

TEST(ScanRun, AFolderScanWithoutAFolderSaysSoAndChecksNothing)
{
    ScratchFolder results;
    Headless h;
    h.AimAt("", results.Path());
    h.run.StartOrContinueScan();
    ASSERT_TRUE(h.run.WaitUntilIdle(20000));
    ASSERT_EQ(h.messages.size(), 1u);
    EXPECT_EQ(h.messages[0].text, "目录名不能为空");
    EXPECT_EQ(h.TextOf(ScanControl::ScanType), "类型已经全部扫描完毕！");
    EXPECT_EQ(h.stores.foundFiles.Count(), 0);
}

TEST(ScanRun, ElapsedSecondsCountFromTheEmptyText)
{
    Headless h;
    for (const char* expected : {"1", "2", "3"}) {
        h.run.CountElapsedSecond();
        EXPECT_EQ(h.TextOf(ScanControl::Label7), expected);
    }
}

// A tree large enough that the match runs for a few seconds (1 ms per file).
struct BigTree {
    ScratchFolder tree, results;
    explicit BigTree(int files)
    {
        for (int i = 0; i < files; ++i) tree.Put("f" + std::to_string(i) + ".txt", "x");
    }
};

bool WaitForText(Headless& h, ScanControl c, bool nonEmpty, int timeoutMs = 20000)
{
    for (int waited = 0; waited < timeoutMs; waited += 10) {
        if (h.TextOf(c).empty() != nonEmpty) return true;
        Sleep(10);
    }
    return false;
}

TEST(ScanRun, PauseHoldsTheCheckAndContinueGoesOn)
{
    BigTree big(3000);
    Headless h;
    h.AimAt(big.tree.Path(), big.results.Path());
    h.view.SetChecked(ScanControl::Check1, true);
    h.run.StartOrContinueScan();

    // During the walk the total is empty and pausing is refused.
    h.run.PauseScan();
    ASSERT_TRUE(WaitForText(h, ScanControl::Edit2, true));
    ASSERT_FALSE(h.messages.empty());
    EXPECT_EQ(h.messages[0].text, "初始化还未完成，无法暂停。");
    EXPECT_EQ(h.TextOf(ScanControl::Edit1), "3000");

    h.run.PauseScan();
    h.run.PauseScan();  // a second pause changes nothing
    EXPECT_EQ(h.TextOf(ScanControl::Button1), "继续");
    EXPECT_TRUE(h.EnabledOf(ScanControl::Button1));
    EXPECT_EQ(h.view.Snapshot().timerPeriod, 0);
    Sleep(100);
    const Text held = h.TextOf(ScanControl::Edit2);
    Sleep(300);
    EXPECT_EQ(h.TextOf(ScanControl::Edit2), held);

    h.run.StartOrContinueScan();
    EXPECT_EQ(h.TextOf(ScanControl::Button1), "开始");
    EXPECT_FALSE(h.EnabledOf(ScanControl::Button1));
    EXPECT_EQ(h.view.Snapshot().timerPeriod, 1000);
    Sleep(300);
    EXPECT_NE(h.TextOf(ScanControl::Edit2), held);

    h.run.StopScan();
    EXPECT_TRUE(h.run.WaitUntilIdle(1000));
    for (ScanControl c : {ScanControl::Edit1, ScanControl::Edit2, ScanControl::Label7,
                          ScanControl::ScanType, ScanControl::Label5})
        EXPECT_EQ(h.TextOf(c), "") << static_cast<int>(c);
    EXPECT_TRUE(h.EnabledOf(ScanControl::Button1));
    EXPECT_FALSE(h.EnabledOf(ScanControl::Button2));
    EXPECT_FALSE(h.EnabledOf(ScanControl::Button3));
    EXPECT_EQ(h.TextOf(ScanControl::Button1), "开始");
    EXPECT_EQ(h.view.ProgressPosition(), 0);
    EXPECT_EQ(h.state.phaseIndex, 0);
    EXPECT_EQ(h.state.phaseCounter, 0);
}

TEST(ScanRun, APausedScanThatFailsTheContinueTestIsEndedByTheNewScan)
{
    BigTree big(3000);
    Headless h;
    h.AimAt(big.tree.Path(), big.results.Path());
    h.view.SetChecked(ScanControl::Check1, true);
    h.run.StartOrContinueScan();
    ASSERT_TRUE(WaitForText(h, ScanControl::Edit2, true));
    h.run.PauseScan();
    Sleep(50);
    // The counters read alike (as just after a phase's last item): a new scan starts.
    h.view.TakeTypedText(ScanControl::Edit2, h.TextOf(ScanControl::Edit1));
    h.run.StartOrContinueScan();
    EXPECT_EQ(h.TextOf(ScanControl::Button1), "继续");  // caption untouched by a new start
    ASSERT_TRUE(WaitForText(h, ScanControl::Edit2, true));
    EXPECT_EQ(h.TextOf(ScanControl::Edit1), "3000");
    // The new scan's match begins with the first found file.
    EXPECT_LE(TextToNumber(h.TextOf(ScanControl::Edit2)), 2000);
    h.run.StopScan();
    EXPECT_TRUE(h.run.WaitUntilIdle(1000));
}

TEST(ScanRun, StopEndsTheWorkersAtOnceWhereverTheyAre)
{
    BigTree big(3000);
    for (int delayMs : {0, 5, 200}) {
        SCOPED_TRACE(delayMs);
        Headless h;
        h.AimAt(big.tree.Path(), big.results.Path());
        h.view.SetChecked(ScanControl::Check1, true);
        h.run.StartOrContinueScan();
        Sleep(delayMs);
        h.run.StopScan();
        EXPECT_TRUE(h.run.WaitUntilIdle(1000));
        EXPECT_EQ(h.TextOf(ScanControl::Edit1), "");
        EXPECT_EQ(h.TextOf(ScanControl::Label5), "");
    }
}

}  // namespace
