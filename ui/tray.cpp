#include "ui/tray.h"

#include <cstddef>
#include <vector>

#include "core/program.h"

// The record handed to the platform is its version-2 form: cbSize tells it so.
static_assert(offsetof(NOTIFYICONDATAA, dwInfoFlags) + sizeof(DWORD) == NOTIFYICONDATAA_V2_SIZE);
#if !defined(_WIN64)
static_assert(NOTIFYICONDATAA_V2_SIZE == 488);
static_assert(offsetof(NOTIFYICONDATAA, szTip) == 24 && offsetof(NOTIFYICONDATAA, dwState) == 152 &&
              offsetof(NOTIFYICONDATAA, szInfo) == 160 && offsetof(NOTIFYICONDATAA, uTimeout) == 416 &&
              offsetof(NOTIFYICONDATAA, szInfoTitle) == 420 &&
              offsetof(NOTIFYICONDATAA, dwInfoFlags) == 484);
#endif

const char* const kTrayTip = "Brenquil";
const char* const kTrayBalloonText = "已经最小化到托盘，双击即可打开！";
const char* const kTrayBalloonTitle = "提示：";
const char* const kTrayRebindMessage = "eMenu";

namespace {

// The fields of TrayState, in their order.
enum TrayField {
    kOwnerWindow,
    kOwnerControl,
    kWindowHandle,
    kLeftClickMenuWindow,
    kLeftClickMenu,
    kRightClickMenuWindow,
    kRightClickMenu,
    kDoubleClickProc,
};
constexpr std::int32_t kRestoreFromTrayProc = 1;  // doubleClickProc: RestoreFromTray

constexpr std::int32_t kAddFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;  // 7

// Window, menu and icon handles keep their meaning in 32 bits in both builds.
std::int32_t FieldOf(const void* handle)
{
    return static_cast<std::int32_t>(reinterpret_cast<LONG_PTR>(handle));
}
template <class Handle>
Handle HandleOf(std::int32_t field)
{
    return reinterpret_cast<Handle>(static_cast<LONG_PTR>(field));
}

void CopyText(std::vector<std::uint8_t>& field, const char* text)
{
    for (std::size_t i = 0; i < field.size(); ++i) {
        field[i] = static_cast<std::uint8_t>(*text);
        if (*text) ++text;
    }
    if (!field.empty()) field.back() = 0;
}

template <std::size_t N>
void CopyField(CHAR (&out)[N], const std::vector<std::uint8_t>& field)
{
    for (std::size_t i = 0; i < N && i < field.size(); ++i) out[i] = static_cast<CHAR>(field[i]);
    out[N - 1] = 0;
}

ProgramState& State() { return TheProgram().state; }
bool HasRecords() { return State().trayState && State().trayIconRecord; }
std::int32_t& Field(TrayField f) { return State().trayState->fields[f]; }

BOOL Notify(DWORD command)
{
    NOTIFYICONDATAA data = NotifyIconDataOf(*State().trayIconRecord);
    return Shell_NotifyIconA(command, &data);
}

HICON SmallIconOf(HWND window)
{
    auto icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICONSM));
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICON));
    return icon;
}

bool IsMenuOf(HWND window, HMENU menu)
{
    HMENU bar = GetMenu(window);
    if (!bar) return false;
    if (menu == bar) return true;
    const int count = GetMenuItemCount(bar);
    for (int i = 0; i < count; ++i)
        if (GetSubMenu(bar, i) == menu) return true;
    return false;
}

HMENU CopyOfEntries(HMENU menu)
{
    HMENU popup = CreatePopupMenu();
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char caption[256] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = caption;
        info.cch = sizeof caption;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info) || info.hSubMenu) continue;
        if (info.fType & MFT_SEPARATOR) {
            AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const UINT flags = MF_STRING | (info.fState & MFS_DISABLED ? MF_GRAYED : 0) |
                           (info.fState & MFS_CHECKED ? MF_CHECKED : 0);
        AppendMenuA(popup, flags, info.wID, caption);
    }
    return popup;
}

}  // namespace

NOTIFYICONDATAA NotifyIconDataOf(const TrayIconRecord& r)
{
    NOTIFYICONDATAA data = {};
    data.cbSize = static_cast<DWORD>(r.field1);
    data.hWnd = HandleOf<HWND>(r.field2);
    data.uID = static_cast<UINT>(r.field3);
    data.uFlags = static_cast<UINT>(r.field4);
    data.uCallbackMessage = static_cast<UINT>(r.field5);
    data.hIcon = HandleOf<HICON>(r.field6);
    CopyField(data.szTip, r.field7);
    data.dwState = static_cast<DWORD>(r.field8);
    data.dwStateMask = static_cast<DWORD>(r.field9);
    CopyField(data.szInfo, r.field10);
    data.uTimeout = static_cast<UINT>(r.field11);
    CopyField(data.szInfoTitle, r.field12);
    data.dwInfoFlags = static_cast<DWORD>(r.field13);
    return data;
}

