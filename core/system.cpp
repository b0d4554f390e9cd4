#include "core/system.h"

#include <windows.h>

DateTime CurrentDateTime()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    DateTime result;
    result.year = now.wYear;
    result.month = now.wMonth;
    result.day = now.wDay;
    result.hour = now.wHour;
    result.minute = now.wMinute;
    result.second = now.wSecond;
    return result;
}

void SleepMs(int ms) { Sleep(ms < 0 ? 0 : static_cast<DWORD>(ms)); }

void ProcessPendingMessages()
{
    MSG message;
    // Look before taking, so a waiting WM_QUIT stays for the message loop.
    while (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
        if (message.message == WM_QUIT) return;
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return;
        if (message.message == WM_QUIT) {  // slipped in between the two looks
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
