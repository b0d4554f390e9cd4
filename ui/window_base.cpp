#include "ui/window_base.h"

HWND BaseWindow::CreateTopLevel(const char* className, const char* title, DWORD style, int x,
                                int y, int width, int height, HMENU menu, HBRUSH background)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc = {};
    if (!GetClassInfoExA(instance, className, &wc)) {
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = Thunk;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
        if (!wc.hIcon) wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
        wc.hbrBackground = background;
        wc.lpszClassName = className;
        RegisterClassExA(&wc);
    }
    return CreateWindowExA(0, className, title, style, x, y, width, height, nullptr, menu,
                           instance, this);
}

LRESULT BaseWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK BaseWindow::Thunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    BaseWindow* self;
    if (message == WM_NCCREATE) {
        self = static_cast<BaseWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<BaseWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    LRESULT result;
    try {
        result = self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        result = DefWindowProcA(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}
