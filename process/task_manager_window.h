// TaskManagerWindow "任务管理器": the running processes, a process's icon and
// path, ending the selected process.
#pragma once

#include "core/text.h"
#include "ui/window_base.h"

class TaskManagerWindow : public BaseWindow {
public:
    ~TaskManagerWindow() override;

    // Creates the window centred and fills the list; an open window is only
    // brought forward.
    bool Open();

    void RefreshProcessList();
    void ShowProcessDetails();
    void EndSelectedProcess();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    Text SelectedRowText() const;
    void SetPicture(HICON icon);

    HFONT controlFont_ = nullptr;
    HFONT labelFont_ = nullptr;
    HICON picture_ = nullptr;
};

// The program's one task manager window, opened from "[任务管理器]".
TaskManagerWindow& TheTaskManagerWindow();
void OpenTaskManagerWindow();
