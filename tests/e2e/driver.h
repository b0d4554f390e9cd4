// Drives the real Sorvalen.exe from another process: starts it in a scratch
// folder, finds its windows, reads texts and states, answers message boxes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "core/text.h"

// The built program and skin library beside the test programs' build folder.
Text BuiltProgram();
Text BuiltSkinLibrary();

class RunningProgram {
public:
    // Starts `exePath` with `currentDirectory` (empty: the exe's folder).
    explicit RunningProgram(const Text& exePath, const Text& currentDirectory = Text());
    ~RunningProgram();  // ends the process if it still runs
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool Started() const { return process_ != nullptr; }
    DWORD Id() const { return id_; }

    // A top-level window of the process with that class (and title, when given).
    HWND WaitWindow(const char* className, const char* title = nullptr, int timeoutMs = 20000) const;
    HWND MainWindow(int timeoutMs = 40000) const;
    // A message box (dialog class #32770) of the process.
    HWND WaitMessageBox(int timeoutMs = 40000) const;
    // Waits until no message box of the process is shown.
    bool WaitNoMessageBox(int timeoutMs = 10000) const;

    bool WaitExit(int timeoutMs, DWORD* exitCode = nullptr) const;

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

Text WindowText(HWND window);  // through WM_GETTEXT, so edit boxes answer too
Text MessageBoxText(HWND box);
// Presses the box's button with that identifier (IDOK, IDYES, ...).
void AnswerMessageBox(HWND box, int buttonId = IDOK);

// Polls `condition` every 20 ms until it holds or the time is up.
template <class F>
bool WaitUntil(F condition, int timeoutMs = 10000)
{
    for (int waited = 0;; waited += 20) {
        if (condition()) return true;
        if (waited >= timeoutMs) return false;
        Sleep(20);
    }
}

struct Rect {
    int x, y, width, height;
    bool operator==(const Rect&) const = default;
};
// The control's rectangle in its window's client coordinates.
Rect ClientRectOf(HWND control);
Rect WindowRectOf(HWND window);

// Clicks a button of another process without waiting for what the click opens.
void PostClick(HWND button);
// The shell's folder dialog of the process (a dialog holding a tree view).
HWND WaitFolderDialog(const RunningProgram& app, int timeoutMs = 20000);
// Texts of the dialog's static controls, in child order.
std::vector<Text> StaticTexts(HWND dialog);
