// The task manager of the real program: its list, opening twice, refreshing,
// ending a helper process and the path of a double-clicked one.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "process/task_manager_ids.h"
#include "tests/e2e/driver.h"
#include "tests/win/test_support.h"
#include "ui/main_window_ids.h"

namespace {

Text TestFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    Text p = path;
    return p.substr(0, p.find_last_of('\\'));
}

// A copy of idle_helper.exe under a name of its own, started from a scratch folder.
class Helper {
public:
    Helper(const ScratchFolder& folder, const Text& stem)
    {
        name_ = stem + "-" + std::to_string(GetCurrentProcessId()) + ".exe";
        path_ = folder / name_;
        CopyFileA((TestFolder() + "\\..\\win\\idle_helper.exe").c_str(), path_.c_str(), FALSE);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        Text command = "\"" + path_ + "\" --seconds 60";
        CreateProcessA(path_.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &info_);
        Sleep(300);
    }
    ~Helper()
    {
        if (!info_.hProcess) return;
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 10000);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    bool Running() const { return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
    bool EndsWithCodeZero() const
    {
        DWORD code = 1;
        return WaitForSingleObject(info_.hProcess, 10000) == WAIT_OBJECT_0 &&
               GetExitCodeProcess(info_.hProcess, &code) && code == 0;
    }
    const Text& Name() const { return name_; }
    const Text& Path() const { return path_; }

private:
    Text name_, path_;
    PROCESS_INFORMATION info_ = {};
};

struct StartedProgram {
    ScratchFolder folder;
    Text exe = folder / "Sorvalen.exe";
    std::unique_ptr<RunningProgram> app;
    HWND main = nullptr;
    StartedProgram()
    {
        CopyFileA(BuiltProgram().c_str(), exe.c_str(), FALSE);
        app = std::make_unique<RunningProgram>(exe);
        HWND box = app->WaitMessageBox();
        if (!box) return;
        AnswerMessageBox(box);
        app->WaitNoMessageBox();
        main = app->MainWindow();
    }
    HWND OpenTaskManager() const
    {
        PostMessageA(main, WM_COMMAND, IDM_TASK_MANAGER, 0);
        return app->WaitWindow(TASK_MANAGER_WINDOW_CLASS, "任务管理器");
    }
};

std::vector<Text> Rows(HWND window)
{
    HWND list = GetDlgItem(window, IDC_TM_LIST1);
    std::vector<Text> rows;
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    // Across processes Wine hands LB_GETTEXT back in UTF-16 even to SendMessageA.
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t wide[512] = {};
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide));
        char text[1024] = {};
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        rows.push_back(text);
    }
    return rows;
}

LRESULT RowOf(HWND window, const Text& name)
{
    const std::vector<Text> rows = Rows(window);
    const auto at = std::find(rows.begin(), rows.end(), name);
    return at == rows.end() ? -1 : at - rows.begin();
}

void Select(HWND window, LRESULT row)
{
    SendMessageA(GetDlgItem(window, IDC_TM_LIST1), LB_SETCURSEL, row, 0);
}

int CountTaskManagers(DWORD process)
{
    struct Count {
        DWORD process;
        int n;
    } c{process, 0};
    EnumWindows(
        [](HWND w, LPARAM param) -> BOOL {
            auto* c = reinterpret_cast<Count*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            char cls[64] = {};
            GetClassNameA(w, cls, sizeof cls);
            if (owner == c->process && lstrcmpA(cls, TASK_MANAGER_WINDOW_CLASS) == 0) ++c->n;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&c));
    return c.n;
}

// Clicks "结束进程" and answers the message it shows; gives the message's text.
Text EndSelected(const StartedProgram& p, HWND window)
{
    PostClick(GetDlgItem(window, IDC_TM_BUTTON2));
    HWND box = p.app->WaitMessageBox();
    if (!box) return "no message";
    const Text text = MessageBoxText(box);
    EXPECT_EQ(WindowText(box), "信息：");
    AnswerMessageBox(box);
    p.app->WaitNoMessageBox();
    return text;
}

