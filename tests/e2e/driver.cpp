#include "tests/e2e/driver.h"

#include <vector>

namespace {

Text ModuleFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    Text p = path;
    return p.substr(0, p.find_last_of('\\'));
}

Text FullPath(const Text& path)
{
    char full[MAX_PATH];
    DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return n && n < MAX_PATH ? Text(full) : path;
}

struct Search {
    DWORD process;
    const char* className;
    const char* title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param)
{
    auto* s = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != s->process) return TRUE;
    char cls[256] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (lstrcmpA(cls, s->className) != 0) return TRUE;
    if (s->title && WindowText(window) != s->title) return TRUE;
    s->found = window;
    return FALSE;
}

HWND FindProcessWindow(DWORD process, const char* className, const char* title)
{
    Search s{process, className, title, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

}  // namespace

Text BuiltProgram() { return FullPath(ModuleFolder() + "\\..\\..\\Sorvalen.exe"); }
Text BuiltSkinLibrary() { return FullPath(ModuleFolder() + "\\..\\..\\SkinH_EL.dll"); }

RunningProgram::RunningProgram(const Text& exePath, const Text& currentDirectory)
{
    Text folder = currentDirectory;
    if (folder.empty()) folder = exePath.substr(0, exePath.find_last_of('\\'));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::vector<char> commandLine(exePath.begin(), exePath.end());
    commandLine.push_back('\0');
    if (CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       folder.c_str(), &startup, &info)) {
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        id_ = info.dwProcessId;
    }
}

RunningProgram::~RunningProgram()
{
    if (!process_) return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

HWND RunningProgram::WaitWindow(const char* className, const char* title, int timeoutMs) const
{
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindProcessWindow(id_, className, title)) != nullptr; },
              timeoutMs);
    return found;
}

HWND RunningProgram::MainWindow(int timeoutMs) const
{
    return WaitWindow("SorvalenMainWindow", nullptr, timeoutMs);
}

HWND RunningProgram::WaitMessageBox(int timeoutMs) const
{
    HWND box = nullptr;
    WaitUntil(
        [&] {
            box = FindProcessWindow(id_, "#32770", nullptr);
            return box && IsWindowVisible(box);
        },
        timeoutMs);
    return box && IsWindowVisible(box) ? box : nullptr;
}

bool RunningProgram::WaitNoMessageBox(int timeoutMs) const
{
    return WaitUntil([&] { return FindProcessWindow(id_, "#32770", nullptr) == nullptr; },
                     timeoutMs);
}

bool RunningProgram::WaitExit(int timeoutMs, DWORD* exitCode) const
{
    if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return false;
    if (exitCode) GetExitCodeProcess(process_, exitCode);
    return true;
}

Text WindowText(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return Text();
    std::vector<char> buffer(length + 2);
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                        SMTO_ABORTIFHUNG, 5000, &copied);
    return Text(buffer.data(), copied);
}

Text MessageBoxText(HWND box) { return WindowText(GetDlgItem(box, 0xFFFF)); }

void AnswerMessageBox(HWND box, int buttonId)
{
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, buttonId)));
}

Rect WindowRectOf(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

Rect ClientRectOf(HWND control)
{
    RECT r = {};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void PostClick(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

namespace {

struct ChildSearch {
    const char* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM param)
{
    auto* s = reinterpret_cast<ChildSearch*>(param);
    char cls[64] = {};
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, s->className) == 0) s->found.push_back(child);
    return TRUE;
}

std::vector<HWND> ChildrenOfClass(HWND parent, const char* className)
{
    ChildSearch s{className, {}};
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

struct DialogSearch {
    DWORD process;
    HWND found;
};

BOOL CALLBACK MatchFolderDialog(HWND window, LPARAM param)
{
    auto* s = reinterpret_cast<DialogSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char cls[16] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (owner == s->process && lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(window) &&
        !ChildrenOfClass(window, "SysTreeView32").empty()) {
        s->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND WaitFolderDialog(const RunningProgram& app, int timeoutMs)
{
    DialogSearch s{app.Id(), nullptr};
    WaitUntil(
        [&] {
            EnumWindows(MatchFolderDialog, reinterpret_cast<LPARAM>(&s));
            return s.found != nullptr;
        },
        timeoutMs);
    return s.found;
}

std::vector<Text> StaticTexts(HWND dialog)
{
    std::vector<Text> texts;
    for (HWND child : ChildrenOfClass(dialog, "Static")) texts.push_back(WindowText(child));
    return texts;
}
