#include "ui/layout.h"

#include <commctrl.h>

static const char* ClassOf(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Label: return "STATIC";
    case ControlKind::Edit: return "EDIT";
    case ControlKind::Progress: return PROGRESS_CLASSA;
    case ControlKind::ListBox: return "LISTBOX";
    case ControlKind::Picture: return "STATIC";
    case ControlKind::Combo: return "COMBOBOX";
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
    // Unsorted, exactly the given height, telling its parent of double-clicks.
    case ControlKind::ListBox:
        return LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;
    // Shows an icon centred, keeping its own size.
    case ControlKind::Picture: return SS_ICON | SS_CENTERIMAGE | SS_REALSIZECONTROL;
    // Drop-down with an editable text, unsorted.
    case ControlKind::Combo: return CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP;
    }
    return 0;
}

// Room for the dropped list of a combo box, below its selection field.
constexpr int kComboListHeight = 160;

static int WindowHeight(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    return r.bottom - r.top;
}

// Sizes a combo box's selection field so that the box is `height` high. What the
// field height set means differs between systems, so the result is measured.
static void FitComboField(HWND combo, int height)
{
    const LRESULT item = SendMessageA(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    if (item <= 0) return;
    LRESULT asked = item;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int now = WindowHeight(combo);
        if (now == height) return;
        asked += height - now;
        if (asked <= 0) return;
        SendMessageA(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), asked);
    }
}

bool BuildControls(HWND parent, const ControlSpec* table, int count, HFONT font)
{
    bool all = true;
    for (int i = 0; i < count; ++i) {
        const ControlSpec& s = table[i];
        int x = s.x, y = s.y;
        if (s.group) {
            for (int g = 0; g < count; ++g)
                if (table[g].id == s.group) { x += table[g].x; y += table[g].y; }
        }
        DWORD exStyle =
            s.kind == ControlKind::Edit || s.kind == ControlKind::ListBox ? WS_EX_CLIENTEDGE : 0;
        HWND control = CreateWindowExA(
            exStyle, ClassOf(s.kind), s.caption ? s.caption : "",
            WS_CHILD | WS_VISIBLE | StyleOf(s.kind) | s.extraStyle, x, y, s.width,
            s.kind == ControlKind::Combo ? s.height + kComboListHeight : s.height, parent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(s.id)), GetModuleHandleA(nullptr),
            nullptr);
        if (!control) { all = false; continue; }
        if (font) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (s.kind == ControlKind::Combo) FitComboField(control, s.height);
    }
    return all;
}
