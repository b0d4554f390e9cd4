// Waits for a message box on the desktop and presses its OK button; for scripts
// that take screenshots. Usage: answer_box [timeout seconds]
#include <windows.h>

#include <cstdlib>

static BOOL CALLBACK FindBox(HWND window, LPARAM found)
{
    char cls[16] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

int main(int argc, char** argv)
{
    const int timeoutMs = (argc > 1 ? std::atoi(argv[1]) : 20) * 1000;
    for (int waited = 0; waited < timeoutMs; waited += 50) {
        HWND box = nullptr;
        EnumWindows(FindBox, reinterpret_cast<LPARAM>(&box));
        if (box) {
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
            return 0;
        }
        Sleep(50);
    }
    return 1;
}
