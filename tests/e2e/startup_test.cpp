// Start-up of the real program: messages, skin library, layout, menus, closing.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "tests/e2e/driver.h"
#include "tests/win/test_support.h"
#include "ui/main_window_ids.h"
#include "ui/messages.h"

namespace {

const char kFailure[] = "数据库加载失败！请选择配置窗口后重新启动！";
const char kSuccess[] = "数据库加载成功！";

// A scratch folder holding a copy of the program.
struct ProgramFolder {
    ScratchFolder folder;
    Text exe = folder / "Sorvalen.exe";
    ProgramFolder() { CopyFileA(BuiltProgram().c_str(), exe.c_str(), FALSE); }
};

LRESULT StoreSize(HWND main, StoreId store)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(main, WM_APP_STORE_SIZE, store, 0, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
}

bool Enabled(HWND main, int id) { return IsWindowEnabled(GetDlgItem(main, id)) != FALSE; }
LRESULT CheckState(HWND main, int id)
{
    return SendMessageA(GetDlgItem(main, id), BM_GETCHECK, 0, 0);
}

// Closes the start-up message box and waits for the initial states.
HWND PassStartMessage(const RunningProgram& app, const char* expected)
{
    HWND box = app.WaitMessageBox();
    EXPECT_NE(box, nullptr);
    if (!box) return nullptr;
    EXPECT_EQ(MessageBoxText(box), expected);
    EXPECT_EQ(WindowText(box), "信息：");
    AnswerMessageBox(box);
    HWND main = app.MainWindow();
    EXPECT_TRUE(WaitUntil([&] { return !Enabled(main, IDC_BUTTON2); }));
    return main;
}

TEST(StartUp, FirstStartWritesTheSkinLibraryAndShowsTheFailureBeforeTheDrives)
{
    ProgramFolder p;
    RunningProgram app(p.exe);
    ASSERT_TRUE(app.Started());
    HWND box = app.WaitMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), kFailure);
    EXPECT_EQ(WindowText(box), "信息：");
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);

    // While the box is up: the skin library is out, the drives are not listed
    // yet and the buttons still have their creation states.
    const Text library = p.folder / "SkinH_EL.dll";
    const DWORD attributes = GetFileAttributesA(library.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
    const std::string written = ReadBytes(library);
    EXPECT_EQ(written.size(), 100933u);
    EXPECT_TRUE(written == ReadBytes(BuiltSkinLibrary()));
    HWND main = app.MainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(IsWindowEnabled(main));  // task-modal box
    EXPECT_EQ(StoreSize(main, STORE_DRIVE_ROOTS), 0);
    EXPECT_TRUE(Enabled(main, IDC_BUTTON2));
    EXPECT_TRUE(Enabled(main, IDC_BUTTON3));

    AnswerMessageBox(box);
    ASSERT_TRUE(WaitUntil([&] { return !Enabled(main, IDC_BUTTON2); }));
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_TRUE(Enabled(main, IDC_BUTTON1));
    EXPECT_FALSE(Enabled(main, IDC_BUTTON3));
    EXPECT_GE(StoreSize(main, STORE_DRIVE_ROOTS), 1);  // Wine has at least C:
    EXPECT_EQ(StoreSize(main, STORE_MD5_LINES), 0);
}

