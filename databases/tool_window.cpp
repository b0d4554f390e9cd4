#include "databases/tool_window.h"

#include "core/files.h"
#include "core/message.h"
#include "core/profile.h"
#include "core/system.h"
#include "databases/folder_picker.h"
#include "databases/tool_window_ids.h"
#include "scan/walk.h"
#include "ui/layout.h"

namespace {

const ControlSpec kControls[] = {
    {IDC_TOOL_LABEL1, ControlKind::Label, "所在文件夹：", 8, 13, 80, 16, 0, 0},
    {IDC_TOOL_EDIT1, ControlKind::Edit, "", 80, 8, 128, 24, 0, 0},
    {IDC_TOOL_BUTTON1, ControlKind::Button, "选择", 216, 8, 72, 24, 0, 0},
    {IDC_TOOL_LABEL5, ControlKind::Label, "主程序名：", 20, 40, 56, 24, 0, 0},
    {IDC_TOOL_COMBO1, ControlKind::Combo, "", 80, 40, 184, 20, 0, 0},
    {IDC_TOOL_LABEL2, ControlKind::Label, "程序大小：", 19, 77, 56, 16, 0, 0},
    {IDC_TOOL_EDIT2, ControlKind::Edit, "", 80, 72, 208, 24, 0, 0},
    {IDC_TOOL_LABEL3, ControlKind::Label, "程序 MD5：", 18, 109, 56, 16, 0, 0},
    {IDC_TOOL_EDIT3, ControlKind::Edit, "", 80, 104, 208, 24, 0, 0},
    {IDC_TOOL_LABEL4, ControlKind::Label, "程序备注：", 17, 136, 56, 32, 0, 0},
    {IDC_TOOL_EDIT4, ControlKind::Edit, "", 80, 136, 208, 24, 0, 0},
    {IDC_TOOL_LABEL6, ControlKind::Label, "注册表键值：", 8, 176, 68, 24, 0, 0},
    {IDC_TOOL_EDIT5, ControlKind::Edit, "", 80, 168, 208, 88, 0,
     ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL},
    {IDC_TOOL_BUTTON2, ControlKind::Button, "写入", 294, 200, 84, 24, 0, 0},
    {IDC_TOOL_BUTTON3, ControlKind::Button, "退出", 294, 232, 85, 24, 0, 0},
};

bool IsEndMarker(unsigned char c) { return c == 0x00 || c == 0x1A; }

Text ControlText(HWND control)
{
    const int length = GetWindowTextLengthA(control);
    Text text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(control, &text[0], length + 1)));
    return text;
}

Text ComboItemText(HWND combo, int index)
{
    const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) return Text();
    Text text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT copied =
        SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied == CB_ERR ? 0 : static_cast<size_t>(copied));
    return text;
}

// The database's current text; false when it exists but cannot be read, so that
// it is not replaced by the new entries alone.
bool ReadDatabase(const Text& path, Text& text)
{
    const Bytes bytes = ReadWholeFile(path);
    text = BytesToText(bytes);
    if (!bytes.empty() || path.empty()) return true;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) ||
           FileSize(path) == 0;
}

