// ConfigWindow "配置": the five values of config.ini, filled when the window is
// created and written back by its save button.
#pragma once

#include <windows.h>

#include <functional>

#include "core/program_state.h"
#include "databases/load.h"
#include "ui/window_base.h"

// What the window asks of the user beyond its own controls; tests put their own.
struct ConfigWindowDialogs {
    // The open-file dialog: shows `fileName` in its file name field, filters by
    // `filter` (pairs of NUL-ended texts, then one more NUL); on OK gives true and
    // the chosen full path in `fileName`, on Cancel false and `fileName` untouched.
    std::function<bool(HWND owner, const char* filter, Text& fileName)> openFile;
    std::function<Text()> chooseFolder;  // the folder picker
    MessageSink show;                    // the program's message box
};

// The open-file filter "文本 文档(*.txt)|*.txt" in the dialog's form.
extern const char kTextFileFilter[];
extern const int kTextFileFilterSize;  // bytes, the closing NULs included

// The system's open-file dialog; the current directory stays as it was.
bool OpenFileDialog(HWND owner, const char* filter, Text& fileName);

class ConfigWindow : public BaseWindow {
public:
    ConfigWindow(const Text& configPath, ConfigWindowDialogs dialogs);
    ~ConfigWindow() override;
    ConfigWindow(const ConfigWindow&) = delete;
    ConfigWindow& operator=(const ConfigWindow&) = delete;

    // Creates the window and runs its created event, or only brings the open
    // window forward.
    bool Open();
    HWND Control(int id) const { return GetDlgItem(hwnd_, id); }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Created();
    void ChooseFile(int box);
    void ChooseResultFolder();
    void Save();

    Text configPath_;
    ConfigWindowDialogs dialogs_;
    Text dialogFileName_;  // 通用对话框1's file name property
    HFONT font_ = nullptr;
};

// The program's one ConfigWindow, on the config.ini beside the program; the
// reaction of "配置窗口".
void OpenConfigWindow(ProgramState& state, HWND mainWindow);
