// A window with the kinds of controls the program uses, and a message box over it.
//   skin_demo.exe [--skin <SkinH_EL.dll>] [--ready <file>] [--hold <milliseconds>]
// With --skin the library is attached as the program does it: after the controls
// exist, with a copy of the embedded skin released right after the call. Once the
// message box shows, the file named by --ready is created; --hold later the demo ends.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "skin/embedded.h"

namespace {

using AttachSkinFunction = int(WINAPI*)(const unsigned char*, int, const char*, int, int, int);

const char* g_skinLibrary = nullptr;
const char* g_readyFile = nullptr;
int g_holdMilliseconds = 3000;
HFONT g_kaiFont = nullptr;

enum : UINT { kShowMessage = WM_APP + 1 };
UINT_PTR g_endTimer = 0;  // thread timers get their ids from the system
enum : int { kBlueLabel = 101, kGreenLabel = 102 };

HWND Control(HWND parent, const char* kind, const char* caption, DWORD style, int x, int y, int w, int h,
             int id = 0, DWORD exStyle = 0)
{
    HWND control = CreateWindowExA(exStyle, kind, caption, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                                   nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return control;
}

void CreateControls(HWND window)
{
    Control(window, "BUTTON", "扫描类型", BS_GROUPBOX, 3, 8, 277, 88);
    HWND wholeDisk = Control(window, "BUTTON", "全盘扫描", BS_AUTORADIOBUTTON | WS_GROUP, 10, 32, 72, 24);
    SendMessageA(wholeDisk, BM_SETCHECK, BST_CHECKED, 0);
    Control(window, "BUTTON", "指定文件夹扫描(扫描速度快)", BS_AUTORADIOBUTTON, 89, 36, 176, 16);
    Control(window, "BUTTON", "大小+MD5", BS_AUTOCHECKBOX | WS_GROUP, 11, 64, 72, 24);
    Control(window, "BUTTON", "扫描调用文件", BS_AUTOCHECKBOX, 90, 68, 96, 16);
    Control(window, "BUTTON", "开始", BS_DEFPUSHBUTTON, 8, 112, 72, 32);
    HWND pause = Control(window, "BUTTON", "暂停", BS_PUSHBUTTON, 96, 112, 72, 32);
    EnableWindow(pause, FALSE);
    Control(window, "BUTTON", "关闭", BS_PUSHBUTTON, 192, 112, 72, 32);
    Control(window, "STATIC", "扫描实体化进度：", 0, 8, 160, 96, 24);
    Control(window, "EDIT", "1024", ES_AUTOHSCROLL, 104, 160, 64, 24, 0, WS_EX_CLIENTEDGE);
    Control(window, "EDIT", "65536", ES_AUTOHSCROLL, 177, 160, 71, 24, 0, WS_EX_CLIENTEDGE);
    Control(window, "STATIC", "已用时：", 0, 8, 192, 48, 24);
    Control(window, "STATIC", "128", 0, 64, 192, 56, 24, kBlueLabel);
    Control(window, "STATIC", "扫描类型：", 0, 8, 230, 56, 24);
    Control(window, "STATIC", "大小+MD5 比对", 0, 72, 230, 200, 24, kGreenLabel);
    HWND progress = Control(window, PROGRESS_CLASSA, "", 0, 68, 262, 204, 24);
    SendMessageA(progress, PBM_SETPOS, 60, 0);
    HWND list = Control(window, "LISTBOX", "", WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 8, 294, 264, 52, 0,
                        WS_EX_CLIENTEDGE);
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("C:"));
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("D:"));
    HWND kai = Control(window, "STATIC", "楷体_GB2312 标签", 0, 8, 352, 264, 20);
    g_kaiFont = CreateFontA(-14, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "楷体_GB2312");
    SendMessageA(kai, WM_SETFONT, reinterpret_cast<WPARAM>(g_kaiFont), FALSE);
}

void AttachSkin()
{
    HMODULE library = LoadLibraryA(g_skinLibrary);
    auto attach = library ? reinterpret_cast<AttachSkinFunction>(
                                reinterpret_cast<void*>(GetProcAddress(library, "SkinH_AttachRes")))
                          : nullptr;
    if (!attach) {
        MessageBoxA(nullptr, "SkinH_EL.dll / SkinH_AttachRes", "skin_demo", MB_OK);
        return;
    }
    std::vector<unsigned char> copy(EmbeddedSkin(), EmbeddedSkin() + kEmbeddedSkinSize);
    attach(copy.data(), kEmbeddedSkinSize, "", 0, 0, 0);
}

void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    if (id == g_endTimer) ExitProcess(0);
    if (g_readyFile) {
        HANDLE file = CreateFileA(g_readyFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
    g_endTimer = SetTimer(nullptr, 0, g_holdMilliseconds, OnTimer);
}

LRESULT CALLBACK DemoProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        CreateControls(window);
        if (g_skinLibrary) AttachSkin();
        PostMessageA(window, kShowMessage, 0, 0);
        return 0;
    case kShowMessage:
        SetTimer(nullptr, 0, 1500, OnTimer);
        MessageBoxA(nullptr, "数据库加载成功！", "信息：", MB_OK | MB_ICONINFORMATION);
        return 0;
    case WM_CTLCOLORSTATIC: {
        int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        if (id == kBlueLabel || id == kGreenLabel) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, id == kBlueLabel ? RGB(0, 96, 192) : RGB(0, 128, 0));
            SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        break;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    for (int i = 1; i + 1 < __argc; i += 2) {
        if (std::strcmp(__argv[i], "--skin") == 0) g_skinLibrary = __argv[i + 1];
        else if (std::strcmp(__argv[i], "--ready") == 0) g_readyFile = __argv[i + 1];
        else if (std::strcmp(__argv[i], "--hold") == 0) g_holdMilliseconds = std::atoi(__argv[i + 1]);
    }
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DemoProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "SorvalenSkinDemo";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "SorvalenSkinDemo", g_skinLibrary ? "Sorvalen V1.2 (skin)" : "Sorvalen V1.2",
                                  WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 24, 24, 292, 411,
                                  nullptr, nullptr, instance, nullptr);
    ShowWindow(window, show);
    UpdateWindow(window);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