TEST(StartUp, MainWindowHasItsTitleSizePlaceAndInitialStates)
{
    ProgramFolder p;
    RunningProgram app(p.exe);
    HWND main = PassStartMessage(app, kFailure);
    ASSERT_NE(main, nullptr);

    EXPECT_EQ(WindowText(main), "Sorvalen V1.2");
    const Rect outer = WindowRectOf(main);
    EXPECT_EQ(outer.width, 292);
    EXPECT_EQ(outer.height, 411);
    EXPECT_NEAR(outer.x, (GetSystemMetrics(SM_CXSCREEN) - 292) / 2, 1);
    EXPECT_NEAR(outer.y, (GetSystemMetrics(SM_CYSCREEN) - 411) / 2, 1);
    const LONG style = GetWindowLongA(main, GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_SYSMENU);

    struct Expected {
        int id;
        const char* caption;
        Rect place;
        bool inGroup;
    } controls[] = {
        {IDC_GROUP1, "扫描类型", {3, 8, 277, 88}, false},
        {IDC_RADIO1, "全盘扫描", {7, 24, 72, 24}, true},
        {IDC_RADIO2, "指定文件夹扫描(扫描速度快)", {86, 28, 176, 16}, true},
        {IDC_CHECK1, "大小+MD5", {8, 56, 72, 24}, true},
        {IDC_CHECK2, "扫描调用文件", {87, 60, 96, 16}, true},
        {IDC_CHECK4, "注册表扫描", {184, 56, 80, 24}, true},
        {IDC_BUTTON1, "开始", {8, 112, 72, 32}, false},
        {IDC_BUTTON3, "暂停", {96, 112, 72, 32}, false},
        {IDC_BUTTON2, "关闭", {192, 112, 72, 32}, false},
        {IDC_LABEL2, "扫描实体化进度：", {8, 160, 96, 24}, false},
        {IDC_EDIT2, "", {104, 160, 64, 24}, false},
        {IDC_EDIT1, "", {177, 160, 71, 24}, false},
        {IDC_LABEL8, "已用时：", {8, 192, 48, 24}, false},
        {IDC_LABEL7, "", {64, 187, 56, 32}, false},
        {IDC_LABEL6, "扫描类型：", {8, 230, 56, 24}, false},
        {IDC_SCANTYPE, "", {72, 224, 200, 32}, false},
        {IDC_LABEL4, "文件路径：", {8, 264, 64, 32}, false},
        {IDC_LABEL5, "", {72, 264, 200, 56}, false},
        {IDC_LABEL3, "扫描进度：", {8, 327, 56, 24}, false},
        {IDC_PROGRESS1, "", {68, 324, 204, 24}, false},
    };
    const Rect group = ClientRectOf(GetDlgItem(main, IDC_GROUP1));
    for (const Expected& c : controls) {
        SCOPED_TRACE(c.caption);
        HWND control = GetDlgItem(main, c.id);
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(IsWindowVisible(control));
        EXPECT_EQ(WindowText(control), c.caption);
        Rect place = ClientRectOf(control);
        if (c.inGroup) {
            place.x -= group.x;
            place.y -= group.y;
        }
        EXPECT_EQ(place, c.place);
    }

    EXPECT_TRUE(Enabled(main, IDC_BUTTON1));
    EXPECT_FALSE(Enabled(main, IDC_BUTTON2));
    EXPECT_FALSE(Enabled(main, IDC_BUTTON3));
    EXPECT_EQ(CheckState(main, IDC_RADIO1), BST_CHECKED);
    for (int id : {IDC_RADIO2, IDC_CHECK1, IDC_CHECK2, IDC_CHECK4})
        EXPECT_EQ(CheckState(main, id), BST_UNCHECKED) << id;
    EXPECT_EQ(SendMessageA(GetDlgItem(main, IDC_PROGRESS1), PBM_GETPOS, 0, 0), 0);
}

TEST(StartUp, ConfigAndRelativeDatabasesAreReadFromTheProgramFolder)
{
    ProgramFolder p;
    CreateDirectoryA((p.folder / "db").c_str(), nullptr);
    p.folder.Put("config.ini",
                 "[文件大小数据]\r\n数据=db\\size.txt\r\n"
                 "[文件 MD5数据]\r\n数据=db\\md5.txt\r\n"
                 "[附属文件数据]\r\n数据=db\\attached.txt\r\n"
                 "[注册表  数据]\r\n数据=db\\registry.txt\r\n"
                 "[保存结果位置]\r\n数据=results\r\n");
    p.folder.Put("db\\size.txt", "#1024#53248");
    p.folder.Put("db\\md5.txt",
                 "0cc175b9c0f1b6a831c399e269772661|a\r\n\r\n92eb5ffee6ae2fec3ad71c777531578f|b\r\n\r\n");
    p.folder.Put("db\\attached.txt", "\r\nA.dll\r\nB.ini");
    p.folder.Put("db\\registry.txt", "Software\\X\\v|a\r\n");
    ScratchFolder elsewhere;
    RunningProgram app(p.exe, elsewhere.Path());
    HWND main = PassStartMessage(app, kSuccess);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(StoreSize(main, STORE_SIZE_DATABASE_TEXT), 11);
    EXPECT_EQ(StoreSize(main, STORE_MD5_DATABASE_TEXT), 76);
    EXPECT_EQ(StoreSize(main, STORE_MD5_LINES), 4);
    EXPECT_EQ(StoreSize(main, STORE_ATTACHED_NAMES), 3);
    EXPECT_EQ(StoreSize(main, STORE_REGISTRY_LINES), 1);
}

