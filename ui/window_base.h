// One window-procedure thunk for every window class of the program: `this` is
// stored on WM_NCCREATE and each message goes to the member handler.
#pragma once

#include <windows.h>

class BaseWindow {
public:
    virtual ~BaseWindow() = default;
    HWND Handle() const { return hwnd_; }

protected:
    // Registers the class once and creates the window with `this` attached.
    HWND CreateTopLevel(const char* className, const char* title, DWORD style, int x, int y,
                        int width, int height, HMENU menu, HBRUSH background);
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK Thunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};
