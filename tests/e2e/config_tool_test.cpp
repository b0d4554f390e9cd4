// The configuration window and the tool window on the real program: saving and
// reloading config.ini, the shared open-file dialog, and fresh tool windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/md5.h"
#include "databases/config_window_ids.h"
#include "databases/tool_window_ids.h"
#include "tests/e2e/driver.h"
#include "tests/win/test_support.h"
#include "ui/main_window_ids.h"

namespace {

const char kFailure[] = "数据库加载失败！请选择配置窗口后重新启动！";
const char kSuccess[] = "数据库加载成功！";

const int kConfigBoxes[] = {IDC_CONFIG_EDIT1, IDC_CONFIG_EDIT2, IDC_CONFIG_EDIT3, IDC_CONFIG_EDIT4,
                            IDC_CONFIG_EDIT5};

struct ProgramFolder {
    ScratchFolder folder;
    Text exe = folder / "Sorvalen.exe";
    Text config = folder / "config.ini";
    ProgramFolder() { CopyFileA(BuiltProgram().c_str(), exe.c_str(), FALSE); }
};

// A started program past its start-up message.
struct Session {
    RunningProgram app;
    HWND main = nullptr;
    Session(const Text& exe, const char* startMessage) : app(exe)
    {
        HWND box = app.WaitMessageBox();
        if (!box) return;
        EXPECT_EQ(MessageBoxText(box), startMessage);
        AnswerMessageBox(box);
        EXPECT_TRUE(app.WaitNoMessageBox());
        main = app.MainWindow();
    }
    // The window is shown once its controls are built and filled.
    HWND Open(int command, const char* className) const
    {
        PostMessageA(main, WM_COMMAND, command, 0);
        HWND window = app.WaitWindow(className);
        if (window) {
            EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; }));
        }
        return window;
    }
    // Answers the one message box the program shows next and gives its text.
    Text Answer() const
    {
        HWND box = app.WaitMessageBox();
        if (!box) return "<no message box>";
        EXPECT_EQ(WindowText(box), "信息：");
        const Text text = MessageBoxText(box);
        AnswerMessageBox(box);
        EXPECT_TRUE(app.WaitNoMessageBox());
        return text;
    }
};

// What a click on the button does: BN_CLICKED to its window. A posted BM_CLICK
// can be lost under Wine when the capture moves while a window is being activated.
void Click(HWND window, int id)
{
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

void SetText(HWND control, const Text& text)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                        SMTO_ABORTIFHUNG, 5000, &result);
}

std::vector<Text> Boxes(HWND window)
{
    std::vector<Text> texts;
    for (int id : kConfigBoxes) texts.push_back(WindowText(GetDlgItem(window, id)));
    return texts;
}

struct ClassCount {
    DWORD process;
    const char* className;
    int n;
};

BOOL CALLBACK CountWindow(HWND w, LPARAM p)
{
    auto* c = reinterpret_cast<ClassCount*>(p);
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    char cls[64] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (owner == c->process && lstrcmpA(cls, c->className) == 0) ++c->n;
    return TRUE;
}

int WindowsOfClass(DWORD process, const char* className)
{
    ClassCount count{process, className, 0};
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&count));
    return count.n;
}

// The file name field of an open-file dialog: cmb13 (1148), an edit box itself or
// the edit inside a combo box (Wine nests it in a ComboBoxEx32 and a ComboBox).
HWND FileNameEdit(HWND dialog)
{
    HWND field = GetDlgItem(dialog, 1148);
    for (int depth = 0; field && depth < 3; ++depth) {
        char cls[32] = {};
        GetClassNameA(field, cls, sizeof cls);
        if (lstrcmpiA(cls, "Edit") == 0) return field;
        field = GetWindow(field, GW_CHILD);
        while (field && GetDlgCtrlID(field) != 1148 && GetDlgCtrlID(field) != 1001)
            field = GetWindow(field, GW_HWNDNEXT);
    }
    return GetDlgItem(dialog, 1152);  // edt1 of older layouts
}

struct DialogSearch {
    DWORD process;
    HWND found;
};