TEST(StartUp, AnExistingSkinLibraryIsLeftUntouched)
{
    ProgramFolder p;
    const Text library = p.folder / "SkinH_EL.dll";
    CopyFileA(BuiltSkinLibrary().c_str(), library.c_str(), FALSE);
    SetFileAttributesA(library.c_str(), FILE_ATTRIBUTE_ARCHIVE);
    FILETIME old = {};
    HANDLE h = CreateFileA(library.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    GetFileTime(h, nullptr, nullptr, &old);
    CloseHandle(h);
    {
        RunningProgram app(p.exe);
        ASSERT_NE(PassStartMessage(app, kFailure), nullptr);
    }
    EXPECT_EQ(GetFileAttributesA(library.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
    FILETIME now = {};
    h = CreateFileA(library.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                    nullptr);
    GetFileTime(h, nullptr, nullptr, &now);
    CloseHandle(h);
    EXPECT_EQ(CompareFileTime(&old, &now), 0);
}

TEST(StartUp, AnUnusableSkinLibraryEndsTheProgramWithAMessageNamingIt)
{
    struct Case {
        const char* name;
        bool folder;
    } cases[] = {{"a folder of that name", true}, {"a file that is no library", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramFolder p;
        const Text library = p.folder / "SkinH_EL.dll";
        if (c.folder)
            CreateDirectoryA(library.c_str(), nullptr);
        else
            p.folder.Put("SkinH_EL.dll", "not a library");
        RunningProgram app(p.exe);
        HWND box = app.WaitMessageBox();
        ASSERT_NE(box, nullptr);
        const Text text = MessageBoxText(box);
        EXPECT_NE(text.find("SkinH_EL.dll"), Text::npos) << text;
        EXPECT_NE(text.find("SkinH_AttachRes"), Text::npos) << text;
        AnswerMessageBox(box);
        EXPECT_TRUE(app.WaitExit(10000));
        if (c.folder)
            EXPECT_TRUE(GetFileAttributesA(library.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
        else
            EXPECT_EQ(ReadBytes(library), "not a library");
    }
}

TEST(Menus, AboutShowsItsEightLines)
{
    ProgramFolder p;
    RunningProgram app(p.exe);
    HWND main = PassStartMessage(app, kFailure);
    ASSERT_NE(main, nullptr);
    PostMessageA(main, WM_COMMAND, IDM_ABOUT, 0);
    HWND box = app.WaitMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowText(box), "信息：");
    EXPECT_EQ(MessageBoxText(box),
              "----------- Sorvalen -----------\r\n\r\n"
              "-----------  软件说明  -----------\r\n\r\n"
              "  快捷式的扫描、优化内存、内存占用率极低。\r\n\r\n"
              "可快速扫描文件的 MD5 与 大小 和 附属文件 另可扫描注册表键值。\r\n\r\n"
              "实体化的进度、让您知晓扫描位置、扫描进度、独特的暂停扫描、让\r\n\r\n"
              "扫描随自己控制不受约束、生成扫描报告、让您更准确的知晓文件是\r\n\r\n"
              "否存在、内附任务管理器、可快捷、锁定进程、结束进程、另优美皮肤\r\n\r\n"
              "随意换。界面不在单调优美皮肤想换就换。");
    AnswerMessageBox(box);
    EXPECT_TRUE(app.WaitNoMessageBox());
}

TEST(ShutDown, ClosingTheWindowEndsTheProgram)
{
    ProgramFolder p;
    RunningProgram app(p.exe);
    HWND main = PassStartMessage(app, kFailure);
    ASSERT_NE(main, nullptr);
    PostMessageA(main, WM_CLOSE, 0, 0);
    DWORD code = 1;
    EXPECT_TRUE(app.WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);
}

}  // namespace
