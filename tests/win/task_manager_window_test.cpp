// TaskManagerWindow in the test's own process: layout, the process list, opening
// twice, and the details of a double-clicked process, with C:\1.ico left alone.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "process/process_lookup.h"
#include "process/task_manager_ids.h"
#include "process/task_manager_window.h"
#include "tests/win/icon_fixture.h"
#include "tests/win/test_support.h"

using namespace icon_fixture;

namespace {

Text ControlText(HWND control)
{
    char text[1024] = {};
    GetWindowTextA(control, text, sizeof text);
    return text;
}

std::vector<Text> Rows(HWND list)
{
    std::vector<Text> rows;
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[512] = {};
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        rows.push_back(text);
    }
    return rows;
}

std::vector<Text> ProcessNames()
{
    std::vector<Text> names;
    for (const ProcessEntry& e : ListProcesses()) names.push_back(e.exeName);
    return names;
}

// idle_helper copied under a name of its own, carrying the three test images.
class IconHelper {
public:
    explicit IconHelper(const ScratchFolder& folder)
    {
        name_ = "iconhelper-" + std::to_string(GetCurrentProcessId()) + ".exe";
        path_ = folder / name_;
        CopyFileA(BesideTest("idle_helper.exe").c_str(), path_.c_str(), FALSE);
        if (!AddIconGroup(path_, MAKEINTRESOURCEA(1), ThreeImages(), 1)) return;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        Text command = "\"" + path_ + "\" --seconds 60";
        if (CreateProcessA(path_.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           nullptr, &startup, &info_))
            for (int i = 0; i < 250 && ExePathOfName(name_).empty(); ++i) Sleep(20);
    }
    ~IconHelper()
    {
        if (!info_.hProcess) return;
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 10000);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    bool Running() const { return !ExePathOfName(name_).empty(); }
    const Text& Name() const { return name_; }
    const Text& Path() const { return path_; }

private:
    Text name_, path_;
    PROCESS_INFORMATION info_ = {};
};

class TaskManager : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (window.Handle()) DestroyWindow(window.Handle());
    }
    HWND Control(int id) const { return GetDlgItem(window.Handle(), id); }
    void DoubleClickRow(LRESULT row)
    {
        SendMessageA(Control(IDC_TM_LIST1), LB_SETCURSEL, row, 0);
        SendMessageA(window.Handle(), WM_COMMAND, MAKEWPARAM(IDC_TM_LIST1, LBN_DBLCLK),
                     reinterpret_cast<LPARAM>(Control(IDC_TM_LIST1)));
    }
    HICON Picture() const
    {
        return reinterpret_cast<HICON>(SendMessageA(Control(IDC_TM_PICTURE1), STM_GETICON, 0, 0));
    }

    TaskManagerWindow window;
};

TEST_F(TaskManager, OpensCentredWithItsControlsAndTheLabelFont)
{
    ASSERT_TRUE(window.Open());
    HWND w = window.Handle();
    EXPECT_EQ(ControlText(w), "任务管理器");
    RECT outer = {};
    GetWindowRect(w, &outer);
    EXPECT_EQ(outer.right - outer.left, 308);
    EXPECT_EQ(outer.bottom - outer.top, 329);
    EXPECT_NEAR(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 308) / 2, 1);
    EXPECT_NEAR(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 329) / 2, 1);
    const LONG style = GetWindowLongA(w, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));

    struct Expected {
        int id;
        const char* className;
        const char* caption;
        RECT place;
    } controls[] = {
        {IDC_TM_LIST1, "ListBox", "", {0, 0, 296, 208}},
        {IDC_TM_PICTURE1, "Static", "", {8, 216, 40, 248}},
        {IDC_TM_BUTTON1, "Button", "刷新", {56, 216, 128, 248}},
        {IDC_TM_BUTTON2, "Button", "结束进程", {136, 216, 208, 248}},
        {IDC_TM_LABEL1, "Static", "", {0, 256, 304, 304}},
    };
    for (const Expected& c : controls) {
        SCOPED_TRACE(c.id);
        HWND control = Control(c.id);
        ASSERT_NE(control, nullptr);
        char cls[32] = {};
        GetClassNameA(control, cls, sizeof cls);
        EXPECT_EQ(lstrcmpiA(cls, c.className), 0) << cls;
        EXPECT_EQ(ControlText(control), c.caption);
        RECT r = {};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_TRUE(EqualRect(&r, &c.place))
            << r.left << "," << r.top << " " << r.right << "," << r.bottom;
    }
    EXPECT_FALSE(GetWindowLongA(Control(IDC_TM_LIST1), GWL_STYLE) & LBS_SORT);
    EXPECT_EQ(Picture(), nullptr);

    LOGFONTA font = {};
    auto label = reinterpret_cast<HFONT>(SendMessageA(Control(IDC_TM_LABEL1), WM_GETFONT, 0, 0));
    ASSERT_NE(label, nullptr);
    GetObjectA(label, sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, "楷体_GB2312");
    EXPECT_EQ(font.lfHeight, -14);
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
}