BOOL CALLBACK MatchFileDialog(HWND w, LPARAM p)
{
    auto* s = reinterpret_cast<DialogSearch*>(p);
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    char cls[16] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (owner == s->process && lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(w) && FileNameEdit(w)) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

// The open-file dialog of the process (a dialog with a file name field).
HWND WaitFileDialog(const RunningProgram& app, int timeoutMs = 20000)
{
    DialogSearch s{app.Id(), nullptr};
    WaitUntil(
        [&] {
            EnumWindows(MatchFileDialog, reinterpret_cast<LPARAM>(&s));
            return s.found != nullptr;
        },
        timeoutMs);
    return s.found;
}

// Clicks a "选择" button of the configuration window and answers its dialog:
// Cancel when `path` is empty, otherwise OK with `path` typed as the file name.
// Gives the file name the dialog showed when it opened.
Text ChooseFile(const Session& s, HWND config, int button, const Text& path)
{
    Click(config, button);
    HWND dialog = WaitFileDialog(s.app);
    EXPECT_NE(dialog, nullptr);
    if (!dialog) return "<no dialog>";
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), config);
    HWND edit = FileNameEdit(dialog);
    WaitUntil([&] { return IsWindowVisible(edit) != FALSE; }, 5000);
    const Text shown = WindowText(edit);
    EXPECT_EQ(WindowText(GetDlgItem(dialog, 1136)), "文本 文档(*.txt)");  // cmb1, the filter
    if (path.empty()) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    } else {
        SetText(edit, path);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    }
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    return shown;
}

TEST(ConfigWindowProgram, SavedValuesComeBackInTheirBoxesAtTheNextStart)
{
    ProgramFolder p;
    const std::vector<Text> values = {p.folder / "size.txt", p.folder / "md5.txt",
                                      p.folder / "附属.txt", p.folder / "registry.txt",
                                      p.folder / "结果"};
    {
        Session s(p.exe, kFailure);
        ASSERT_NE(s.main, nullptr);
        HWND config = s.Open(IDM_CONFIG_WINDOW, CONFIG_WINDOW_CLASS);
        ASSERT_NE(config, nullptr);
        EXPECT_EQ(WindowText(config), "配置");
        EXPECT_EQ(Boxes(config), std::vector<Text>(5, ""));
        for (int n = 0; n < 5; ++n) SetText(GetDlgItem(config, kConfigBoxes[n]), values[n]);

        // Opening again brings the same window forward with the boxes as typed.
        SetForegroundWindow(s.main);
        EXPECT_EQ(s.Open(IDM_CONFIG_WINDOW, CONFIG_WINDOW_CLASS), config);
        EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == config; }, 5000));
        EXPECT_EQ(WindowsOfClass(s.app.Id(), CONFIG_WINDOW_CLASS), 1);
        EXPECT_EQ(Boxes(config), values);

        Click(config, IDC_CONFIG_BUTTON6);
        EXPECT_EQ(s.Answer(), "数据已经保存！");
        PostMessageA(s.main, WM_CLOSE, 0, 0);
        EXPECT_TRUE(s.app.WaitExit(10000));
    }
    // The five sections, in their order and with their exact names.
    const std::string written = ReadBytes(p.config);
    const char* sections[] = {"[文件大小数据]\r\n数据=", "[文件 MD5数据]\r\n数据=", "[附属文件数据]\r\n数据=",
                              "[注册表  数据]\r\n数据=", "[保存结果位置]\r\n数据="};
    std::size_t at = 0;
    for (int n = 0; n < 5; ++n) {
        const std::size_t found = written.find(sections[n] + values[n] + "\r\n", at);
        ASSERT_NE(found, std::string::npos) << sections[n] << "\n" << written;
        at = found;
    }

    Session again(p.exe, kSuccess);
    ASSERT_NE(again.main, nullptr);
    HWND config = again.Open(IDM_CONFIG_WINDOW, CONFIG_WINDOW_CLASS);
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(Boxes(config), values);
}

