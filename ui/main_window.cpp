#include "ui/main_window.h"

#include <commctrl.h>

#include "core/message.h"
#include "databases/config_window.h"
#include "databases/folder_picker.h"
#include "databases/tool_window.h"
#include "process/task_manager_window.h"
#include "ui/layout.h"
#include "ui/main_window_ids.h"
#include "ui/messages.h"
#include "ui/tray.h"

namespace {

constexpr int kOuterWidth = 292;
constexpr int kOuterHeight = 411;

const ControlSpec kControls[] = {
    {IDC_GROUP1, ControlKind::Group, "扫描类型", 3, 8, 277, 88, 0, 0},
    {IDC_RADIO1, ControlKind::Radio, "全盘扫描", 7, 24, 72, 24, IDC_GROUP1, WS_GROUP | WS_TABSTOP},
    {IDC_RADIO2, ControlKind::Radio, "指定文件夹扫描(扫描速度快)", 86, 28, 176, 16, IDC_GROUP1, 0},
    {IDC_CHECK1, ControlKind::Check, "大小+MD5", 8, 56, 72, 24, IDC_GROUP1, WS_GROUP},
    {IDC_CHECK2, ControlKind::Check, "扫描调用文件", 87, 60, 96, 16, IDC_GROUP1, 0},
    {IDC_CHECK4, ControlKind::Check, "注册表扫描", 184, 56, 80, 24, IDC_GROUP1, 0},
    {IDC_BUTTON1, ControlKind::Button, "开始", 8, 112, 72, 32, 0, WS_GROUP},
    {IDC_BUTTON3, ControlKind::Button, "暂停", 96, 112, 72, 32, 0, 0},
    {IDC_BUTTON2, ControlKind::Button, "关闭", 192, 112, 72, 32, 0, 0},
    {IDC_LABEL2, ControlKind::Label, "扫描实体化进度：", 8, 160, 96, 24, 0, 0},
    {IDC_EDIT2, ControlKind::Edit, "", 104, 160, 64, 24, 0, 0},
    {IDC_EDIT1, ControlKind::Edit, "", 177, 160, 71, 24, 0, 0},
    {IDC_LABEL8, ControlKind::Label, "已用时：", 8, 192, 48, 24, 0, 0},
    {IDC_LABEL7, ControlKind::Label, "", 64, 187, 56, 32, 0, 0},
    {IDC_LABEL6, ControlKind::Label, "扫描类型：", 8, 230, 56, 24, 0, 0},
    {IDC_SCANTYPE, ControlKind::Label, "", 72, 224, 200, 32, 0, 0},
    {IDC_LABEL4, ControlKind::Label, "文件路径：", 8, 264, 64, 32, 0, 0},
    {IDC_LABEL5, ControlKind::Label, "", 72, 264, 200, 56, 0, 0},
    {IDC_LABEL3, ControlKind::Label, "扫描进度：", 8, 327, 56, 24, 0, 0},
    {IDC_PROGRESS1, ControlKind::Progress, "", 68, 324, 204, 24, 0, 0},
};

struct LabelColour {
    int id;
    COLORREF colour;
};
const LabelColour kLabelColours[] = {
    {IDC_LABEL7, RGB(0, 96, 192)},
    {IDC_SCANTYPE, RGB(0, 128, 0)},
    {IDC_LABEL5, RGB(0, 128, 0)},
};

// The controls a scan drives, by their place in ScanControl.
const int kScanControlIds[] = {
    IDC_BUTTON1, IDC_BUTTON2, IDC_BUTTON3, IDC_RADIO1, IDC_RADIO2, IDC_CHECK1, IDC_CHECK2,
    IDC_CHECK4,  IDC_EDIT1,   IDC_EDIT2,   IDC_LABEL7, IDC_SCANTYPE, IDC_LABEL5,
};
static_assert(sizeof kScanControlIds / sizeof kScanControlIds[0] ==
              static_cast<int>(ScanControl::Count));

bool IsChoice(int id)
{
    return id == IDC_RADIO1 || id == IDC_RADIO2 || id == IDC_CHECK1 || id == IDC_CHECK2 ||
           id == IDC_CHECK4;
}

ScanControl ScanControlOf(int id)
{
    for (int i = 0; i < static_cast<int>(ScanControl::Count); ++i)
        if (kScanControlIds[i] == id) return static_cast<ScanControl>(i);
    return ScanControl::Count;
}

Text ControlText(HWND control)
{
    const int length = GetWindowTextLengthA(control);
    Text text(static_cast<size_t>(length) + 1, '\0');
    text.resize(GetWindowTextA(control, &text[0], length + 1));
    return text;
}

HMENU BuildMenuBar()
{
    HMENU bar = CreateMenu();
    HMENU tools = CreatePopupMenu();
    AppendMenuA(tools, MF_STRING, IDM_FILE_SIZE, "[取文件尺寸]");
    AppendMenuA(tools, MF_STRING, IDM_FILE_MD5, "[取文件 MD5]");
    AppendMenuA(tools, MF_STRING, IDM_TASK_MANAGER, "[任务管理器]");
    HMENU functions = CreatePopupMenu();
    AppendMenuA(functions, MF_STRING, IDM_CLEAR_REGISTRY,
                "[清除注册表] (清除程序所占用的注册表项)");
    HMENU config = CreatePopupMenu();
    AppendMenuA(config, MF_STRING, IDM_CONFIG_WINDOW, "配置窗口");
    HMENU about = CreatePopupMenu();
    AppendMenuA(about, MF_STRING, IDM_ABOUT, "关于软件");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(tools), "工具");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(functions), "功能");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(config), "配置");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(about), "关于");
    return bar;
}

}  // namespace

