// The tray binding on a window of the test's own: procedure swap, icon,
// balloon record, the callback's mouse events, "eMenu", restoring.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/numbers.h"
#include "core/program.h"
#include "ui/main_window_ids.h"
#include "ui/tray.h"

namespace {

std::vector<UINT> g_seen;  // messages that reached the window's own procedure
LRESULT g_ownResult = 0;

LRESULT CALLBACK OwnProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP + 77 || message == kTrayCallbackMessage || message == WM_COMMAND ||
        message == WM_NULL)
        g_seen.push_back(message == WM_COMMAND ? 0x10000 + LOWORD(wParam) : message);
    if (message == WM_APP + 77) return g_ownResult;
    return DefWindowProcA(window, message, wParam, lParam);
}

NOTIFYICONDATAA Probe(HWND window)
{
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = window;
    data.uID = kTrayIconId;
    return data;
}
// NIM_MODIFY without flags changes nothing and succeeds only for an icon that is shown.
bool IconShown(HWND window)
{
    NOTIFYICONDATAA data = Probe(window);
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

void Pump()
{
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

class Tray : public ::testing::Test {
protected:
    void SetUp() override
    {
        ProgramState& s = TheProgram().state;
        if (!s.trayState) CreateTrayRecords(s);
        s.previousWindowProc = nullptr;
        s.trayActive = 0;
        WNDCLASSA wc = {};
        wc.lpfnWndProc = OwnProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
        wc.lpszClassName = "TrayTestWindow";
        RegisterClassA(&wc);
        HMENU bar = CreateMenu();
        HMENU tools = CreatePopupMenu();
        AppendMenuA(tools, MF_STRING, IDM_FILE_SIZE, "[取文件尺寸]");
        AppendMenuA(tools, MF_STRING, IDM_FILE_MD5, "[取文件 MD5]");
        AppendMenuA(tools, MF_STRING, IDM_TASK_MANAGER, "[任务管理器]");
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(tools), "工具");
        window = CreateWindowExA(0, "TrayTestWindow", "tray test", WS_OVERLAPPEDWINDOW, 10, 10,
                                 300, 200, nullptr, bar, wc.hInstance, nullptr);
        ShowWindow(window, SW_SHOWNORMAL);
        g_seen.clear();
    }
    void TearDown() override
    {
        UnbindTray();
        NOTIFYICONDATAA data = Probe(window);
        Shell_NotifyIconA(NIM_DELETE, &data);
        DestroyWindow(window);
    }
    WNDPROC CurrentProc() const
    {
        return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
    }
    // Minimises the window the way the main window does on WM_SIZE.
    void Minimise()
    {
        ShowWindow(window, SW_MINIMIZE);
        MinimiseToTray(window, SIZE_MINIMIZED);
    }

    HWND window = nullptr;
};

TEST_F(Tray, MinimisingHidesTheWindowAndShowsOneIconWithTheBalloonRecord)
{
    Minimise();
    ProgramState& s = TheProgram().state;
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(CurrentProc(), TrayWindowProc);
    EXPECT_EQ(s.previousWindowProc, reinterpret_cast<void*>(OwnProc));
    EXPECT_EQ(s.trayMessageId, RegisterWindowMessageA("eMenu"));
    EXPECT_EQ(s.trayActive, 1);
    EXPECT_TRUE(IconShown(window));

    const NOTIFYICONDATAA r = NotifyIconDataOf(*s.trayIconRecord);
    EXPECT_EQ(r.cbSize, NOTIFYICONDATAA_V2_SIZE);
    EXPECT_EQ(r.hWnd, window);
    EXPECT_EQ(r.uID, 1u);
    EXPECT_EQ(r.uFlags, static_cast<UINT>(NIF_INFO));  // the last call showed the balloon
    EXPECT_EQ(r.uCallbackMessage, 2000u);
    EXPECT_NE(r.hIcon, nullptr);  // the class icon stands in for an unset small icon
    EXPECT_STREQ(r.szTip, "Brenquil");
    EXPECT_STREQ(r.szInfo, "已经最小化到托盘，双击即可打开！");
    EXPECT_STREQ(r.szInfoTitle, "提示：");
    EXPECT_EQ(r.uTimeout, 0u);
    EXPECT_EQ(r.dwInfoFlags, static_cast<DWORD>(NIIF_INFO));
    EXPECT_EQ(s.trayIconRecord->field7.size(), 128u);
    EXPECT_EQ(s.trayIconRecord->field10.size(), 256u);
    EXPECT_EQ(s.trayIconRecord->field12.size(), 64u);
}

TEST_F(Tray, ASecondReportWhileInTheTrayKeepsTheOwnProcedureAsPredecessorAndOneIcon)
{
    Minimise();
    MinimiseToTray(window, SIZE_MINIMIZED);
    EXPECT_TRUE(BindTray(window));
    EXPECT_EQ(TheProgram().state.previousWindowProc, reinterpret_cast<void*>(OwnProc));
    EXPECT_EQ(CurrentProc(), TrayWindowProc);
    // The platform refuses a second icon of the same identifier: one is there, and one only
    // comes back after a delete.
    NOTIFYICONDATAA data = Probe(window);
    EXPECT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
    EXPECT_FALSE(IconShown(window));

    // Messages still reach the own procedure, with its result.
    g_ownResult = 1234;
    EXPECT_EQ(SendMessageA(window, WM_APP + 77, 0, 0), 1234);
    EXPECT_EQ(g_seen, std::vector<UINT>{WM_APP + 77});
}

TEST_F(Tray, ARefusedIconLeavesTheWindowShownWithItsOwnProcedure)
{
    // An icon of the same window and identifier already exists: NIM_ADD fails.
    NOTIFYICONDATAA data = Probe(window);
    data.uFlags = NIF_TIP;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
    ShowWindow(window, SW_MINIMIZE);
    MinimiseToTray(window, SIZE_MINIMIZED);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(IsIconic(window));
    EXPECT_EQ(CurrentProc(), OwnProc);
    EXPECT_FALSE(TrayBound());
}

TEST_F(Tray, EMenuAddsTheIconAgainWithoutABalloon)
{
    Minimise();
    NOTIFYICONDATAA data = Probe(window);
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
    SendMessageA(window, RegisterWindowMessageA("eMenu"), 0, 0);
    EXPECT_TRUE(IconShown(window));
    EXPECT_EQ(TheProgram().state.trayIconRecord->field4, NIF_MESSAGE | NIF_ICON | NIF_TIP);
    EXPECT_FALSE(IsWindowVisible(window));
}

TEST_F(Tray, DoubleClickRestoresTheWindowRemovesTheIconAndGivesTheProcedureBack)
{
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        Minimise();
        ASSERT_TRUE(IconShown(window));
        g_seen.clear();
        // Mouse moves and a left click change nothing, and are passed on.
        SendMessageA(window, kTrayCallbackMessage, kTrayIconId, WM_MOUSEMOVE);
        SendMessageA(window, kTrayCallbackMessage, kTrayIconId, WM_LBUTTONDOWN);
        EXPECT_FALSE(IsWindowVisible(window));
        SendMessageA(window, kTrayCallbackMessage, kTrayIconId, WM_LBUTTONDBLCLK);
        EXPECT_EQ(g_seen, std::vector<UINT>(3, kTrayCallbackMessage));
        EXPECT_TRUE(IsWindowVisible(window));
        EXPECT_FALSE(IsIconic(window));
        EXPECT_EQ(CurrentProc(), OwnProc);
        EXPECT_FALSE(IconShown(window));
        EXPECT_EQ(TheProgram().state.trayActive, 1);  // never cleared
    }
}

