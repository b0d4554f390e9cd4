// ToolWindow "工具窗口": builds the database entries of one program from its
// folder and appends them to the four databases named in config.ini.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "core/program_state.h"
#include "databases/load.h"
#include "ui/window_base.h"

// The lines of a text as the program reads the lines of a file: a line ends at LF,
// one CR just before the end is removed, a last line without an end still counts,
// and a NUL or Ctrl-Z ends the text (a line cut by it counts when not empty).
std::vector<Text> SplitTextLines(const Text& text);

// What the write takes from the window's controls.
struct EntryFields {
    Text sizeText;                 // 编辑框2
    Text md5Text;                  // 编辑框3
    Text note;                     // 编辑框4
    Text registryText;             // 编辑框5, lines ended by CR LF
    std::vector<Text> listedNames; // the items of 组合框1, in order
    Text mainName;                 // the text of 组合框1: the name left out of the list
};

// Appends the entries to the databases named in `configPath`, in the order MD5,
// size, attached files, registry. Each database is written beside itself and
// replaces the old file only once complete, so a failed write leaves it as it was;
// an empty path is left alone. True when every named database was replaced.
bool WriteDatabaseEntries(const Text& configPath, const EntryFields& fields);

struct ToolWindowDialogs {
    std::function<Text()> chooseFolder;  // the folder picker
    MessageSink show;                    // the program's message box
};

class ToolWindow : public BaseWindow {
public:
    ToolWindow(const Text& configPath, ToolWindowDialogs dialogs);
    ~ToolWindow() override;
    ToolWindow(const ToolWindow&) = delete;
    ToolWindow& operator=(const ToolWindow&) = delete;

    // Destroys the window when it is open and creates a fresh one.
    bool OpenAfresh();
    HWND Control(int id) const { return GetDlgItem(hwnd_, id); }

    void ListFolderFiles();
    void ShowFileSignature();
    void WriteEntries();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // True while the window that a handler began with is still the one shown.
    bool StillOpen(unsigned generation) const { return hwnd_ && generation == generation_; }

    Text configPath_;
    ToolWindowDialogs dialogs_;
    unsigned generation_ = 0;  // counts the windows created, so handlers see a new one
    unsigned signatureRun_ = 0;
    HFONT font_ = nullptr;
};

// The program's one ToolWindow, on the config.ini beside the program; the reaction
// of "[取文件尺寸]" and "[取文件 MD5]".
void OpenToolWindow(ProgramState& state, HWND mainWindow);
