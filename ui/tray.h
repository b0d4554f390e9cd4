// The notification-area icon of a minimised main window. While the icon is
// shown the window is hidden and TrayWindowProc is its window procedure.
// The state lives in ProgramState (trayState, trayIconRecord, previousWindowProc,
// trayMessageId, trayActive), made by CreateTrayRecords.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "core/program_state.h"

constexpr UINT kTrayCallbackMessage = 2000;
constexpr UINT kTrayIconId = 1;
extern const char* const kTrayTip;           // "Brenquil"
extern const char* const kTrayBalloonText;   // "已经最小化到托盘，双击即可打开！"
extern const char* const kTrayBalloonTitle;  // "提示："
extern const char* const kTrayRebindMessage; // "eMenu"

// The main window's reaction to WM_SIZE: when minimised, bind and hide. A window
// whose icon the platform refuses stays minimised in the taskbar, and a second
// report while the icon is shown changes nothing.
void MinimiseToTray(HWND window, WPARAM sizeType);
// Swaps the window procedure and adds the icon with its balloon. True when the
// icon is shown; when the platform refuses it, the binding is undone.
bool BindTray(HWND window);
LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Shows and restores the window, then UnbindTray.
void RestoreFromTray();
// Removes the icon and gives the window its own procedure back.
void UnbindTray();
bool TrayBound();
// The entries under `menu`, a menu-bar entry of `window`, as a popup at the cursor.
void ShowTrayMenu(HWND window, HMENU menu);

// The platform's notify-icon record from the kept fields: the 488-byte form
// with the balloon fields in the 32-bit build.
NOTIFYICONDATAA NotifyIconDataOf(const TrayIconRecord& record);