TEST(ConfigWindowProgram, OneEmptyBoxRefusesToSave)
{
    ProgramFolder p;
    Session s(p.exe, kFailure);
    ASSERT_NE(s.main, nullptr);
    HWND config = s.Open(IDM_CONFIG_WINDOW, CONFIG_WINDOW_CLASS);
    ASSERT_NE(config, nullptr);
    for (int id : {IDC_CONFIG_EDIT1, IDC_CONFIG_EDIT2, IDC_CONFIG_EDIT4, IDC_CONFIG_EDIT5})
        SetText(GetDlgItem(config, id), "x");
    Click(config, IDC_CONFIG_BUTTON6);
    EXPECT_EQ(s.Answer(), "数据不完整！");
    EXPECT_EQ(GetFileAttributesA(p.config.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(ConfigWindowProgram, TheFileDialogsCancelGivesTheLastConfirmedPath)
{
    ProgramFolder p;
    const Text size = p.folder.Put("size.txt", "#1");
    Session s(p.exe, kFailure);
    ASSERT_NE(s.main, nullptr);
    HWND config = s.Open(IDM_CONFIG_WINDOW, CONFIG_WINDOW_CLASS);
    ASSERT_NE(config, nullptr);
    HWND box1 = GetDlgItem(config, IDC_CONFIG_EDIT1), box2 = GetDlgItem(config, IDC_CONFIG_EDIT2);
    SetText(box1, "junk");
    SetText(box2, "junk");

    // Nothing confirmed yet: Cancel empties the box.
    EXPECT_EQ(ChooseFile(s, config, IDC_CONFIG_BUTTON1, ""), "");
    EXPECT_TRUE(WaitUntil([&] { return WindowText(box1).empty(); }, 5000));

    ChooseFile(s, config, IDC_CONFIG_BUTTON1, size);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(box1) == size; }, 5000)) << WindowText(box1);

    // 按钮2's dialog opens on the same file name; Cancel gives that path.
    const Text shown = ChooseFile(s, config, IDC_CONFIG_BUTTON2, "");
    EXPECT_NE(shown.find("size.txt"), Text::npos) << shown;
    EXPECT_TRUE(WaitUntil([&] { return WindowText(box2) == size; }, 5000)) << WindowText(box2);
    EXPECT_EQ(WindowText(box1), size);

    // The program's folder is still the current directory: relative database
    // paths saved now still load from it.
    SetText(box1, "size.txt");
    for (int id : {IDC_CONFIG_EDIT2, IDC_CONFIG_EDIT3, IDC_CONFIG_EDIT4, IDC_CONFIG_EDIT5})
        SetText(GetDlgItem(config, id), "none");
    Click(config, IDC_CONFIG_BUTTON6);
    EXPECT_EQ(s.Answer(), "数据已经保存！");
    EXPECT_NE(ReadBytes(p.config).find("数据=size.txt\r\n"), std::string::npos);
}

TEST(ToolWindowProgram, EitherMenuEntryReplacesTheToolWindowByAFreshOne)
{
    ProgramFolder p;
    Session s(p.exe, kFailure);
    ASSERT_NE(s.main, nullptr);
    HWND tool = s.Open(IDM_FILE_SIZE, TOOL_WINDOW_CLASS);
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(WindowText(tool), "工具窗口");
    const Rect outer = WindowRectOf(tool);
    EXPECT_EQ(outer, (Rect{50, 50, 390, 288}));
    for (int command : {IDM_FILE_MD5, IDM_FILE_SIZE}) {
        SCOPED_TRACE(command);
        for (int id : {IDC_TOOL_EDIT1, IDC_TOOL_EDIT4, IDC_TOOL_EDIT5, IDC_TOOL_COMBO1})
            SetText(GetDlgItem(tool, id), "typed");
        PostMessageA(s.main, WM_COMMAND, command, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(tool); }));
        HWND fresh = s.app.WaitWindow(TOOL_WINDOW_CLASS);
        ASSERT_NE(fresh, nullptr);
        EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(fresh) != FALSE; }));
        EXPECT_EQ(WindowsOfClass(s.app.Id(), TOOL_WINDOW_CLASS), 1);
        for (int id : {IDC_TOOL_EDIT1, IDC_TOOL_EDIT4, IDC_TOOL_EDIT5, IDC_TOOL_COMBO1})
            EXPECT_EQ(WindowText(GetDlgItem(fresh, id)), "") << id;
        tool = fresh;
    }
    Click(tool, IDC_TOOL_BUTTON3);  // 退出
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(tool); }));
    EXPECT_TRUE(IsWindow(s.main));
}

