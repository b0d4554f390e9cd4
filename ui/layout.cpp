#include "ui/layout.h"

#include <commctrl.h>

static const char* ClassOf(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Label: return "STATIC";
    case ControlKind::Edit: return "EDIT";
    case ControlKind::Progress: return PROGRESS_CLASSA;
    default: return "BUTTON";
    }
}

static DWORD StyleOf(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Group: return BS_GROUPBOX;
    case ControlKind::Radio: return BS_AUTORADIOBUTTON;
    case ControlKind::Check: return BS_AUTOCHECKBOX | WS_TABSTOP;
    case ControlKind::Button: return BS_PUSHBUTTON | WS_TABSTOP;
    case ControlKind::Label: return SS_LEFT | SS_NOPREFIX;
    case ControlKind::Edit: return ES_AUTOHSCROLL | ES_LEFT | WS_TABSTOP;
    case ControlKind::Progress: return 0;
    }
    return 0;
}

bool BuildControls(HWND parent, const ControlSpec* specs, int count, HFONT font)
{
    bool all = true;
    for (int i = 0; i < count; ++i) {
        const ControlSpec& s = specs[i];
        int x = s.x, y = s.y;
        if (s.group) {
            for (int g = 0; g < count; ++g)
                if (specs[g].id == s.group) { x += specs[g].x; y += specs[g].y; }
        }
        DWORD exStyle = s.kind == ControlKind::Edit ? WS_EX_CLIENTEDGE : 0;
        HWND control = CreateWindowExA(
            exStyle, ClassOf(s.kind), s.caption ? s.caption : "",
            WS_CHILD | WS_VISIBLE | StyleOf(s.kind) | s.extraStyle, x, y, s.width, s.height,
            parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(s.id)),
            GetModuleHandleA(nullptr), nullptr);
        if (!control) { all = false; continue; }
        if (font) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    return all;
}
