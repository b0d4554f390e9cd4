/* The subclass every skinned window gets: colours through the WM_CTLCOLOR*
   messages, the skin font for controls, skin backgrounds, skinned push buttons. */
#include "skin/library/skin.h"

enum { kSubclassId = 0x534845 };

/* Windows that draw themselves entirely or are never seen. */
static const char* const kUnskinnedClasses[] = {
    "#32768", "#32769", "#32771", "#32772", "tooltips_class32", "IME", "MSCTFIME UI", "SysShadow",
};

static int HasClass(HWND window, const char* name)
{
    char actual[64];
    return GetClassNameA(window, actual, sizeof actual) > 0 && lstrcmpiA(actual, name) == 0;
}

static int IsChildWindow(HWND window) { return (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0; }

static int SameFace(const LOGFONTA* a, const LOGFONTA* b)
{
    return a->lfHeight == b->lfHeight && a->lfWeight == b->lfWeight && a->lfItalic == b->lfItalic &&
           a->lfFaceName[0] && lstrcmpiA(a->lfFaceName, b->lfFaceName) == 0;
}

/* A font a control gets without the application choosing one for it: none, a
   stock font, the font of its dialog, or a font made like the system's message
   box font or its GUI font. Those give way to the skin font when set later; a
   font the application made for the control (another face or size) stays. */
static int IsDefaultFont(HFONT font, HWND control)
{
    static const int kStockFonts[] = {SYSTEM_FONT, DEFAULT_GUI_FONT, ANSI_VAR_FONT, DEVICE_DEFAULT_FONT};
    LOGFONTA described;
    HWND parent;
    unsigned i;
    if (!font) return 1;
    if (IsSkinFont(font)) return g_look->font != font;
    for (i = 0; i < sizeof kStockFonts / sizeof kStockFonts[0]; ++i)
        if (font == (HFONT)GetStockObject(kStockFonts[i])) return 1;
    parent = GetParent(control);
    if (parent && HasClass(parent, "#32770") && (HFONT)SendMessageA(parent, WM_GETFONT, 0, 0) == font)
        return 1;
    return GetObjectA(font, sizeof described, &described) == sizeof described &&
           (SameFace(&described, &g_look->messageFont) || SameFace(&described, &g_look->guiFont));
}

static int IsDefaultBrush(HBRUSH brush)
{
    LOGBRUSH described;
    if (!brush) return 1;
    if (brush == GetSysColorBrush(COLOR_BTNFACE) || brush == GetSysColorBrush(COLOR_WINDOW)) return 1;
    if (GetObjectA(brush, sizeof described, &described) != sizeof described) return 0;
    return described.lbStyle == BS_SOLID &&
           (described.lbColor == GetSysColor(COLOR_BTNFACE) || described.lbColor == GetSysColor(COLOR_WINDOW));
}

/* Keeps what the application chose: a text colour other than the system's and a
   brush of its own; replaces the system's defaults with the skin's. */
static LRESULT SkinControlColours(UINT message, HDC dc, HWND control, LRESULT chosen)
{
    const SkinLook* look = g_look;
    int back, text;
    COLORREF current = GetTextColor(dc);
    if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX ||
        (message == WM_CTLCOLORSTATIC && HasClass(control, "Edit"))) {
        back = kSkinEditBack;
        text = kSkinEditText;
    } else {
        back = message == WM_CTLCOLORDLG ? kSkinWindowBack : kSkinControlBack;
        text = kSkinText;
    }
    if (current == GetSysColor(COLOR_WINDOWTEXT) || current == GetSysColor(COLOR_BTNTEXT))
        SetTextColor(dc, look->colours[text]);
    if (!IsDefaultBrush((HBRUSH)chosen)) return chosen;
    SetBkColor(dc, look->colours[back]);
    return (LRESULT)look->brushes[back];
}

/* Top-level windows and the application's own child windows whose class asks for
   the system's face or window colour; dialogs erase through WM_CTLCOLORDLG. */
static int ErasesToSkin(HWND window)
{
    ULONG_PTR brush = GetClassLongPtrA(window, GCLP_HBRBACKGROUND);
    if (IsChildWindow(window) && (HMODULE)GetClassLongPtrA(window, GCLP_HMODULE) != GetModuleHandleA(0)) return 0;
    if (brush == 0 || HasClass(window, "#32770")) return 0;
    return brush == COLOR_BTNFACE + 1 || brush == COLOR_WINDOW + 1 || IsDefaultBrush((HBRUSH)brush);
}

/* At attach time every existing control takes the skin font; a new one takes it
   after WM_CREATE, and keeps a font the application sets afterwards. */
static void ApplySkinLook(HWND window, int existing)
{
    const SkinLook* look = g_look;
    HFONT font = (HFONT)SendMessageA(window, WM_GETFONT, 0, 0);
    if (IsChildWindow(window) && font != look->font && (existing || IsDefaultFont(font, window)))
        SendMessageA(window, WM_SETFONT, (WPARAM)look->font, FALSE);
    if (HasClass(window, PROGRESS_CLASSA)) {
        SendMessageA(window, PBM_SETBARCOLOR, 0, (LPARAM)look->colours[kSkinSelection]);
        SendMessageA(window, PBM_SETBKCOLOR, 0, (LPARAM)look->colours[kSkinProgressBack]);
    }
}

/* `isButton`: the window is of the Button class, whose push buttons the skin draws. */
static LRESULT CALLBACK SkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                 DWORD_PTR isButton)
{
    LRESULT result;
    switch (message) {
    case WM_NCDESTROY:
        ForgetButton(window);
        RemoveWindowSubclass(window, SkinProc, id);
        return DefSubclassProc(window, message, wParam, lParam);
    case WM_CREATE:
        result = DefSubclassProc(window, message, wParam, lParam);
        if (result != -1) ApplySkinLook(window, 0);
        return result;
    case WM_SETFONT:
        if (IsChildWindow(window) && IsDefaultFont((HFONT)wParam, window)) wParam = (WPARAM)g_look->font;
        break;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        result = DefSubclassProc(window, message, wParam, lParam);
        return SkinControlColours(message, (HDC)wParam, (HWND)lParam, result);
    case WM_ERASEBKGND:
        if (ErasesToSkin(window)) {
            RECT area;
            GetClientRect(window, &area);
            FillRect((HDC)wParam, &area, g_look->brushes[kSkinWindowBack]);
            return 1;
        }
        break;
    }
    if (isButton && IsPushButton(window)) return SkinButtonMessage(window, message, wParam, lParam);
    return DefSubclassProc(window, message, wParam, lParam);
}

void SkinWindow(HWND window, int existing)
{
    unsigned i;
    char name[64];
    if (!g_look || GetClassNameA(window, name, sizeof name) == 0) return;
    for (i = 0; i < sizeof kUnskinnedClasses / sizeof kUnskinnedClasses[0]; ++i)
        if (lstrcmpiA(name, kUnskinnedClasses[i]) == 0) return;
    if (!SetWindowSubclass(window, SkinProc, kSubclassId, lstrcmpiA(name, "Button") == 0)) return;
    if (existing) ApplySkinLook(window, 1);
}
