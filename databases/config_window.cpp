#include "databases/config_window.h"

#include <commdlg.h>

#include <vector>

#include "core/files.h"
#include "core/message.h"
#include "core/profile.h"
#include "databases/config_window_ids.h"
#include "databases/folder_picker.h"
#include "ui/layout.h"

const char kTextFileFilter[] = "文本 文档(*.txt)\0*.txt\0";
const int kTextFileFilterSize = sizeof kTextFileFilter;

namespace {

const ControlSpec kControls[] = {
    {IDC_CONFIG_LABEL1, ControlKind::Label, "文件大小数据：", 8, 14, 80, 16, 0, 0},
    {IDC_CONFIG_EDIT1, ControlKind::Edit, "", 88, 9, 184, 24, 0, 0},
    {IDC_CONFIG_BUTTON1, ControlKind::Button, "选择", 280, 8, 55, 27, 0, 0},
    {IDC_CONFIG_LABEL2, ControlKind::Label, "文件 MD5数据：", 8, 52, 80, 16, 0, 0},
    {IDC_CONFIG_EDIT2, ControlKind::Edit, "", 88, 47, 184, 24, 0, 0},
    {IDC_CONFIG_BUTTON2, ControlKind::Button, "选择", 280, 46, 55, 27, 0, 0},
    {IDC_CONFIG_LABEL3, ControlKind::Label, "附属文件数据：", 8, 92, 80, 16, 0, 0},
    {IDC_CONFIG_EDIT3, ControlKind::Edit, "", 88, 87, 184, 24, 0, 0},
    {IDC_CONFIG_BUTTON3, ControlKind::Button, "选择", 280, 86, 55, 27, 0, 0},
    {IDC_CONFIG_LABEL4, ControlKind::Label, "注册表  数据：", 8, 132, 80, 16, 0, 0},
    {IDC_CONFIG_EDIT4, ControlKind::Edit, "", 88, 127, 184, 24, 0, 0},
    {IDC_CONFIG_BUTTON4, ControlKind::Button, "选择", 280, 126, 55, 27, 0, 0},
    {IDC_CONFIG_LABEL5, ControlKind::Label, "保存结果位置：", 8, 158, 80, 48, 0, 0},
    {IDC_CONFIG_EDIT5, ControlKind::Edit, "", 88, 166, 184, 24, 0, 0},
    {IDC_CONFIG_BUTTON5, ControlKind::Button, "选择", 280, 166, 55, 27, 0, 0},
    {IDC_CONFIG_BUTTON6, ControlKind::Button, "保存", 8, 206, 96, 32, 0, 0},
    {IDC_CONFIG_LABEL6, ControlKind::Label, "所填写的内容下次生效", 112, 206, 216, 32, 0, 0},
};

// Box N holds the value of section N, in the order config.ini keeps them.
const int kBoxes[] = {IDC_CONFIG_EDIT1, IDC_CONFIG_EDIT2, IDC_CONFIG_EDIT3, IDC_CONFIG_EDIT4,
                      IDC_CONFIG_EDIT5};

const char* SectionOf(int box)
{
    const char* const sections[] = {kSizeSection, kMd5Section, kAttachedSection,
                                    kRegistrySection, kResultSection};
    return sections[box];
}

Text ControlText(HWND control)
{
    const int length = GetWindowTextLengthA(control);
    Text text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(control, &text[0], length + 1)));
    return text;
}

}  // namespace

bool OpenFileDialog(HWND owner, const char* filter, Text& fileName)
{
    std::vector<char> buffer(fileName.size() < 4096 ? 4096 : fileName.size() + 1, '\0');
    fileName.copy(buffer.data(), buffer.size() - 1);
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    // Relative database paths are taken from the current directory, which must stay.
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameA(&dialog)) return false;
    fileName = buffer.data();
    return true;
}

ConfigWindow::ConfigWindow(const Text& configPath, ConfigWindowDialogs dialogs)
    : configPath_(configPath), dialogs_(std::move(dialogs))
{
}

ConfigWindow::~ConfigWindow()
{
    if (hwnd_) DestroyWindow(hwnd_);
}

bool ConfigWindow::Open()
{
    if (hwnd_) {
        if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
        SetForegroundWindow(hwnd_);
        BringWindowToTop(hwnd_);
        return true;
    }
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    if (!CreateTopLevel(CONFIG_WINDOW_CLASS, "配置", style, 50, 50, 350, 272, nullptr,
                        GetSysColorBrush(COLOR_BTNFACE)))
        return false;
    font_ = CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_DONTCARE, "宋体");
    BuildControls(hwnd_, kControls, static_cast<int>(sizeof kControls / sizeof kControls[0]),
                  font_);
    dialogFileName_.clear();
    Created();
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
    return true;
}

void ConfigWindow::Created()
{
    if (!FileExists(configPath_)) return;
    for (int n = 0; n < 5; ++n)
        SetWindowTextA(Control(kBoxes[n]),
                       ReadIniValue(configPath_, SectionOf(n), kDataKey).c_str());
}

// Cancel puts the property into the box as well: the last confirmed path, or "".
void ConfigWindow::ChooseFile(int box)
{
    HWND window = hwnd_;
    Text name = dialogFileName_;
    if (dialogs_.openFile && dialogs_.openFile(window, kTextFileFilter, name))
        dialogFileName_ = name;
    if (hwnd_ == window) SetWindowTextA(Control(kBoxes[box]), dialogFileName_.c_str());
}

void ConfigWindow::ChooseResultFolder()
{
    HWND window = hwnd_;
    const Text folder = dialogs_.chooseFolder ? dialogs_.chooseFolder() : Text();
    if (hwnd_ == window) SetWindowTextA(Control(IDC_CONFIG_EDIT5), folder.c_str());
}

void ConfigWindow::Save()
{
    Text values[5];
    for (int n = 0; n < 5; ++n) {
        values[n] = ControlText(Control(kBoxes[n]));
        if (values[n].empty()) {
            if (dialogs_.show) dialogs_.show("数据不完整！");
            return;
        }
    }
    for (int n = 0; n < 5; ++n) WriteIniValue(configPath_, SectionOf(n), kDataKey, values[n]);
    if (dialogs_.show) dialogs_.show("数据已经保存！");
}

LRESULT ConfigWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED) return 0;
        switch (LOWORD(wParam)) {
        case IDC_CONFIG_BUTTON1: ChooseFile(0); return 0;
        case IDC_CONFIG_BUTTON2: ChooseFile(1); return 0;
        case IDC_CONFIG_BUTTON3: ChooseFile(2); return 0;
        case IDC_CONFIG_BUTTON4: ChooseFile(3); return 0;
        case IDC_CONFIG_BUTTON5: ChooseResultFolder(); return 0;
        case IDC_CONFIG_BUTTON6: Save(); return 0;
        default: return 0;
        }
    case WM_DESTROY:
        if (font_) DeleteObject(font_);
        font_ = nullptr;
        return 0;
    default:
        return BaseWindow::HandleMessage(message, wParam, lParam);
    }
}

void OpenConfigWindow(ProgramState& state, HWND mainWindow)
{
    // Lives to the end of the process, like the program state it works for.
    static ConfigWindow* window = new ConfigWindow(
        ConfigPath(ProgramFolder()),
        {OpenFileDialog, [&state, mainWindow] { return BrowseForFolder(state, mainWindow); },
         [](const Text& text) { ShowMessage(text); }});
    window->Open();
}
