// MainWindow in this process, where its menu can be read.
#include <windows.h>

#include <gtest/gtest.h>

#include "core/program_state.h"
#include "core/stores.h"
#include "ui/main_window.h"
#include "ui/main_window_ids.h"

namespace {

bool Checked(HWND window, int id)
{
    return (GetMenuState(GetMenu(window), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

TEST(MainWindowMenu, RegistryToggleFlipsItsCheckMark)
{
    ProgramState state;
    Stores stores;
    MainWindow window(state, stores);
    ASSERT_TRUE(window.Create(nullptr));
    HWND hwnd = window.Handle();
    EXPECT_FALSE(window.DeletesRegistryValues());
    const bool expected[] = {true, false, true, false};
    for (bool after : expected) {
        SendMessageA(hwnd, WM_COMMAND, IDM_CLEAR_REGISTRY, 0);
        EXPECT_EQ(window.DeletesRegistryValues(), after);
        EXPECT_EQ(Checked(hwnd, IDM_CLEAR_REGISTRY), after);
    }
    DestroyWindow(hwnd);
}

TEST(MainWindowMenu, MenuBarHoldsItsFourMenusInOrder)
{
    ProgramState state;
    Stores stores;
    MainWindow window(state, stores);
    ASSERT_TRUE(window.Create(nullptr));
    HMENU bar = GetMenu(window.Handle());
    const char* titles[] = {"工具", "功能", "配置", "关于"};
    ASSERT_EQ(GetMenuItemCount(bar), 4);
    for (int i = 0; i < 4; ++i) {
        char text[64] = {};
        GetMenuStringA(bar, i, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, titles[i]);
    }
    struct Entry {
        int menu, position, id;
        const char* caption;
    } entries[] = {
        {0, 0, IDM_FILE_SIZE, "[取文件尺寸]"},
        {0, 1, IDM_FILE_MD5, "[取文件 MD5]"},
        {0, 2, IDM_TASK_MANAGER, "[任务管理器]"},
        {1, 0, IDM_CLEAR_REGISTRY, "[清除注册表] (清除程序所占用的注册表项)"},
        {2, 0, IDM_CONFIG_WINDOW, "配置窗口"},
        {3, 0, IDM_ABOUT, "关于软件"},
    };
    for (const Entry& e : entries) {
        SCOPED_TRACE(e.caption);
        HMENU sub = GetSubMenu(bar, e.menu);
        EXPECT_EQ(static_cast<int>(GetMenuItemID(sub, e.position)), e.id);
        char text[128] = {};
        GetMenuStringA(sub, e.position, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, e.caption);
        const UINT state = GetMenuState(sub, e.position, MF_BYPOSITION);
        EXPECT_FALSE(state & (MF_CHECKED | MF_GRAYED | MF_DISABLED));
    }
    DestroyWindow(window.Handle());
}

}  // namespace
