// The message box, answered by a second thread that finds it on screen.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "core/message.h"

namespace {

// What the answering thread saw of the box before pressing a button.
struct SeenBox {
    bool found = false;
    Text title, text;
    HWND owner = nullptr;
    unsigned buttons = 0;          // bit n set: button with identifier n is shown
    bool watchedEnabled = false;   // state of the watched window while the box was up
    bool topmost = false;
};

HWND FindBoxOfThread(DWORD thread)
{
    HWND box = nullptr;
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM found) -> BOOL {
            char name[16] = {};
            GetClassNameA(window, name, sizeof name);
            if (lstrcmpA(name, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&box));
    return box;
}

Text WindowText(HWND window)
{
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// Waits for the box of `thread`, notes what it shows, then presses `button`.
std::thread AnswerBox(DWORD thread, int button, SeenBox& seen, HWND watched = nullptr)
{
    return std::thread([=, &seen] {
        HWND box = nullptr;
        for (int i = 0; i < 1000 && !box; ++i) {
            box = FindBoxOfThread(thread);
            if (!box) Sleep(10);
        }
        if (!box) return;
        Sleep(50);  // let the box finish its set-up
        seen.found = true;
        seen.title = WindowText(box);
        seen.text = WindowText(GetDlgItem(box, 0xFFFF));
        seen.owner = GetWindow(box, GW_OWNER);
        for (int id = IDOK; id <= IDNO; ++id) {
            HWND b = GetDlgItem(box, id);
            if (b && IsWindowVisible(b)) seen.buttons |= 1u << id;
        }
        seen.topmost = (GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        if (watched) seen.watchedEnabled = IsWindowEnabled(watched) != FALSE;
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
    });
}

TEST(ShowMessage, DefaultsToOneOkButtonAndTheTitleWithAFullWidthColon)
{
    SeenBox seen;
    std::thread answer = AnswerBox(GetCurrentThreadId(), IDOK, seen);
    int result = ShowMessage("数据库加载成功！");
    answer.join();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(seen.title, "\xD0\xC5\xCF\xA2\xA3\xBA");  // 信息： in code page 936
    EXPECT_EQ(Text(kDefaultMessageTitle), "\xD0\xC5\xCF\xA2\xA3\xBA");
    EXPECT_EQ(seen.text, "\xCA\xFD\xBE\xDD\xBF\xE2\xBC\xD3\xD4\xD8\xB3\xC9\xB9\xA6\xA3\xA1");
    EXPECT_EQ(seen.owner, nullptr);
    EXPECT_EQ(seen.buttons, 1u << IDOK);
}

TEST(ShowMessage, UsesAGivenTitle)
{
    SeenBox seen;
    std::thread answer = AnswerBox(GetCurrentThreadId(), IDOK, seen);
    ShowMessage("x", 0, "提示");
    answer.join();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.title, "\xCC\xE1\xCA\xBE");
}

TEST(ShowMessage, TellsWhichButtonClosedTheBox)
{
    struct Case {
        int style, button, result;
    } cases[] = {
        {MB_OKCANCEL, IDCANCEL, 1},       {MB_ABORTRETRYIGNORE, IDABORT, 2},
        {MB_ABORTRETRYIGNORE, IDRETRY, 3}, {MB_ABORTRETRYIGNORE, IDIGNORE, 4},
        {MB_YESNO, IDYES, 5},             {MB_YESNO, IDNO, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.style) + " answered " + std::to_string(c.button));
        SeenBox seen;
        std::thread answer = AnswerBox(GetCurrentThreadId(), c.button, seen);
        int result = ShowMessage("?", c.style);
        answer.join();
        ASSERT_TRUE(seen.found);
        EXPECT_EQ(result, c.result);
    }
}

TEST(ShowMessage, IsTaskModalUnlessSystemModalIsAsked)
{
    HWND window = CreateWindowExA(0, "STATIC", "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(window);
    struct Case {
        int style;
        bool windowEnabled;
    } cases[] = {{0, false}, {MB_SYSTEMMODAL, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        SeenBox seen;
        std::thread answer = AnswerBox(GetCurrentThreadId(), IDOK, seen, window);
        ShowMessage("modal", c.style);
        answer.join();
        ASSERT_TRUE(seen.found);
        EXPECT_EQ(seen.watchedEnabled, c.windowEnabled);
        EXPECT_EQ(seen.owner, nullptr);
        EXPECT_TRUE(IsWindowEnabled(window));  // enabled again afterwards
    }
    DestroyWindow(window);
}

}  // namespace