const char* MainWindow::AboutText()
{
    return "----------- Sorvalen -----------\r\n\r\n"
           "-----------  软件说明  -----------\r\n\r\n"
           "  快捷式的扫描、优化内存、内存占用率极低。\r\n\r\n"
           "可快速扫描文件的 MD5 与 大小 和 附属文件 另可扫描注册表键值。\r\n\r\n"
           "实体化的进度、让您知晓扫描位置、扫描进度、独特的暂停扫描、让\r\n\r\n"
           "扫描随自己控制不受约束、生成扫描报告、让您更准确的知晓文件是\r\n\r\n"
           "否存在、内附任务管理器、可快捷、锁定进程、结束进程、另优美皮肤\r\n\r\n"
           "随意换。界面不在单调优美皮肤想换就换。";
}

MainWindow::MainWindow(ProgramState& state, Stores& stores)
    : state_(state),
      stores_(stores),
      model_(
          [this] {
              // One reflection pending at most, however fast a worker changes the model.
              if (!reflectPosted_.exchange(true) && hwnd_) PostMessageA(hwnd_, WM_APP_REFLECT, 0, 0);
          },
          [](const Text& text, const Text& title) {
              if (title.empty())
                  ShowMessage(text);
              else
                  ShowMessage(text, 0, title);
          }),
      run_(state, stores, model_)
{
}

bool MainWindow::Create(const CreatedHandler& onCreated)
{
    INITCOMMONCONTROLSEX common = {sizeof common, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&common);

    const int x = (GetSystemMetrics(SM_CXSCREEN) - kOuterWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - kOuterHeight) / 2;
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    if (!CreateTopLevel(MAIN_WINDOW_CLASS, "Sorvalen V1.2", style, x, y, kOuterWidth,
                        kOuterHeight, BuildMenuBar(), GetSysColorBrush(COLOR_BTNFACE)))
        return false;

    font_ = CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_DONTCARE, "宋体");
    BuildControls(hwnd_, kControls, static_cast<int>(sizeof kControls / sizeof kControls[0]),
                  font_);
    ReadControlsIntoModel();
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
    if (onCreated) onCreated(*this);
    return hwnd_ != nullptr;
}

