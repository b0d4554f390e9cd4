// Clock and pacing.
#include <windows.h>

#include <gtest/gtest.h>

#include "core/system.h"

namespace {

int dispatched = 0;

LRESULT CALLBACK CountingProcedure(HWND window, UINT message, WPARAM w, LPARAM l)
{
    if (message == WM_APP) ++dispatched;
    return DefWindowProcA(window, message, w, l);
}

TEST(ProcessPendingMessages, DispatchesWhatIsQueuedAndLeavesTheQuitMessage)
{
    WNDCLASSA type = {};
    type.lpfnWndProc = CountingProcedure;
    type.hInstance = GetModuleHandleA(nullptr);
    type.lpszClassName = "SorvalenPacingTest";
    ASSERT_TRUE(RegisterClassA(&type));
    HWND window = CreateWindowExA(0, type.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, type.hInstance, nullptr);
    ASSERT_TRUE(window);

    ProcessPendingMessages();  // an empty queue: returns at once
    for (int i = 0; i < 3; ++i) PostMessageA(window, WM_APP, 0, 0);
    PostQuitMessage(7);
    ProcessPendingMessages();
    EXPECT_EQ(dispatched, 3);
    ProcessPendingMessages();  // the quit message still blocks the way
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, UINT(WM_QUIT));
    EXPECT_EQ(message.wParam, WPARAM(7));
    DestroyWindow(window);
}

TEST(CurrentDateTime, IsTheLocalTimeToTheSecond)
{
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    DateTime now = CurrentDateTime();
    GetLocalTime(&after);
    auto same = [&](const SYSTEMTIME& t) {
        return now.year == t.wYear && now.month == t.wMonth && now.day == t.wDay &&
               now.hour == t.wHour && now.minute == t.wMinute && now.second == t.wSecond;
    };
    EXPECT_TRUE(same(before) || same(after));
}

TEST(SleepMs, ANegativeTimeCountsAsNone)
{
    SleepMs(-5);
    SleepMs(0);
    SleepMs(1);
}

}  // namespace
