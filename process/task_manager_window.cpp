#include "process/task_manager_window.h"

#include <vector>

#include "core/message.h"
#include "process/icon_extract.h"
#include "process/process_lookup.h"
#include "process/task_manager_ids.h"
#include "ui/layout.h"

namespace {

constexpr int kOuterWidth = 308;
constexpr int kOuterHeight = 329;
constexpr int kPictureSize = 32;

const ControlSpec kControls[] = {
    {IDC_TM_LIST1, ControlKind::ListBox, "", 0, 0, 296, 208, 0, 0},
    {IDC_TM_PICTURE1, ControlKind::Picture, "", 8, 216, 32, 32, 0, 0},
    {IDC_TM_BUTTON1, ControlKind::Button, "刷新", 56, 216, 72, 32, 0, 0},
    {IDC_TM_BUTTON2, ControlKind::Button, "结束进程", 136, 216, 72, 32, 0, 0},
    {IDC_TM_LABEL1, ControlKind::Label, "", 0, 256, 304, 48, 0, 0},
};

HFONT MakeFont(int height, const char* face)
{
    return CreateFontA(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face);
}

}  // namespace

TaskManagerWindow::~TaskManagerWindow()
{
    if (hwnd_) DestroyWindow(hwnd_);
}

bool TaskManagerWindow::Open()
{
    if (hwnd_) {
        ShowWindow(hwnd_, SW_SHOWNORMAL);
        SetForegroundWindow(hwnd_);
        BringWindowToTop(hwnd_);
        return true;
    }
    const int x = (GetSystemMetrics(SM_CXSCREEN) - kOuterWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - kOuterHeight) / 2;
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    if (!CreateTopLevel(TASK_MANAGER_WINDOW_CLASS, "任务管理器", style, x, y, kOuterWidth,
                        kOuterHeight, nullptr, GetSysColorBrush(COLOR_BTNFACE)))
        return false;
    BuildControls(hwnd_, kControls, static_cast<int>(sizeof kControls / sizeof kControls[0]),
                  controlFont_ = MakeFont(12, "宋体"));
    labelFont_ = MakeFont(14, "楷体_GB2312");
    SendMessageA(GetDlgItem(hwnd_, IDC_TM_LABEL1), WM_SETFONT,
                 reinterpret_cast<WPARAM>(labelFont_), FALSE);
    RefreshProcessList();
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
    return true;
}

void TaskManagerWindow::RefreshProcessList()
{
    HWND list = GetDlgItem(hwnd_, IDC_TM_LIST1);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const ProcessEntry& entry : ListProcesses())
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.exeName.c_str()));
}

Text TaskManagerWindow::SelectedRowText() const
{
    HWND list = GetDlgItem(hwnd_, IDC_TM_LIST1);
    const LRESULT row = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (row < 0) return Text();
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, row, 0);
    if (length <= 0) return Text();
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT copied = SendMessageA(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()));
    return copied > 0 ? Text(text.data(), static_cast<size_t>(copied)) : Text();
}

void TaskManagerWindow::SetPicture(HICON icon)
{
    SendMessageA(GetDlgItem(hwnd_, IDC_TM_PICTURE1), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    if (picture_) DestroyIcon(picture_);
    picture_ = icon;
}

// The icon goes to the picture box from memory: no file is written, so no
// file of anyone else's is replaced or deleted.
void TaskManagerWindow::ShowProcessDetails()
{
    const Text path = ExePathOfName(SelectedRowText());
    const ExtractedIcon icon = path.empty() ? ExtractedIcon() : ExtractIconBytes(path);
    SetPicture(icon.groups ? IconFromIconFile(icon.file, kPictureSize) : nullptr);
    SetWindowTextA(GetDlgItem(hwnd_, IDC_TM_LABEL1), path.c_str());
}

void TaskManagerWindow::EndSelectedProcess()
{
    const LRESULT row = SendMessageA(GetDlgItem(hwnd_, IDC_TM_LIST1), LB_GETCURSEL, 0, 0);
    if (row <= 0) {
        ShowMessage("未选中进程，如何终止？");
        return;
    }
    ShowMessage(EndProcessByName(SelectedRowText()) ? "进程已经结束！"
                                                    : "进程结束失败！看来比较顽固！");
}

LRESULT TaskManagerWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam), notification = HIWORD(wParam);
        if (id == IDC_TM_LIST1 && notification == LBN_DBLCLK) ShowProcessDetails();
        else if (id == IDC_TM_BUTTON1 && notification == BN_CLICKED) RefreshProcessList();
        else if (id == IDC_TM_BUTTON2 && notification == BN_CLICKED) EndSelectedProcess();
        return 0;
    }
    case WM_DESTROY:
        SetPicture(nullptr);
        for (HFONT* font : {&labelFont_, &controlFont_}) {
            if (*font) DeleteObject(*font);
            *font = nullptr;
        }
        return 0;
    default:
        return BaseWindow::HandleMessage(message, wParam, lParam);
    }
}

TaskManagerWindow& TheTaskManagerWindow()
{
    static TaskManagerWindow* window = new TaskManagerWindow;
    return *window;
}

void OpenTaskManagerWindow() { TheTaskManagerWindow().Open(); }
