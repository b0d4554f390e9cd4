// The notification-area icon of the real program: minimising, the icon's
// callback, "eMenu", the popup of the tool entries.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <memory>

#include "process/task_manager_ids.h"
#include "tests/e2e/driver.h"
#include "tests/win/test_support.h"
#include "ui/main_window_ids.h"

namespace {

constexpr UINT kCallback = 2000;
constexpr UINT kIconId = 1;

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
};

NOTIFYICONDATAA Probe(HWND window)
{
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = window;
    data.uID = kIconId;
    return data;
}
// A modification without flags succeeds only for an icon the notification area shows.
bool IconShown(HWND window)
{
    NOTIFYICONDATAA data = Probe(window);
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}
bool DeleteIcon(HWND window)
{
    NOTIFYICONDATAA data = Probe(window);
    return Shell_NotifyIconA(NIM_DELETE, &data) != FALSE;
}

void SendEMenu(HWND main)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(main, RegisterWindowMessageA("eMenu"), 0, 0, SMTO_ABORTIFHUNG, 5000,
                        &result);
}
// Another process's window procedure reads as 0 under Wine, so the swap is seen by
// behaviour: only the tray's procedure answers "eMenu" by adding the icon.
bool TrayProcedureInPlace(HWND main)
{
    if (IconShown(main)) DeleteIcon(main);
    SendEMenu(main);
    return IconShown(main);
}

bool Minimise(HWND main)
{
    PostMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    return WaitUntil([&] { return !IsWindowVisible(main); });
}

void Notify(HWND main, UINT mouse)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(main, kCallback, kIconId, mouse, SMTO_ABORTIFHUNG, 5000, &result);
}

TEST(Tray, MinimiseHidesAndDoubleClickRestoresOneIconEachTime)
{
    StartedProgram p;
    ASSERT_NE(p.main, nullptr);
    const Rect place = WindowRectOf(p.main);
    EXPECT_FALSE(IconShown(p.main));
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(Minimise(p.main));
        EXPECT_TRUE(IconShown(p.main));
        EXPECT_TRUE(TrayProcedureInPlace(p.main));
        // A second minimisation report while hidden neither adds nor rebinds.
        DWORD_PTR result = 0;
        SendMessageTimeoutA(p.main, WM_SIZE, SIZE_MINIMIZED, 0, SMTO_ABORTIFHUNG, 5000, &result);
        Notify(p.main, WM_MOUSEMOVE);
        EXPECT_FALSE(IsWindowVisible(p.main));

        Notify(p.main, WM_LBUTTONDBLCLK);
        EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(p.main) && !IsIconic(p.main); }));
        EXPECT_EQ(WindowRectOf(p.main), place);
        EXPECT_FALSE(IconShown(p.main));
        EXPECT_FALSE(TrayProcedureInPlace(p.main));
    }
}

TEST(Tray, EMenuAddsTheIconAgainWhileTheWindowStaysHidden)
{
    StartedProgram p;
    ASSERT_NE(p.main, nullptr);
    ASSERT_TRUE(Minimise(p.main));
    ASSERT_TRUE(DeleteIcon(p.main));
    ASSERT_FALSE(IconShown(p.main));
    SendEMenu(p.main);
    EXPECT_TRUE(IconShown(p.main));
    EXPECT_FALSE(IsWindowVisible(p.main));
    // Re-adding keeps the binding: a double-click still restores.
    Notify(p.main, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(p.main); }));
    EXPECT_FALSE(IconShown(p.main));
}

struct PopupSearch {
    DWORD process;
    HWND found;
};
BOOL CALLBACK FindPopup(HWND window, LPARAM param)
{
    auto* s = reinterpret_cast<PopupSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char cls[16] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (owner == s->process && lstrcmpA(cls, "#32768") == 0 && IsWindowVisible(window)) {
        s->found = window;
        return FALSE;
    }
    return TRUE;
}
HWND WaitPopup(const RunningProgram& app, int timeoutMs)
{
    PopupSearch s{app.Id(), nullptr};
    WaitUntil([&] { return EnumWindows(FindPopup, reinterpret_cast<LPARAM>(&s)), s.found != nullptr; },
              timeoutMs);
    return s.found;
}

TEST(Tray, RightClickOffersTheToolEntriesAndTheTaskManagerOpensWhileHidden)
{
    StartedProgram p;
    ASSERT_NE(p.main, nullptr);
    ASSERT_TRUE(Minimise(p.main));

    PostMessageA(p.main, kCallback, kIconId, WM_LBUTTONDOWN);
    EXPECT_EQ(WaitPopup(*p.app, 500), nullptr);  // a left click shows nothing

    PostMessageA(p.main, kCallback, kIconId, WM_RBUTTONDOWN);
    HWND popup = WaitPopup(*p.app, 5000);
    ASSERT_NE(popup, nullptr);
    for (int i = 0; i < 3; ++i) PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(popup, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_NE(p.app->WaitWindow(TASK_MANAGER_WINDOW_CLASS, "任务管理器", 10000), nullptr);
    EXPECT_FALSE(IsWindowVisible(p.main));
    EXPECT_TRUE(IconShown(p.main));
}

}  // namespace