TEST(TaskManager, ListsTheRunningProcessesOnceAndRefreshesOnlyOnRequest)
{
    ScratchFolder helpers;
    Helper first(helpers, "first-helper");
    ASSERT_TRUE(first.Running());
    StartedProgram p;
    ASSERT_NE(p.main, nullptr);
    HWND window = p.OpenTaskManager();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return RowOf(window, first.Name()) >= 0; }));
    EXPECT_GE(RowOf(window, "Sorvalen.exe"), 0);
    EXPECT_EQ(WindowRectOf(window).width, 308);
    EXPECT_EQ(WindowRectOf(window).height, 329);

    Helper second(helpers, "second-helper");
    ASSERT_TRUE(second.Running());
    const std::vector<Text> before = Rows(window);
    EXPECT_EQ(p.OpenTaskManager(), window);
    Sleep(300);
    EXPECT_EQ(CountTaskManagers(p.app->Id()), 1);
    EXPECT_EQ(Rows(window), before);
    EXPECT_EQ(RowOf(window, second.Name()), -1);

    Select(window, RowOf(window, first.Name()));
    PostClick(GetDlgItem(window, IDC_TM_BUTTON1));
    EXPECT_TRUE(WaitUntil([&] { return RowOf(window, second.Name()) >= 0; }));
    EXPECT_EQ(SendMessageA(GetDlgItem(window, IDC_TM_LIST1), LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_GE(RowOf(window, first.Name()), 0);
}

TEST(TaskManager, EndsTheSelectedProcessAndRefusesWithoutSelectionOrOnTheFirstRow)
{
    ScratchFolder helpers;
    Helper helper(helpers, "ended-helper");
    ASSERT_TRUE(helper.Running());
    StartedProgram p;
    ASSERT_NE(p.main, nullptr);
    HWND window = p.OpenTaskManager();
    ASSERT_NE(window, nullptr);
    const LRESULT row = RowOf(window, helper.Name());
    ASSERT_GT(row, 0);

    struct Refused {
        const char* what;
        LRESULT row;
    } refused[] = {{"no row", -1}, {"first row", 0}};
    const Text firstRow = Rows(window).front();
    for (const Refused& r : refused) {
        SCOPED_TRACE(r.what);
        Select(window, r.row);
        EXPECT_EQ(EndSelected(p, window), "未选中进程，如何终止？");
    }
    EXPECT_TRUE(helper.Running());

    Select(window, row);
    EXPECT_EQ(EndSelected(p, window), "进程已经结束！");
    EXPECT_TRUE(helper.EndsWithCodeZero());
    EXPECT_EQ(RowOf(window, helper.Name()), row);  // no refresh
    // The row is still there, its process is not.
    Select(window, row);
    EXPECT_EQ(EndSelected(p, window), "进程结束失败！看来比较顽固！");
    EXPECT_EQ(Rows(window).front(), firstRow);
}

TEST(TaskManager, DoubleClickShowsThePathOfTheProcess)
{
    ScratchFolder helpers;
    Helper helper(helpers, "shown-helper");
    ASSERT_TRUE(helper.Running());
    StartedProgram p;
    ASSERT_NE(p.main, nullptr);
    HWND window = p.OpenTaskManager();
    ASSERT_NE(window, nullptr);
    HWND label = GetDlgItem(window, IDC_TM_LABEL1);
    struct Case {
        const char* what;
        LRESULT row;
        Text path;
    } cases[] = {
        {"the helper", RowOf(window, helper.Name()), helper.Path()},
        {"no row", -1, ""},
        {"the program itself", RowOf(window, "Sorvalen.exe"), p.exe},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Select(window, c.row);
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_TM_LIST1, LBN_DBLCLK),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_TM_LIST1)));
        EXPECT_TRUE(WaitUntil([&] { return WindowText(label) == c.path; }, 5000)) << WindowText(label);
    }
}

}  // namespace