bool MainWindow::DeletesRegistryValues() const
{
    return (GetMenuState(GetMenu(hwnd_), IDM_CLEAR_REGISTRY, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void MainWindow::ToggleMenuCheck(int id)
{
    HMENU menu = GetMenu(hwnd_);
    const bool checked = (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
    CheckMenuItem(menu, id, MF_BYCOMMAND | (checked ? MF_UNCHECKED : MF_CHECKED));
    model_.SetDeletesRegistryValues(!checked);
}

void MainWindow::ChooseScanFolder() { run_.SetChosenFolder(BrowseForFolder(state_, hwnd_)); }

// The controls as created become the model's first state.
void MainWindow::ReadControlsIntoModel()
{
    for (int i = 0; i < static_cast<int>(ScanControl::Count); ++i) {
        const auto c = static_cast<ScanControl>(i);
        HWND control = Control(kScanControlIds[i]);
        model_.TakeTypedText(c, ControlText(control));
        model_.SetEnabled(c, IsWindowEnabled(control) != FALSE);
        if (IsChoice(kScanControlIds[i]))
            model_.SetChecked(c, SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED);
    }
    shown_ = model_.Snapshot();
}

// A click on a radio button or check box: the control already shows it.
void MainWindow::TakeUserChoice(int id)
{
    for (int other : {IDC_RADIO1, IDC_RADIO2, IDC_CHECK1, IDC_CHECK2, IDC_CHECK4}) {
        const ScanControl c = ScanControlOf(other);
        const bool checked = SendMessageA(Control(other), BM_GETCHECK, 0, 0) == BST_CHECKED;
        shown_.checked[static_cast<int>(c)] = checked;
        model_.SetChecked(c, checked);
    }
    if (id == IDC_RADIO2) ChooseScanFolder();
}

void MainWindow::Reflect()
{
    const ScanControlsState now = model_.Snapshot();
    reflecting_ = true;
    for (int i = 0; i < static_cast<int>(ScanControl::Count); ++i) {
        HWND control = Control(kScanControlIds[i]);
        if (now.text[i] != shown_.text[i]) SetWindowTextA(control, now.text[i].c_str());
        if (now.enabled[i] != shown_.enabled[i]) EnableWindow(control, now.enabled[i]);
        if (now.checked[i] != shown_.checked[i])
            SendMessageA(control, BM_SETCHECK, now.checked[i] ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    HWND progress = Control(IDC_PROGRESS1);
    if (now.progressMaximum != shown_.progressMaximum)
        SendMessageA(progress, PBM_SETRANGE32, 0, now.progressMaximum);
    if (now.progressPosition != shown_.progressPosition ||
        now.progressMaximum != shown_.progressMaximum)
        SendMessageA(progress, PBM_SETPOS, now.progressPosition, 0);
    if (now.timerPeriod != shown_.timerPeriod) {
        if (now.timerPeriod > 0)
            SetTimer(hwnd_, TIMER_CLOCK1, now.timerPeriod, nullptr);
        else
            KillTimer(hwnd_, TIMER_CLOCK1);
    }
    reflecting_ = false;
    shown_ = now;
}

void MainWindow::OnCommand(int id, int notification)
{
    switch (id) {
    case IDM_CLEAR_REGISTRY: ToggleMenuCheck(id); return;
    case IDM_ABOUT: ShowMessage(AboutText()); return;
    case IDM_CONFIG_WINDOW: OpenConfigWindow(state_, hwnd_); return;
    case IDM_FILE_SIZE:
    case IDM_FILE_MD5: OpenToolWindow(state_, hwnd_); return;
    case IDM_TASK_MANAGER: OpenTaskManagerWindow(); return;
    case IDC_BUTTON1: if (notification == BN_CLICKED) run_.StartOrContinueScan(); return;
    case IDC_BUTTON2: if (notification == BN_CLICKED) run_.StopScan(); return;
    case IDC_BUTTON3: if (notification == BN_CLICKED) run_.PauseScan(); return;
    case IDC_EDIT1:
    case IDC_EDIT2:
        if (notification == EN_CHANGE && !reflecting_) {
            const ScanControl c = ScanControlOf(id);
            const Text typed = ControlText(Control(id));
            shown_.text[static_cast<int>(c)] = typed;
            model_.TakeTypedText(c, typed);
        }
        return;
    default:
        if (IsChoice(id) && notification == BN_CLICKED) TakeUserChoice(id);
        return;
    }
}

LRESULT MainWindow::OnColorStatic(HDC dc, HWND control)
{
    const int id = GetDlgCtrlID(control);
    for (const LabelColour& l : kLabelColours)
        if (l.id == id) SetTextColor(dc, l.colour);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT MainWindow::StoreSize(WPARAM store) const
{
    switch (store) {
    case STORE_SIZE_DATABASE_TEXT: return TextLength(stores_.sizeDatabaseText.GetText());
    case STORE_MD5_DATABASE_TEXT: return TextLength(stores_.md5DatabaseText.GetText());
    case STORE_MD5_LINES: return stores_.md5Lines.Count();
    case STORE_ATTACHED_NAMES: return stores_.attachedNames.Count();
    case STORE_REGISTRY_LINES: return stores_.registryLines.Count();
    case STORE_FOUND_FILES: return stores_.foundFiles.Count();
    case STORE_MATCHED_FILES: return stores_.matchedFiles.Count();
    case STORE_DRIVE_ROOTS: return stores_.driveRoots.Count();
    default: return -1;
    }
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_CTLCOLORSTATIC:
        return OnColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_APP_STORE_SIZE:
        return StoreSize(wParam);
    case WM_APP_REFLECT:
        // Changes that come meanwhile wait for the timer: a queue that never runs
        // empty would starve WM_TIMER, and with it the elapsed-seconds clock.
        Reflect();
        SetTimer(hwnd_, TIMER_REFLECT, 25, nullptr);
        return 0;
    case WM_SIZE:
        MinimiseToTray(hwnd_, wParam);
        return 0;
    case WM_TIMER:
        if (wParam == TIMER_CLOCK1) run_.CountElapsedSecond();
        if (wParam == TIMER_REFLECT) {
            KillTimer(hwnd_, TIMER_REFLECT);
            reflectPosted_ = false;
            Reflect();
        }
        return 0;
    case WM_DESTROY:
        // Closing ends the program at once; workers stop at their next step.
        run_.EndWorkers(300);
        KillTimer(hwnd_, TIMER_CLOCK1);
        if (font_) DeleteObject(font_);
        font_ = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        return BaseWindow::HandleMessage(message, wParam, lParam);
    }
}
