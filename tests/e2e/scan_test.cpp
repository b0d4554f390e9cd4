// Scans on the real program: the folder picker, start, pause, continue, stop.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "core/datetime.h"
#include "core/md5.h"
#include "tests/e2e/driver.h"
#include "tests/win/test_support.h"
#include "ui/main_window_ids.h"
#include "ui/messages.h"

namespace {

const char kEnded[] = "扫描已经结束......";

// The picker always opens on C:\WINDOWS, so the scanned tree lies there.
struct ScannedTree {
    Text path;
    std::string known = "a file the databases know";
    explicit ScannedTree(int fillers)
    {
        path = "C:\\windows\\sorvalen-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
               std::to_string(GetTickCount());
        CreateDirectoryA(path.c_str(), nullptr);
        Write("known.exe", known);
        for (int i = 0; i < fillers; ++i) Write("filler" + std::to_string(i) + ".txt", "f");
    }
    ~ScannedTree() { RemoveTree(path); }
    void Write(const Text& name, const std::string& bytes) const
    {
        HANDLE f = CreateFileA((path + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                               CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(f);
    }
};

// A program folder whose databases know the tree's known file.
struct Profile {
    ScratchFolder folder, results;
    Text exe = folder / "Sorvalen.exe";
    explicit Profile(const ScannedTree& tree)
    {
        CopyFileA(BuiltProgram().c_str(), exe.c_str(), FALSE);
        folder.Put("size.txt", "#" + std::to_string(tree.known.size()));
        folder.Put("md5.txt", Md5Text(tree.known.data(), tree.known.size()) + "|e2e\r\n\r\n");
        folder.Put("config.ini", "[文件大小数据]\r\n数据=" + folder / "size.txt" +
                                     "\r\n[文件 MD5数据]\r\n数据=" + folder / "md5.txt" +
                                     "\r\n[保存结果位置]\r\n数据=" + results.Path() + "\r\n");
    }
};

Text TimeFolderName()
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    DateTime d;
    d.hour = t.wHour;
    d.minute = t.wMinute;
    d.second = t.wSecond;
    return DateTimeToText(d);  // the date part is always 2000年1月1日
}

std::vector<Text> Entries(const Text& folder)
{
    std::vector<Text> names;
    WIN32_FIND_DATAA e;
    HANDLE s = FindFirstFileA((folder + "\\*").c_str(), &e);
    if (s == INVALID_HANDLE_VALUE) return names;
    do {
        if (lstrcmpA(e.cFileName, ".") && lstrcmpA(e.cFileName, "..")) names.push_back(e.cFileName);
    } while (FindNextFileA(s, &e));
    FindClose(s);
    return names;
}

struct Session {
    RunningProgram app;
    HWND main = nullptr;
    explicit Session(const Text& exe) : app(exe)
    {
        HWND box = app.WaitMessageBox();
        if (!box) return;
        EXPECT_EQ(MessageBoxText(box), "数据库加载成功！");
        AnswerMessageBox(box);
        main = app.MainWindow();
        WaitUntil([&] { return !IsWindowEnabled(Control(IDC_BUTTON2)); });
    }
    HWND Control(int id) const { return GetDlgItem(main, id); }
    Text TextOf(int id) const { return WindowText(Control(id)); }
    bool Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }
    LRESULT StoreSize(StoreId store) const
    {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(main, WM_APP_STORE_SIZE, store, 0, SMTO_ABORTIFHUNG, 5000, &result);
        return static_cast<LRESULT>(result);
    }
    // Clicks 单选框2 and answers the folder dialog.
    void PickFolder(int answer)
    {
        PostClick(Control(IDC_RADIO2));
        HWND dialog = WaitFolderDialog(app);
        ASSERT_NE(dialog, nullptr);
        const std::vector<Text> texts = StaticTexts(dialog);
        EXPECT_NE(std::find(texts.begin(), texts.end(), Text("选择路径")), texts.end());
        // The status line shows the initial selection.
        const bool shown = std::any_of(texts.begin(), texts.end(), [](const Text& t) {
            return lstrcmpiA(t.c_str(), "C:\\windows") == 0;
        });
        EXPECT_TRUE(shown);
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), main);
        PostMessageA(dialog, WM_COMMAND, answer, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    }
    bool WaitText(int id, const Text& expected, int timeoutMs = 60000) const
    {
        return WaitUntil([&] { return TextOf(id) == expected; }, timeoutMs);
    }
};

TEST(Scan, AFolderScanChosenInThePickerFlagsTheKnownFileAndNamesItsFolderByTheTime)
{
    ScannedTree tree(0);
    Profile profile(tree);
    Session s(profile.exe);
    ASSERT_NE(s.main, nullptr);
    PostClick(s.Control(IDC_CHECK1));
    s.PickFolder(IDOK);
    const Text before = TimeFolderName();
    PostClick(s.Control(IDC_BUTTON1));
    ASSERT_TRUE(s.WaitText(IDC_LABEL5, kEnded));
    const Text after = TimeFolderName();

    EXPECT_EQ(s.TextOf(IDC_SCANTYPE), "类型已经全部扫描完毕！");
    EXPECT_EQ(s.TextOf(IDC_EDIT1), "");
    EXPECT_EQ(s.TextOf(IDC_EDIT2), "");
    EXPECT_TRUE(s.Enabled(IDC_BUTTON1));
    EXPECT_FALSE(s.Enabled(IDC_BUTTON2));
    EXPECT_TRUE(s.Enabled(IDC_BUTTON3));
    EXPECT_EQ(s.StoreSize(STORE_MATCHED_FILES), 1);
    EXPECT_GT(s.StoreSize(STORE_FOUND_FILES), 1);

    const std::vector<Text> folders = Entries(profile.results.Path());
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_TRUE(folders[0] == before || folders[0] == after) << folders[0];
}