TEST_F(TaskManager, ListsProcessesInSnapshotOrderAndOpeningAgainDoesNotRefresh)
{
    ASSERT_TRUE(window.Open());
    HWND list = Control(IDC_TM_LIST1);
    EXPECT_EQ(Rows(list), ProcessNames());
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);

    // A row the snapshot does not have survives a second opening, not a refresh.
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("marker"));
    SendMessageA(list, LB_SETCURSEL, 1, 0);
    const HWND first = window.Handle();
    ASSERT_TRUE(window.Open());
    EXPECT_EQ(window.Handle(), first);
    EXPECT_EQ(Rows(list).back(), "marker");

    ScratchFolder folder;
    IconHelper helper(folder);
    ASSERT_TRUE(helper.Running());
    SendMessageA(window.Handle(), WM_COMMAND, MAKEWPARAM(IDC_TM_BUTTON1, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Control(IDC_TM_BUTTON1)));
    const std::vector<Text> rows = Rows(list);
    EXPECT_EQ(rows, ProcessNames());
    EXPECT_NE(std::find(rows.begin(), rows.end(), helper.Name()), rows.end());
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
}

TEST_F(TaskManager, DoubleClickShowsIconAndPathFromMemoryLeavingC1IcoAlone)
{
    const Text fixed = "C:\\1.ico";
    const std::string someoneElses = "not ours: the program must neither replace nor delete this";
    {
        HANDLE f = CreateFileA(fixed.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(f, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(f, someoneElses.data(), static_cast<DWORD>(someoneElses.size()), &written, nullptr);
        CloseHandle(f);
    }
    ScratchFolder folder;
    IconHelper helper(folder);
    ASSERT_TRUE(helper.Running());
    ASSERT_TRUE(window.Open());
    const std::vector<Text> rows = Rows(Control(IDC_TM_LIST1));
    const auto helperRow = std::find(rows.begin(), rows.end(), helper.Name()) - rows.begin();
    ASSERT_LT(helperRow, static_cast<long long>(rows.size()));

    DoubleClickRow(helperRow);
    EXPECT_EQ(ControlText(Control(IDC_TM_LABEL1)), helper.Path());
    HICON shown = Picture();
    ASSERT_NE(shown, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(shown, &info));
    BITMAP colour = {};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, 32);  // the 32 x 32 image of the three
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    EXPECT_EQ(ReadBytes(fixed), someoneElses);

    // A process without icons: no picture, the path still shown. No row: both empty.
    const auto ownName = OwnPath().substr(OwnPath().find_last_of('\\') + 1);
    const auto ownRow = std::find(rows.begin(), rows.end(), ownName) - rows.begin();
    ASSERT_LT(ownRow, static_cast<long long>(rows.size()));
    DoubleClickRow(ownRow);
    EXPECT_EQ(Picture(), nullptr);
    EXPECT_EQ(ControlText(Control(IDC_TM_LABEL1)), OwnPath());
    DoubleClickRow(-1);
    EXPECT_EQ(Picture(), nullptr);
    EXPECT_EQ(ControlText(Control(IDC_TM_LABEL1)), "");
    EXPECT_EQ(ReadBytes(fixed), someoneElses);

    // Without a C:\1.ico none is made either.
    ASSERT_TRUE(DeleteFileA(fixed.c_str()));
    DoubleClickRow(helperRow);
    EXPECT_NE(Picture(), nullptr);
    EXPECT_EQ(GetFileAttributesA(fixed.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
