/* Push buttons drawn in the skin's colours: a flat rounded face, the text centred,
   pressed, hot, focused, default and disabled looks. */
#include "skin/library/skin.h"

/* Only one button is under the mouse at a time. */
static HWND g_hotButton;

int IsPushButton(HWND button)
{
    LONG style = GetWindowLongA(button, GWL_STYLE);
    LONG type = style & BS_TYPEMASK;
    return (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) && !(style & (BS_BITMAP | BS_ICON));
}

void ForgetButton(HWND button)
{
    if (g_hotButton == button) g_hotButton = 0;
}

static UINT TextPlacement(LONG style, UINT uiState)
{
    UINT flags = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER;
    switch (style & BS_CENTER) {
    case BS_LEFT: flags |= DT_LEFT; break;
    case BS_RIGHT: flags |= DT_RIGHT; break;
    default: flags |= DT_CENTER; break;
    }
    if (uiState & UISF_HIDEACCEL) flags |= DT_HIDEPREFIX;
    return flags;
}

static void DrawButtonText(HWND button, HDC dc, RECT area, LONG style, UINT uiState)
{
    char fixed[256];
    char* text = fixed;
    int length = GetWindowTextLengthA(button);
    UINT flags = TextPlacement(style, uiState);
    if (length <= 0) return;
    if (length >= (int)sizeof fixed) {
        text = (char*)HeapAlloc(GetProcessHeap(), 0, length + 1);
        if (!text) return;
    }
    length = GetWindowTextA(button, text, length + 1);
    if (flags & DT_WORDBREAK) {
        /* Multi-line captions: measure, then place the block vertically. */
        RECT measured = area;
        int height, room = area.bottom - area.top;
        DrawTextA(dc, text, length, &measured, flags | DT_CALCRECT);
        height = measured.bottom - measured.top;
        if ((style & BS_VCENTER) == BS_TOP) area.bottom = area.top + height;
        else if ((style & BS_VCENTER) == BS_BOTTOM) area.top = area.bottom - height;
        else if (height < room) area.top += (room - height) / 2;
    }
    DrawTextA(dc, text, length, &area, flags);
    if (text != fixed) HeapFree(GetProcessHeap(), 0, text);
}

static void PaintButton(HWND button, HDC dc)
{
    const SkinLook* look = g_look;
    RECT area, inner;
    LONG style = GetWindowLongA(button, GWL_STYLE);
    LRESULT state = SendMessageA(button, BM_GETSTATE, 0, 0);
    UINT uiState = (UINT)SendMessageA(button, WM_QUERYUISTATE, 0, 0);
    int enabled = IsWindowEnabled(button);
    int pressed = enabled && (state & BST_PUSHED);
    int focused = GetFocus() == button;
    int emphasised = enabled && ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON || focused || g_hotButton == button);
    int width = look->borderWidth + (enabled && (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON ? 1 : 0);
    int corner = 2 * look->cornerRadius;
    COLORREF border = !enabled ? look->colours[kSkinDisabledText]
                      : emphasised ? look->colours[kSkinSelection]
                                   : look->colours[kSkinButtonBorder];
    HBRUSH back = (HBRUSH)SendMessageA(GetParent(button), WM_CTLCOLORBTN, (WPARAM)dc, (LPARAM)button);
    HFONT font = (HFONT)SendMessageA(button, WM_GETFONT, 0, 0);
    HPEN pen = CreatePen(PS_INSIDEFRAME, width, border);
    HGDIOBJ oldPen, oldBrush, oldFont;
    int oldMode;

    GetClientRect(button, &area);
    FillRect(dc, &area, back ? back : look->brushes[kSkinControlBack]);
    oldPen = SelectObject(dc, pen ? (HGDIOBJ)pen : GetStockObject(BLACK_PEN));
    oldBrush = SelectObject(dc, look->brushes[pressed ? kSkinButtonFacePressed : kSkinButtonFace]);
    RoundRect(dc, area.left, area.top, area.right, area.bottom, corner, corner);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    if (pen) DeleteObject(pen);

    inner = area;
    InflateRect(&inner, -(width + 2), -(width + 1));
    if (pressed) OffsetRect(&inner, 1, 1);
    oldFont = SelectObject(dc, font ? (HGDIOBJ)font : GetStockObject(DEFAULT_GUI_FONT));
    oldMode = SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, look->colours[enabled ? kSkinButtonText : kSkinDisabledText]);
    DrawButtonText(button, dc, inner, style, uiState);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);

    if (focused && !(uiState & UISF_HIDEFOCUS)) {
        RECT ring = area;
        InflateRect(&ring, -(width + 2), -(width + 2));
        SetTextColor(dc, look->colours[kSkinButtonText]);
        SetBkColor(dc, look->colours[pressed ? kSkinButtonFacePressed : kSkinButtonFace]);
        DrawFocusRect(dc, &ring);
    }
}

/* The system button draws its own look straight away on these; ours follows at once. */
static int ChangesLook(UINT message)
{
    switch (message) {
    case BM_SETSTATE: case BM_SETSTYLE: case BM_CLICK:
    case WM_SETFOCUS: case WM_KILLFOCUS: case WM_ENABLE: case WM_SETTEXT: case WM_SETFONT:
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: case WM_KEYDOWN: case WM_KEYUP:
    case WM_CAPTURECHANGED: case WM_CANCELMODE: case WM_UPDATEUISTATE: case WM_STYLECHANGED:
    case WM_SYSCOLORCHANGE: case WM_THEMECHANGED:
        return 1;
    }
    return 0;
}

static void RedrawNow(HWND button)
{
    if (IsWindowVisible(button)) RedrawWindow(button, 0, 0, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
}

LRESULT SkinButtonMessage(HWND button, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result;
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        if (wParam) {
            PaintButton(button, (HDC)wParam);
            return 0;
        }
        if (BeginPaint(button, &paint)) {
            PaintButton(button, paint.hdc);
            EndPaint(button, &paint);
        }
        return 0;
    }
    case WM_PRINTCLIENT:
        PaintButton(button, (HDC)wParam);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE:
        result = DefSubclassProc(button, message, wParam, lParam);
        if (g_hotButton != button) {
            TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, button, 0};
            HWND previous = g_hotButton;
            g_hotButton = button;
            TrackMouseEvent(&track);
            if (previous) RedrawNow(previous);
            RedrawNow(button);
        } else if (GetCapture() == button) {
            RedrawNow(button);
        }
        return result;
    case WM_MOUSELEAVE:
        result = DefSubclassProc(button, message, wParam, lParam);
        if (g_hotButton == button) {
            g_hotButton = 0;
            RedrawNow(button);
        }
        return result;
    }
    result = DefSubclassProc(button, message, wParam, lParam);
    if (ChangesLook(message)) RedrawNow(button);
    return result;
}