TEST(Scan, PauseHoldsTheMatchAndTheClockContinueGoesOnStopClearsAll)
{
    // Enough files (1 ms each) that the match outlasts the pause and a few ticks.
    ScannedTree tree(10000);
    Profile profile(tree);
    Session s(profile.exe);
    ASSERT_NE(s.main, nullptr);
    PostClick(s.Control(IDC_CHECK1));
    s.PickFolder(IDOK);
    PostClick(s.Control(IDC_BUTTON1));
    ASSERT_TRUE(WaitUntil([&] { return !s.TextOf(IDC_EDIT2).empty(); }, 60000));
    ASSERT_TRUE(WaitUntil([&] { return !s.TextOf(IDC_LABEL7).empty(); }, 5000));

    PostClick(s.Control(IDC_BUTTON3));
    ASSERT_TRUE(s.WaitText(IDC_BUTTON1, "继续", 5000));
    EXPECT_TRUE(s.Enabled(IDC_BUTTON1));
    EXPECT_TRUE(s.Enabled(IDC_BUTTON2));
    EXPECT_TRUE(s.Enabled(IDC_BUTTON3));
    Sleep(300);
    const Text elapsed = s.TextOf(IDC_LABEL7), processed = s.TextOf(IDC_EDIT2);
    Sleep(2200);
    EXPECT_EQ(s.TextOf(IDC_LABEL7), elapsed);
    EXPECT_EQ(s.TextOf(IDC_EDIT2), processed);

    PostClick(s.Control(IDC_BUTTON1));
    ASSERT_TRUE(s.WaitText(IDC_BUTTON1, "开始", 5000));
    EXPECT_TRUE(WaitUntil([&] { return !s.Enabled(IDC_BUTTON1); }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return s.TextOf(IDC_EDIT2) != processed; }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return s.TextOf(IDC_LABEL7) != elapsed; }, 3000));

    PostClick(s.Control(IDC_BUTTON2));
    ASSERT_TRUE(WaitUntil([&] { return s.TextOf(IDC_EDIT1).empty(); }, 5000));
    for (int id : {IDC_EDIT1, IDC_EDIT2, IDC_LABEL7, IDC_SCANTYPE, IDC_LABEL5})
        EXPECT_EQ(s.TextOf(id), "") << id;
    EXPECT_EQ(s.TextOf(IDC_BUTTON1), "开始");
    EXPECT_TRUE(s.Enabled(IDC_BUTTON1));
    EXPECT_FALSE(s.Enabled(IDC_BUTTON2));
    EXPECT_FALSE(s.Enabled(IDC_BUTTON3));
    EXPECT_EQ(SendMessageA(s.Control(IDC_PROGRESS1), PBM_GETPOS, 0, 0), 0);
}

TEST(Scan, ACancelledPickerLeavesAFolderScanWithoutAFolder)
{
    ScannedTree tree(0);
    Profile profile(tree);
    Session s(profile.exe);
    ASSERT_NE(s.main, nullptr);
    s.PickFolder(IDCANCEL);
    PostClick(s.Control(IDC_BUTTON1));
    HWND box = s.app.WaitMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "目录名不能为空");
    EXPECT_EQ(WindowText(box), "信息：");
    AnswerMessageBox(box);
    ASSERT_TRUE(s.WaitText(IDC_LABEL5, kEnded));
    EXPECT_EQ(s.StoreSize(STORE_FOUND_FILES), 0);
}

TEST(Scan, AScanWithNoCheckBoxWalksThenEnds)
{
    ScannedTree tree(0);
    Profile profile(tree);
    Session s(profile.exe);
    ASSERT_NE(s.main, nullptr);
    s.PickFolder(IDOK);
    PostClick(s.Control(IDC_BUTTON1));
    ASSERT_TRUE(s.WaitText(IDC_LABEL5, kEnded));
    EXPECT_EQ(s.TextOf(IDC_SCANTYPE), "类型已经全部扫描完毕！");
    EXPECT_GT(s.StoreSize(STORE_FOUND_FILES), 1);
    EXPECT_EQ(s.StoreSize(STORE_MATCHED_FILES), 0);
}

TEST(Scan, ClosingTheWindowDuringAScanEndsTheProgramAtOnce)
{
    ScannedTree tree(3000);
    Profile profile(tree);
    Session s(profile.exe);
    ASSERT_NE(s.main, nullptr);
    PostClick(s.Control(IDC_CHECK1));
    s.PickFolder(IDOK);
    PostClick(s.Control(IDC_BUTTON1));
    ASSERT_TRUE(WaitUntil([&] { return !s.TextOf(IDC_EDIT2).empty(); }, 60000));
    PostMessageA(s.main, WM_CLOSE, 0, 0);
    DWORD code = 1;
    EXPECT_TRUE(s.app.WaitExit(3000, &code));
    EXPECT_EQ(code, 0u);
}

}  // namespace