TEST_F(Tray, DestroyingTheWindowInTheTrayRemovesTheIcon)
{
    Minimise();
    ASSERT_TRUE(IconShown(window));
    DestroyWindow(window);
    EXPECT_FALSE(IconShown(window));
    TheProgram().state.previousWindowProc = nullptr;
}

// The popup: read and answered from a timer while TrackPopupMenu runs its loop.
std::vector<Text> g_entries;
std::vector<UINT> g_ids;
int g_choose = 0;  // 1-based entry to choose, 0: close the popup

void CALLBACK AnswerPopup(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND popup = FindWindowA("#32768", nullptr);
    if (!popup || !IsWindowVisible(popup)) return;
    KillTimer(nullptr, timer);
    auto menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[128] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        g_entries.push_back(text);
        g_ids.push_back(GetMenuItemID(menu, i));
    }
    for (int i = 0; i < g_choose; ++i) PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(popup, WM_KEYDOWN, g_choose ? VK_RETURN : VK_ESCAPE, 0);
}

TEST_F(Tray, RightClickShowsTheToolEntriesAndAChoiceReachesTheHiddenWindow)
{
    Minimise();
    g_entries.clear();
    g_ids.clear();
    g_seen.clear();
    g_choose = 3;
    SetTimer(nullptr, 0, 50, AnswerPopup);
    SendMessageA(window, kTrayCallbackMessage, kTrayIconId, WM_RBUTTONDOWN);
    Pump();
    EXPECT_EQ(g_entries, (std::vector<Text>{"[取文件尺寸]", "[取文件 MD5]", "[任务管理器]"}));
    EXPECT_EQ(g_ids, (std::vector<UINT>{IDM_FILE_SIZE, IDM_FILE_MD5, IDM_TASK_MANAGER}));
    // The choice and the WM_NULL after the popup both went through the window.
    EXPECT_NE(std::find(g_seen.begin(), g_seen.end(), 0x10000u + IDM_TASK_MANAGER), g_seen.end());
    EXPECT_NE(std::find(g_seen.begin(), g_seen.end(), static_cast<UINT>(WM_NULL)), g_seen.end());
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(CurrentProc(), TrayWindowProc);
    // The menu bar keeps its entries: the popup was a copy.
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(GetMenu(window), 0)), 3);
}

}  // namespace
