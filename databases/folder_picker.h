// The shell's folder dialog, always owned by MainWindow, titled "选择路径" and
// opening on C:\WINDOWS.
#pragma once

#include <windows.h>

#include "core/program_state.h"

// The chosen folder's path, or the empty text when the user cancels.
Text BrowseForFolder(ProgramState& state, HWND mainWindow);
// The general picker behind it.
Text BrowseForFolder(HWND owner, const Text& title, const Text& initialFolder,
                     ProgramState& state);
int CALLBACK BrowseCallback(HWND dialog, UINT event, LPARAM argument, LPARAM userData);