// Writes `content` to path + ".new" and only then puts it in the place of `path`.
bool ReplaceDatabase(const Text& path, const Text& content)
{
    if (path.empty()) return true;
    const DWORD old = GetFileAttributesA(path.c_str());
    // The system refuses to replace a read-only file; not every layer asks, so ask here.
    if (old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_READONLY)) return false;
    const Text fresh = ConcatTexts(path, ".new");
    if (!WriteWholeFile(fresh, TextToBytes(content))) {
        DeleteFileA(fresh.c_str());
        return false;
    }
    if (!MoveFileExA(fresh.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(fresh.c_str());
        return false;
    }
    if (old != INVALID_FILE_ATTRIBUTES && (old & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
        SetFileAttributesA(path.c_str(), old);
    return true;
}

}  // namespace

std::vector<Text> SplitTextLines(const Text& text)
{
    std::vector<Text> lines;
    const std::size_t n = text.size();
    std::size_t at = 0;
    while (at < n && !IsEndMarker(static_cast<unsigned char>(text[at]))) {
        std::size_t end = at;
        while (end < n) {
            const unsigned char c = static_cast<unsigned char>(text[end]);
            if (c == '\n' || IsEndMarker(c)) break;
            // A lead byte takes the next byte with it, whatever it is.
            end += IsLeadByte(c) ? 2 : 1;
        }
        if (end > n) end = n;
        Text line = text.substr(at, end - at);
        at = end < n && text[end] == '\n' ? end + 1 : end;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool WriteDatabaseEntries(const Text& configPath, const EntryFields& fields)
{
    const char* const sections[] = {kMd5Section, kSizeSection, kAttachedSection,
                                    kRegistrySection};
    Text path[4], text[4];
    bool readable[4];
    for (int i = 0; i < 4; ++i) {
        path[i] = ReadIniValue(configPath, sections[i], kDataKey);
        readable[i] = ReadDatabase(path[i], text[i]);
    }
    Text& md5 = text[0];
    Text& size = text[1];
    Text& attached = text[2];
    Text& registry = text[3];

    md5 += ConcatTexts(fields.md5Text, "|", fields.note, "\r\n", "\r\n");
    size += ConcatTexts("#", fields.sizeText);
    const std::vector<Text> lines = SplitTextLines(fields.registryText);
    for (const Text& line : lines) registry += ConcatTexts(line, "|", fields.note, "\r\n");
    if (lines.empty()) registry += "\r\n";
    for (const Text& name : fields.listedNames) {
        SleepMs(1);
        if (CompareTexts(name, fields.mainName) != 0) attached += ConcatTexts("\r\n", name);
    }

    bool all = true;
    for (int i = 0; i < 4; ++i) {
        if (readable[i])
            all = ReplaceDatabase(path[i], text[i]) && all;
        else
            all = false;
    }
    return all;
}

ToolWindow::ToolWindow(const Text& configPath, ToolWindowDialogs dialogs)
    : configPath_(configPath), dialogs_(std::move(dialogs))
{
}

ToolWindow::~ToolWindow()
{
    if (hwnd_) DestroyWindow(hwnd_);
}

bool ToolWindow::OpenAfresh()
{
    if (hwnd_) DestroyWindow(hwnd_);
    ++generation_;
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    if (!CreateTopLevel(TOOL_WINDOW_CLASS, "工具窗口", style, 50, 50, 390, 288, nullptr,
                        GetSysColorBrush(COLOR_BTNFACE)))
        return false;
    font_ = CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_DONTCARE, "宋体");
    BuildControls(hwnd_, kControls, static_cast<int>(sizeof kControls / sizeof kControls[0]),
                  font_);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
    return true;
}

void ToolWindow::ListFolderFiles()
{
    const unsigned generation = generation_;
    const Text chosen = dialogs_.chooseFolder ? dialogs_.chooseFolder() : Text();
    if (!StillOpen(generation)) return;
    SetWindowTextA(Control(IDC_TOOL_EDIT1), chosen.c_str());
    Text folder = ControlText(Control(IDC_TOOL_EDIT1));
    if (folder.empty()) {
        if (dialogs_.show) dialogs_.show("目录名不能为空");
        return;
    }
    if (FindLastText(folder, "\\") != TextLength(folder)) folder += "\\";
    SearchHandle search;
    for (Text name = FindEntry(ConcatTexts(folder, "*.*"), EntryMode::FilesOnly, search);
         !name.empty(); name = FindEntry(Text(), EntryMode::FilesOnly, search)) {
        // Large folders: the program stays responsive, and this window may go meanwhile.
        ProcessPendingMessages();
        if (!StillOpen(generation)) break;
        const Text path = ConcatTexts(folder, name);
        const Text bare = path.substr(static_cast<size_t>(FindLastText(path, "\\")));
        SendMessageA(Control(IDC_TOOL_COMBO1), CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(bare.c_str()));
    }
    CloseSearch(search);
}

void ToolWindow::ShowFileSignature()
{
    HWND combo = Control(IDC_TOOL_COMBO1);
    const LRESULT selected = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) return;
    const Text path = ConcatTexts(ControlText(Control(IDC_TOOL_EDIT1)), "\\",
                                  ComboItemText(combo, static_cast<int>(selected)));
    SetWindowTextA(Control(IDC_TOOL_EDIT2), NumberToText(FileSize(path)).c_str());
    // A large file is read in chunks with the messages handled between them; a newer
    // selection or the window's end abandons this one.
    const unsigned generation = generation_, run = ++signatureRun_;
    auto current = [&] { return StillOpen(generation) && run == signatureRun_; };
    const Text md5 = FileMd5Text(path, [&] {
        ProcessPendingMessages();
        return current();
    });
    if (current()) SetWindowTextA(Control(IDC_TOOL_EDIT3), md5.c_str());
}

void ToolWindow::WriteEntries()
{
    EntryFields fields;
    fields.sizeText = ControlText(Control(IDC_TOOL_EDIT2));
    fields.md5Text = ControlText(Control(IDC_TOOL_EDIT3));
    fields.note = ControlText(Control(IDC_TOOL_EDIT4));
    fields.registryText = ControlText(Control(IDC_TOOL_EDIT5));
    HWND combo = Control(IDC_TOOL_COMBO1);
    const LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) fields.listedNames.push_back(ComboItemText(combo, i));
    fields.mainName = ControlText(combo);
    WriteDatabaseEntries(configPath_, fields);
    if (dialogs_.show) dialogs_.show("写入成功！下次运行生效！");
}

LRESULT ToolWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam), notification = HIWORD(wParam);
        if (id == IDC_TOOL_COMBO1) {
            if (notification == CBN_SELCHANGE) ShowFileSignature();
            return 0;
        }
        if (notification != BN_CLICKED) return 0;
        switch (id) {
        case IDC_TOOL_BUTTON1: ListFolderFiles(); return 0;
        case IDC_TOOL_BUTTON2: WriteEntries(); return 0;
        case IDC_TOOL_BUTTON3: DestroyWindow(hwnd_); return 0;
        default: return 0;
        }
    }
    case WM_DESTROY:
        if (font_) DeleteObject(font_);
        font_ = nullptr;
        return 0;
    default:
        return BaseWindow::HandleMessage(message, wParam, lParam);
    }
}

void OpenToolWindow(ProgramState& state, HWND mainWindow)
{
    // Lives to the end of the process, like the program state it works for.
    static ToolWindow* window = new ToolWindow(
        ConfigPath(ProgramFolder()),
        {[&state, mainWindow] { return BrowseForFolder(state, mainWindow); },
         [](const Text& text) { ShowMessage(text); }});
    window->OpenAfresh();
}