// The picker opens on C:\WINDOWS; its files are the listed folder.
std::vector<Text> FilesOf(const Text& folder)
{
    std::vector<Text> names;
    WIN32_FIND_DATAA e;
    HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &e);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(e.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(e.cFileName);
    } while (FindNextFileA(search, &e));
    FindClose(search);
    return names;
}

TEST(ToolWindowProgram, EntriesOfAListedFolderReachTheFourDatabases)
{
    ProgramFolder p;
    const Text db = p.folder / "db";
    CreateDirectoryA(db.c_str(), nullptr);
    p.folder.Put("config.ini", "[文件大小数据]\r\n数据=db\\size.txt\r\n"
                               "[文件 MD5数据]\r\n数据=db\\md5.txt\r\n"
                               "[附属文件数据]\r\n数据=db\\attached.txt\r\n"
                               "[注册表  数据]\r\n数据=db\\registry.txt\r\n");
    p.folder.Put("db\\size.txt", "#1024");
    Session s(p.exe, kSuccess);
    ASSERT_NE(s.main, nullptr);
    HWND tool = s.Open(IDM_FILE_MD5, TOOL_WINDOW_CLASS);
    ASSERT_NE(tool, nullptr);

    Click(tool, IDC_TOOL_BUTTON1);
    HWND picker = WaitFolderDialog(s.app);
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(GetWindow(picker, GW_OWNER), s.main);
    PostMessageA(picker, WM_COMMAND, IDOK, 0);
    HWND combo = GetDlgItem(tool, IDC_TOOL_COMBO1);
    const Text folder = "C:\\windows";
    const std::vector<Text> files = FilesOf(folder);
    ASSERT_GE(files.size(), 2u);
    ASSERT_TRUE(WaitUntil([&] {
        return SendMessageA(combo, CB_GETCOUNT, 0, 0) == static_cast<LRESULT>(files.size());
    }));
    EXPECT_EQ(lstrcmpiA(WindowText(GetDlgItem(tool, IDC_TOOL_EDIT1)).c_str(), folder.c_str()), 0);

    // Select the second listed file as the user does.
    const Text main = files[1];
    SendMessageA(combo, CB_SETCURSEL, 1, 0);
    PostMessageA(tool, WM_COMMAND, MAKEWPARAM(IDC_TOOL_COMBO1, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    const std::string content = ReadBytes(folder + "\\" + main);
    const Text md5 = Md5Text(content.data(), content.size());
    EXPECT_TRUE(WaitUntil([&] { return WindowText(GetDlgItem(tool, IDC_TOOL_EDIT3)) == md5; }));
    EXPECT_EQ(WindowText(GetDlgItem(tool, IDC_TOOL_EDIT2)), std::to_string(content.size()));
    EXPECT_EQ(WindowText(combo), main);

    SetText(GetDlgItem(tool, IDC_TOOL_EDIT4), "报告");
    SetText(GetDlgItem(tool, IDC_TOOL_EDIT5), "HKEY_LOCAL_MACHINE\\Software\\X\\v\r\nSoftware\\Y\\w");
    Click(tool, IDC_TOOL_BUTTON2);
    EXPECT_EQ(s.Answer(), "写入成功！下次运行生效！");

    Text attached;
    for (const Text& name : files)
        if (name != main) attached += "\r\n" + name;
    EXPECT_EQ(ReadBytes(db + "\\size.txt"), "#1024#" + std::to_string(content.size()));
    EXPECT_EQ(ReadBytes(db + "\\md5.txt"), md5 + "|报告\r\n\r\n");
    EXPECT_EQ(ReadBytes(db + "\\attached.txt"), attached);
    EXPECT_EQ(ReadBytes(db + "\\registry.txt"),
              "HKEY_LOCAL_MACHINE\\Software\\X\\v|报告\r\nSoftware\\Y\\w|报告\r\n");
    EXPECT_EQ(GetFileAttributesA("c:\\windows\\zhucebiaod4wa5dwa4dwa21c5adw.txt"),
              INVALID_FILE_ATTRIBUTES);
}

}  // namespace
