// A process for the process tests to find and end: it waits and does nothing else.
//   idle_helper [--ready EVENT] [--window TITLE] [--seconds N]
// --ready: sets the named event once it is running (after its window exists);
// --window: owns a hidden top-level window with that title;
// --seconds: lives that long (60 by default), so a forgotten helper ends by itself.
#include <windows.h>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    const char* ready = nullptr;
    const char* title = nullptr;
    DWORD seconds = 60;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--ready")) ready = argv[i + 1];
        else if (!std::strcmp(argv[i], "--window")) title = argv[i + 1];
        else if (!std::strcmp(argv[i], "--seconds")) seconds = std::strtoul(argv[i + 1], nullptr, 10);
    }

    HWND window = nullptr;
    if (title) {
        window = CreateWindowExA(0, "STATIC", title, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        if (!window) return 2;
    }
    if (ready) {
        HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, ready);
        if (!event) return 3;
        SetEvent(event);
        CloseHandle(event);
    }

    if (!window) {
        Sleep(seconds * 1000);
        return 0;
    }
    SetTimer(nullptr, 0, seconds * 1000, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER) break;
        DispatchMessageA(&message);
    }
    DestroyWindow(window);
    return 0;
}
