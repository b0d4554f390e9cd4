// Posts a message to the first visible-or-hidden top-level window of a class,
// waiting for the window to exist; for scripts that take screenshots.
// Usage: post_message CLASS MESSAGE WPARAM LPARAM [timeout seconds]   (numbers: C notation)
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 5) return 2;
    const UINT message = static_cast<UINT>(std::strtoul(argv[2], nullptr, 0));
    const WPARAM wParam = std::strtoull(argv[3], nullptr, 0);
    const LPARAM lParam = static_cast<LPARAM>(std::strtoll(argv[4], nullptr, 0));
    const int timeoutMs = (argc > 5 ? std::atoi(argv[5]) : 20) * 1000;
    for (int waited = 0; waited < timeoutMs; waited += 50) {
        if (HWND window = FindWindowA(argv[1], nullptr))
            return PostMessageA(window, message, wParam, lParam) ? 0 : 1;
        Sleep(50);
    }
    return 1;
}