bool TrayBound() { return State().previousWindowProc != nullptr; }

void MinimiseToTray(HWND window, WPARAM sizeType)
{
    if (sizeType != SIZE_MINIMIZED || TrayBound()) return;
    if (BindTray(window)) ShowWindow(window, SW_HIDE);
}

bool BindTray(HWND window)
{
    if (!HasRecords() || !window) return false;
    if (TrayBound()) return true;  // never our own predecessor, never a second icon
    ProgramState& s = State();

    Field(kOwnerWindow) = FieldOf(window);
    Field(kOwnerControl) = FieldOf(window);
    Field(kWindowHandle) = FieldOf(window);
    Field(kLeftClickMenuWindow) = 0;
    Field(kLeftClickMenu) = 0;
    Field(kRightClickMenuWindow) = FieldOf(window);
    Field(kRightClickMenu) = FieldOf(GetSubMenu(GetMenu(window), 0));  // "工具"
    Field(kDoubleClickProc) = kRestoreFromTrayProc;

    s.previousWindowProc = reinterpret_cast<void*>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TrayWindowProc)));
    s.trayMessageId = RegisterWindowMessageA(kTrayRebindMessage);

    TrayIconRecord& r = *s.trayIconRecord;
    r.field1 = NOTIFYICONDATAA_V2_SIZE;
    r.field2 = FieldOf(window);
    r.field6 = FieldOf(SmallIconOf(window));
    r.field3 = kTrayIconId;
    r.field4 = kAddFlags;
    r.field5 = kTrayCallbackMessage;
    CopyText(r.field7, kTrayTip);
    if (!Notify(NIM_ADD)) {
        // No icon: the window must stay reachable, so nothing is swapped.
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s.previousWindowProc));
        s.previousWindowProc = nullptr;
        return false;
    }

    r.field4 = NIF_INFO;
    CopyText(r.field10, kTrayBalloonText);
    CopyText(r.field12, kTrayBalloonTitle);
    r.field13 = NIIF_INFO;
    Notify(NIM_MODIFY);
    s.trayActive = 1;
    return true;
}

LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Taken first: a double-click unbinds before the message is passed on.
    const auto previous = reinterpret_cast<WNDPROC>(State().previousWindowProc);
    try {
        if (HasRecords() && message == kTrayCallbackMessage) {
            switch (static_cast<UINT>(lParam)) {
            case WM_LBUTTONDOWN:
                ShowTrayMenu(HandleOf<HWND>(Field(kLeftClickMenuWindow)),
                             HandleOf<HMENU>(Field(kLeftClickMenu)));
                break;
            case WM_RBUTTONDOWN:
                ShowTrayMenu(HandleOf<HWND>(Field(kRightClickMenuWindow)),
                             HandleOf<HMENU>(Field(kRightClickMenu)));
                break;
            case WM_LBUTTONDBLCLK:
                if (Field(kDoubleClickProc) == kRestoreFromTrayProc) RestoreFromTray();
                break;
            default: break;
            }
        }
        if (HasRecords() && State().trayMessageId && message == State().trayMessageId) {
            Notify(NIM_DELETE);
            State().trayIconRecord->field4 = kAddFlags;
            Notify(NIM_ADD);
        } else if (HasRecords() && message == WM_DESTROY) {
            Notify(NIM_DELETE);
        }
    } catch (...) {
    }
    if (!previous) return DefWindowProcA(window, message, wParam, lParam);
    return CallWindowProcA(previous, window, message, wParam, lParam);
}

void RestoreFromTray()
{
    if (!HasRecords()) return;
    HWND window = HandleOf<HWND>(Field(kWindowHandle));
    ShowWindow(window, SW_SHOW);
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
    UnbindTray();
}

void UnbindTray()
{
    ProgramState& s = State();
    if (!HasRecords() || s.trayActive != 1 || !s.previousWindowProc) return;
    Notify(NIM_DELETE);
    SetWindowLongPtrA(HandleOf<HWND>(Field(kWindowHandle)), GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(s.previousWindowProc));
    s.previousWindowProc = nullptr;
}

void ShowTrayMenu(HWND window, HMENU menu)
{
    if (!window || !menu || !IsMenuOf(window, menu)) return;
    HMENU popup = CopyOfEntries(menu);
    POINT cursor = {};
    GetCursorPos(&cursor);
    // Without the foreground the popup would not close when the user clicks elsewhere.
    SetForegroundWindow(window);
    TrackPopupMenu(popup, TPM_RIGHTALIGN, cursor.x - 5, cursor.y - 5, 0, window, nullptr);
    PostMessageA(window, WM_NULL, 0, 0);
    DestroyMenu(popup);
}
