// The skin blocks the program carries and what SkinH_EL.dll does to the windows of
// the thread that attaches it. Expected values are read from the skin bytes at the
// offsets skin/skin_format.h documents.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "skin/embedded.h"
#include "skin/skin_format.h"
#include "tests/win/test_support.h"

namespace {

using Bytes8 = std::vector<unsigned char>;
using AttachFunction = int(WINAPI*)(const unsigned char*, int, const char*, int, int, int);

std::uint32_t Le16(const Bytes8& b, size_t at) { return b[at] | b[at + 1] << 8; }
std::uint32_t Le32(const Bytes8& b, size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
void Put16(Bytes8& b, size_t at, std::uint32_t v)
{
    const unsigned char le[2] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8)};
    std::copy(le, le + 2, b.begin() + at);
}
void Put32(Bytes8& b, size_t at, std::uint32_t v)
{
    const unsigned char le[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                 static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
    std::copy(le, le + 4, b.begin() + at);
}

// FNV-1a over the file with the checksum field (offset 12) read as zero.
std::uint32_t Checksum(const Bytes8& b)
{
    std::uint32_t hash = 2166136261u;
    for (size_t i = 0; i < b.size(); ++i) hash = (hash ^ (i >= 12 && i < 16 ? 0 : b[i])) * 16777619u;
    return hash;
}

// A skin file, decoded at the documented offsets.
struct SkinFile {
    Bytes8 bytes;

    static SkinFile Embedded() { return {Bytes8(EmbeddedSkin(), EmbeddedSkin() + kEmbeddedSkinSize)}; }
    COLORREF Colour(int slot) const { return Le32(bytes, 52 + 4 * slot); }
    void SetColour(int slot, COLORREF c) { Put32(bytes, 52 + 4 * slot, c); }
    int FontHeight() const { return static_cast<std::int16_t>(Le16(bytes, 180)); }
    int FontWeight() const { return static_cast<int>(Le16(bytes, 182)); }
    int FaceCount() const { return bytes[185]; }
    std::string Face(int i) const { return reinterpret_cast<const char*>(&bytes[188 + 32 * i]); }
    void Reseal() { Put32(bytes, 12, Checksum(bytes)); }
};

std::string BuildRoot()
{
    std::string root = SKIN_BUILD_ROOT;
    if (!root.empty() && root[0] == '/') root = "Z:" + root;  // Wine's drive for the host's root
    return root;
}

std::string LibraryPath() { return BuildRoot() + "\\SkinH_EL.dll"; }

// Whether a skin has been attached in this process (ctest runs each test in its own).
bool g_attachedBefore = false;

AttachFunction Attach()
{
    static AttachFunction attach = [] {
        HMODULE library = LoadLibraryA(LibraryPath().c_str());
        return library ? reinterpret_cast<AttachFunction>(
                             reinterpret_cast<void*>(GetProcAddress(library, "SkinH_AttachRes")))
                       : nullptr;
    }();
    return attach;
}

// As the program calls it: a copy of the bytes, released (and scribbled over) right after.
int AttachCopy(const Bytes8& bytes, int size)
{
    AttachFunction attach = Attach();
    if (!attach) return -1;
    auto* copy = static_cast<unsigned char*>(HeapAlloc(GetProcessHeap(), 0, bytes.size() + 1));
    std::memcpy(copy, bytes.data(), bytes.size());
    int result = attach(copy, size, "", 0, 0, 0);
    std::memset(copy, 0xCC, bytes.size());
    HeapFree(GetProcessHeap(), 0, copy);
    if (result == 1) g_attachedBefore = true;
    return result;
}

int AttachEmbedded() { return AttachCopy(SkinFile::Embedded().bytes, kEmbeddedSkinSize); }

// A 32-bit top-down bitmap to paint into and read back exactly.
class Canvas {
public:
    Canvas(int width, int height) : width_(width)
    {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
    }
    ~Canvas()
    {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    COLORREF Pixel(int x, int y) const
    {
        std::uint32_t p = bits_[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

private:
    int width_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    std::uint32_t* bits_ = nullptr;
};

struct Colours {
    COLORREF brush;
    COLORREF text;
};

// What a parent answers when `control` asks for its colours.
Colours AskColours(HWND parent, UINT message, HWND control)
{
    Canvas canvas(2, 2);
    auto brush = reinterpret_cast<HBRUSH>(SendMessageA(parent, message, reinterpret_cast<WPARAM>(canvas.dc()),
                                                       reinterpret_cast<LPARAM>(control)));
    LOGBRUSH described = {};
    GetObjectA(brush, sizeof described, &described);
    return {described.lbColor, GetTextColor(canvas.dc())};
}

LOGFONTA FontOf(HWND control)
{
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

HFONT FontHandleOf(HWND control) { return reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)); }

bool IsSkinFace(const SkinFile& skin, const std::string& face)
{
    for (int i = 0; i < skin.FaceCount(); ++i)
        if (lstrcmpiA(skin.Face(i).c_str(), face.c_str()) == 0) return true;
    return false;
}

constexpr COLORREF kBlueText = RGB(0, 96, 192);
constexpr COLORREF kOwnBack = RGB(200, 30, 30);
enum : int { kPlainLabel = 1, kBlueLabel = 2, kOwnBrushLabel = 3 };

// The test program's window: like the program's, it colours one label itself and
// gives another a brush of its own.
LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    static HBRUSH ownBrush = CreateSolidBrush(kOwnBack);
    if (message == WM_CTLCOLORSTATIC) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        switch (GetDlgCtrlID(reinterpret_cast<HWND>(lParam))) {
        case kBlueLabel:
            SetTextColor(dc, kBlueText);
            SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        case kOwnBrushLabel:
            SetBkColor(dc, kOwnBack);
            return reinterpret_cast<LRESULT>(ownBrush);
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterTestWindow()
{
    static bool registered = [] {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        WNDCLASSA c = {};
        c.lpfnWndProc = TestWindowProc;
        c.hInstance = GetModuleHandleA(nullptr);
        c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        c.lpszClassName = "SkinTestWindow";
        return RegisterClassA(&c) != 0;
    }();
    ASSERT_TRUE(registered);
}

// A window with the controls the program uses; each control gets the stock GUI font
// after creation, the way the program's code sets fonts, except one label that the
// application gives "楷体_GB2312".
struct TestWindow {
    HWND window{}, label{}, blueLabel{}, ownBrushLabel{}, kaiLabel{}, edit{}, readOnlyEdit{}, list{},
        button{}, progress{};
    HFONT kaiFont{};

    TestWindow()
    {
        RegisterTestWindow();
        window = CreateWindowExA(0, "SkinTestWindow", "skin test", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        label = Child("STATIC", "扫描类型：", 0, kPlainLabel);
        blueLabel = Child("STATIC", "12", 0, kBlueLabel);
        ownBrushLabel = Child("STATIC", "own", 0, kOwnBrushLabel);
        kaiLabel = Child("STATIC", "楷体", 0, 0);
        edit = Child("EDIT", "1024", ES_AUTOHSCROLL, 0);
        readOnlyEdit = Child("EDIT", "2048", ES_READONLY, 0);
        list = Child("LISTBOX", "", 0, 0);
        button = Child("BUTTON", "开始", BS_PUSHBUTTON, 0);
        progress = Child(PROGRESS_CLASSA, "", 0, 0);
        kaiFont = CreateFontA(-14, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "楷体_GB2312");
        SendMessageA(kaiLabel, WM_SETFONT, reinterpret_cast<WPARAM>(kaiFont), FALSE);
    }
    ~TestWindow()
    {
        DestroyWindow(window);
        DeleteObject(kaiFont);
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND Child(const char* kind, const char* text, DWORD style, int id)
    {
        HWND child = CreateWindowExA(0, kind, text, WS_CHILD | WS_VISIBLE | style, 10, 10 + 24 * id, 100, 22, window,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                                     nullptr);
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        return child;
    }
};

// Everything a skinned window shows, checked against the skin's own fields.
// `kaiKept`: the label the application gave "楷体_GB2312" still has it.
void ExpectSkinned(const TestWindow& w, const SkinFile& skin, bool kaiKept)
{
    struct Case {
        const char* what;
        UINT message;
        HWND control;
        COLORREF brush, text;
    } cases[] = {
        {"label", WM_CTLCOLORSTATIC, w.label, skin.Colour(kSkinControlBack), skin.Colour(kSkinText)},
        {"application's blue label", WM_CTLCOLORSTATIC, w.blueLabel, skin.Colour(kSkinControlBack), kBlueText},
        {"label with the application's brush", WM_CTLCOLORSTATIC, w.ownBrushLabel, kOwnBack, skin.Colour(kSkinText)},
        {"edit box", WM_CTLCOLOREDIT, w.edit, skin.Colour(kSkinEditBack), skin.Colour(kSkinEditText)},
        {"read-only edit box", WM_CTLCOLORSTATIC, w.readOnlyEdit, skin.Colour(kSkinEditBack),
         skin.Colour(kSkinEditText)},
        {"list box", WM_CTLCOLORLISTBOX, w.list, skin.Colour(kSkinEditBack), skin.Colour(kSkinEditText)},
        {"button", WM_CTLCOLORBTN, w.button, skin.Colour(kSkinControlBack), skin.Colour(kSkinText)},
    };
    for (const Case& c : cases) {
        Colours got = AskColours(w.window, c.message, c.control);
        EXPECT_EQ(got.brush, c.brush) << c.what;
        EXPECT_EQ(got.text, c.text) << c.what;
    }

    Canvas canvas(300, 300);
    EXPECT_EQ(SendMessageA(w.window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0), 1);
    EXPECT_EQ(canvas.Pixel(150, 150), skin.Colour(kSkinWindowBack));

    std::vector<HWND> skinFont = {w.label, w.blueLabel, w.edit, w.list, w.button};
    if (!kaiKept) skinFont.push_back(w.kaiLabel);
    for (HWND control : skinFont) {
        LOGFONTA font = FontOf(control);
        EXPECT_TRUE(IsSkinFace(skin, font.lfFaceName)) << font.lfFaceName;
        EXPECT_EQ(font.lfHeight, skin.FontHeight());
        EXPECT_EQ(font.lfWeight, skin.FontWeight());
        EXPECT_EQ(FontHandleOf(control), FontHandleOf(w.label)) << "one skin font for all controls";
    }
    if (kaiKept) {
        EXPECT_EQ(FontHandleOf(w.kaiLabel), w.kaiFont);
    }

    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(w.progress, PBM_GETBARCOLOR, 0, 0)), skin.Colour(kSkinSelection));
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(w.progress, PBM_GETBKCOLOR, 0, 0)), skin.Colour(kSkinProgressBack));
}

// ---- The carried blocks ----

TEST(SkinData, EmbeddedSkinFollowsTheSkinFormat)
{
    static_assert(kEmbeddedSkinSize == 16746);
    SkinFile skin = SkinFile::Embedded();
    const Bytes8& b = skin.bytes;
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), ".SHE");
    EXPECT_EQ(Le16(b, 4), 1u);
    EXPECT_EQ(Le16(b, 6), 0u);
    EXPECT_EQ(Le32(b, 8), 16746u);
    EXPECT_EQ(Le32(b, 12), Checksum(b));
    EXPECT_NE(std::memchr(&b[16], 0, 32), nullptr) << "name ends within its 32 bytes";
    EXPECT_GE(Le16(b, 48), 12u);
    for (int slot = 0; slot < static_cast<int>(Le16(b, 48)); ++slot) EXPECT_LE(skin.Colour(slot), 0xFFFFFFu);
    EXPECT_LT(skin.FontHeight(), 0);
    EXPECT_GE(skin.FaceCount(), 1);
    EXPECT_LE(skin.FaceCount(), 8);
    for (int i = 0; i < skin.FaceCount(); ++i) {
        EXPECT_NE(std::memchr(&b[188 + 32 * i], 0, 32), nullptr) << "face " << i;
        EXPECT_FALSE(skin.Face(i).empty()) << "face " << i;
    }
    EXPECT_GE(b[445], 1);
    for (size_t i = 448; i < b.size(); ++i) ASSERT_EQ(b[i], 0) << "filler at " << i;
}

// The export directory of a PE file held in memory: the names it exports.
std::vector<std::string> ExportedNames(const Bytes8& file)
{
    auto u16 = [&](size_t at) { return Le16(file, at); };
    auto u32 = [&](size_t at) { return Le32(file, at); };
    size_t pe = u32(0x3C);
    size_t optional = pe + 24;
    bool pe32plus = u16(optional) == 0x20B;
    std::uint32_t exportRva = u32(optional + (pe32plus ? 112 : 96));
    size_t sections = optional + u16(pe + 20);
    auto offsetOf = [&](std::uint32_t rva) -> size_t {
        for (unsigned i = 0; i < u16(pe + 6); ++i) {
            size_t s = sections + 40 * i;
            std::uint32_t va = u32(s + 12), size = u32(s + 16), raw = u32(s + 20);
            if (rva >= va && rva < va + size) return rva - va + raw;
        }
        return 0;
    };
    std::vector<std::string> names;
    size_t directory = offsetOf(exportRva);
    if (exportRva == 0 || directory == 0) return names;
    size_t nameTable = offsetOf(u32(directory + 32));
    for (unsigned i = 0; i < u32(directory + 24); ++i)
        names.emplace_back(reinterpret_cast<const char*>(&file[offsetOf(u32(nameTable + 4 * i))]));
    return names;
}

TEST(SkinData, EmbeddedLibraryIsTheBuiltLibraryPaddedWithZeros)
{
    static_assert(kEmbeddedSkinLibrarySize == 100933);
    Bytes8 carried(EmbeddedSkinLibrary(), EmbeddedSkinLibrary() + kEmbeddedSkinLibrarySize);
    std::string file = ReadBytes(LibraryPath());
    ASSERT_EQ(file.size(), 100933u) << LibraryPath();
    EXPECT_TRUE(std::memcmp(file.data(), carried.data(), file.size()) == 0);

    ASSERT_EQ(carried[0], 'M');
    ASSERT_EQ(carried[1], 'Z');
    size_t pe = Le32(carried, 0x3C);
    ASSERT_EQ(Le32(carried, pe), 0x4550u);  // "PE\0\0"
#ifdef _WIN64
    EXPECT_EQ(Le16(carried, pe + 4), 0x8664u);
#else
    EXPECT_EQ(Le16(carried, pe + 4), 0x14Cu);
#endif
    size_t sections = pe + 24 + Le16(carried, pe + 20), imageEnd = 0;
    for (unsigned i = 0; i < Le16(carried, pe + 6); ++i) {
        size_t s = sections + 40 * i;
        imageEnd = std::max<size_t>(imageEnd, Le32(carried, s + 20) + Le32(carried, s + 16));
    }
    ASSERT_GT(imageEnd, 0u);
    ASSERT_LE(imageEnd, carried.size());
    for (size_t i = imageEnd; i < carried.size(); ++i) ASSERT_EQ(carried[i], 0) << "padding at " << i;

    EXPECT_EQ(ExportedNames(carried), std::vector<std::string>{"SkinH_AttachRes"});
    EXPECT_NE(Attach(), nullptr) << "SkinH_AttachRes from " << LibraryPath();
}

// ---- Attaching ----

// At attach time every existing control takes the skin font; fonts the application
// sets afterwards stay.
TEST(SkinAttach, SkinsTheWindowsThatAlreadyExist)
{
    TestWindow w;
    ASSERT_EQ(AttachEmbedded(), 1);
    ExpectSkinned(w, SkinFile::Embedded(), false);

    SendMessageA(w.kaiLabel, WM_SETFONT, reinterpret_cast<WPARAM>(w.kaiFont), FALSE);
    EXPECT_EQ(FontHandleOf(w.kaiLabel), w.kaiFont);
    SendMessageA(w.label, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    EXPECT_EQ(FontHandleOf(w.label), FontHandleOf(w.button)) << "a stock font gives way to the skin font";
}

// New controls take the skin font at creation; the application's "楷体_GB2312", set
// after creation, stays, its stock font gives way.
TEST(SkinAttach, SkinsWindowsCreatedLater)
{
    ASSERT_EQ(AttachEmbedded(), 1);
    TestWindow w;  // the library's copy of the skin outlives the caller's
    ExpectSkinned(w, SkinFile::Embedded(), true);
}

TEST(SkinAttach, LeavesWindowsOfOtherThreadsAlone)
{
    ASSERT_EQ(AttachEmbedded(), 1);
    Colours got{};
    std::thread other([&] {
        TestWindow w;
        got = AskColours(w.window, WM_CTLCOLORSTATIC, w.label);
    });
    other.join();
    EXPECT_EQ(got.brush, GetSysColor(COLOR_BTNFACE));
}

// An in-memory dialog template: a label and a push button, font "MS Shell Dlg" 8.
std::vector<WORD> DialogTemplate()
{
    std::vector<WORD> t;
    auto put32 = [&](DWORD v) {
        t.push_back(LOWORD(v));
        t.push_back(HIWORD(v));
    };
    auto text = [&](const wchar_t* s) {
        do t.push_back(*s); while (*s++);
    };
    auto align = [&] {
        if (t.size() % 2) t.push_back(0);
    };
    put32(DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION);
    put32(0);
    t.push_back(2);  // items
    for (WORD v : {0, 0, 160, 60}) t.push_back(v);
    t.push_back(0);  // no menu
    t.push_back(0);  // dialog class
    text(L"skin dialog");
    t.push_back(8);
    text(L"MS Shell Dlg");
    struct Item {
        DWORD style;
        WORD x, y, cx, cy, id, kind;
        const wchar_t* text;
    } items[] = {{WS_CHILD | WS_VISIBLE, 8, 8, 100, 10, 100, 0x0082, L"label"},
                 {WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 8, 30, 50, 14, IDOK, 0x0080, L"OK"}};
    for (const Item& item : items) {
        align();
        put32(item.style);
        put32(0);
        for (WORD v : {item.x, item.y, item.cx, item.cy, item.id}) t.push_back(v);
        t.push_back(0xFFFF);
        t.push_back(item.kind);
        text(item.text);
        t.push_back(0);  // no creation data
    }
    return t;
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

TEST(SkinAttach, SkinsDialogs)
{
    ASSERT_EQ(AttachEmbedded(), 1);
    SkinFile skin = SkinFile::Embedded();
    std::vector<WORD> t = DialogTemplate();
    HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(t.data()),
                                             nullptr, PlainDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    HWND label = GetDlgItem(dialog, 100);
    EXPECT_EQ(AskColours(dialog, WM_CTLCOLORDLG, dialog).brush, skin.Colour(kSkinWindowBack));
    Colours labelColours = AskColours(dialog, WM_CTLCOLORSTATIC, label);
    EXPECT_EQ(labelColours.brush, skin.Colour(kSkinControlBack));
    EXPECT_EQ(labelColours.text, skin.Colour(kSkinText));
    EXPECT_TRUE(IsSkinFace(skin, FontOf(label).lfFaceName)) << FontOf(label).lfFaceName;
    EXPECT_TRUE(IsSkinFace(skin, FontOf(GetDlgItem(dialog, IDOK)).lfFaceName));
    DestroyWindow(dialog);
}

// Filled in while the message box is open, by a timer on the test's thread.
struct MessageBoxSeen {
    bool found = false;
    std::string textFace, buttonFace;
    COLORREF dialogBrush = 0, textBrush = 0, buttonFacePixel = 0;
} g_seen;

BOOL CALLBACK FindBoxText(HWND child, LPARAM found)
{
    char text[64] = {};
    GetWindowTextA(child, text, sizeof text);
    if (std::strcmp(text, "skin message") == 0) *reinterpret_cast<HWND*>(found) = child;
    return TRUE;
}

void CALLBACK InspectMessageBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND box = FindWindowA("#32770", "skin message box");
    if (!box) return;
    KillTimer(nullptr, timer);
    HWND text = nullptr, ok = GetDlgItem(box, IDOK);
    EnumChildWindows(box, FindBoxText, reinterpret_cast<LPARAM>(&text));
    g_seen.found = text != nullptr && ok != nullptr;
    if (g_seen.found) {
        g_seen.textFace = FontOf(text).lfFaceName;
        g_seen.buttonFace = FontOf(ok).lfFaceName;
        g_seen.dialogBrush = AskColours(box, WM_CTLCOLORDLG, box).brush;
        g_seen.textBrush = AskColours(box, WM_CTLCOLORSTATIC, text).brush;
        RECT area;
        GetClientRect(ok, &area);
        Canvas canvas(area.right, area.bottom);
        SendMessageA(ok, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
        g_seen.buttonFacePixel = canvas.Pixel(8, 5);
    }
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
}

TEST(SkinAttach, SkinsMessageBoxes)
{
    ASSERT_EQ(AttachEmbedded(), 1);
    SkinFile skin = SkinFile::Embedded();
    g_seen = {};
    SetTimer(nullptr, 0, 50, InspectMessageBox);
    MessageBoxA(nullptr, "skin message", "skin message box", MB_OK);
    ASSERT_TRUE(g_seen.found);
    EXPECT_TRUE(IsSkinFace(skin, g_seen.textFace)) << g_seen.textFace;
    EXPECT_TRUE(IsSkinFace(skin, g_seen.buttonFace)) << g_seen.buttonFace;
    EXPECT_EQ(g_seen.dialogBrush, skin.Colour(kSkinWindowBack));
    EXPECT_EQ(g_seen.textBrush, skin.Colour(kSkinControlBack));
    EXPECT_EQ(g_seen.buttonFacePixel, skin.Colour(kSkinButtonFace));
}

TEST(SkinAttach, PaintsPushButtonsInItsStates)
{
    ASSERT_EQ(AttachEmbedded(), 1);
    SkinFile skin = SkinFile::Embedded();
    TestWindow w;
    HWND defaultButton = w.Child("BUTTON", "确定", BS_DEFPUSHBUTTON, 9);
    constexpr int kWidth = 100, kHeight = 22;
    auto paint = [&](HWND button, int x, int y) {
        Canvas canvas(kWidth, kHeight);
        SendMessageA(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
        return canvas.Pixel(x, y);
    };
    // Face: a point inside the rounded border, clear of the caption; border: the top edge.
    EXPECT_EQ(paint(w.button, 8, 4), skin.Colour(kSkinButtonFace));
    EXPECT_EQ(paint(w.button, kWidth / 2, 0), skin.Colour(kSkinButtonBorder));
    EXPECT_EQ(paint(defaultButton, kWidth / 2, 0), skin.Colour(kSkinSelection));

    SendMessageA(w.button, BM_SETSTATE, TRUE, 0);
    EXPECT_EQ(paint(w.button, 8, 4), skin.Colour(kSkinButtonFacePressed));
    SendMessageA(w.button, BM_SETSTATE, FALSE, 0);

    EnableWindow(w.button, FALSE);
    EXPECT_EQ(paint(w.button, 8, 4), skin.Colour(kSkinButtonFace));
    EXPECT_EQ(paint(w.button, kWidth / 2, 0), skin.Colour(kSkinDisabledText));

    // The caption is drawn: some pixel across the middle row differs from the face.
    EnableWindow(w.button, TRUE);
    Canvas canvas(kWidth, kHeight);
    SendMessageA(w.button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    int inked = 0;
    for (int x = 10; x < kWidth - 10; ++x) inked += canvas.Pixel(x, kHeight / 2) != skin.Colour(kSkinButtonFace);
    EXPECT_GT(inked, 0);
}

TEST(SkinAttach, ASecondSkinReplacesTheFirst)
{
    ASSERT_EQ(AttachEmbedded(), 1);
    TestWindow w;
    SkinFile other = SkinFile::Embedded();
    other.SetColour(kSkinControlBack, RGB(10, 20, 30));
    Put16(other.bytes, 180, static_cast<std::uint16_t>(-15));
    other.Reseal();
    const HFONT firstSkinFont = FontHandleOf(w.label);
    ASSERT_EQ(AttachCopy(other.bytes, kEmbeddedSkinSize), 1);
    EXPECT_EQ(AskColours(w.window, WM_CTLCOLORSTATIC, w.label).brush, RGB(10, 20, 30));
    EXPECT_EQ(FontOf(w.label).lfHeight, -15);

    TestWindow later;
    EXPECT_EQ(FontOf(later.label).lfHeight, -15);
    SendMessageA(later.label, WM_SETFONT, reinterpret_cast<WPARAM>(firstSkinFont), FALSE);
    EXPECT_EQ(FontOf(later.label).lfHeight, -15) << "the first skin's font gives way too";

    ASSERT_EQ(AttachEmbedded(), 1);  // back to the program's skin for the tests after this one
    ExpectSkinned(w, SkinFile::Embedded(), false);
}

TEST(SkinAttach, RejectsBrokenSkinsAndChangesNothing)
{
    struct Case {
        const char* what;
        std::function<void(SkinFile&)> change;
        bool reseal;
        int passedSize;
    };
    const Case cases[] = {
        {"magic", [](SkinFile& s) { s.bytes[3] = 'F'; }, true, kEmbeddedSkinSize},
        {"checksum", [](SkinFile& s) { s.bytes[9000] ^= 1; }, false, kEmbeddedSkinSize},
        {"version", [](SkinFile& s) { Put16(s.bytes, 4, 2); }, true, kEmbeddedSkinSize},
        {"declared size", [](SkinFile& s) { Put32(s.bytes, 8, kEmbeddedSkinSize - 1); }, true, kEmbeddedSkinSize},
        {"passed size short", [](SkinFile&) {}, false, kEmbeddedSkinSize - 1},
        {"passed size long", [](SkinFile& s) { s.bytes.push_back(0); }, false, kEmbeddedSkinSize + 1},
        {"header only", [](SkinFile&) {}, false, 16},
        {"zero size", [](SkinFile&) {}, false, 0},
        {"negative size", [](SkinFile&) {}, false, -1},
        {"too few colours", [](SkinFile& s) { Put16(s.bytes, 48, 11); }, true, kEmbeddedSkinSize},
        {"colour out of range", [](SkinFile& s) { s.SetColour(0, 0x01000000); }, true, kEmbeddedSkinSize},
        {"no face", [](SkinFile& s) { s.bytes[185] = 0; }, true, kEmbeddedSkinSize},
        {"face without its NUL", [](SkinFile& s) { std::memset(&s.bytes[188], 'A', 32); }, true, kEmbeddedSkinSize},
        {"font weight 0", [](SkinFile& s) { Put16(s.bytes, 182, 0); }, true, kEmbeddedSkinSize},
        {"border width 0", [](SkinFile& s) { s.bytes[445] = 0; }, true, kEmbeddedSkinSize},
        {"corner radius 200", [](SkinFile& s) { s.bytes[444] = 200; }, true, kEmbeddedSkinSize},
    };

    ASSERT_NE(Attach(), nullptr);
    TestWindow before;
    const Colours colours = AskColours(before.window, WM_CTLCOLORSTATIC, before.label);
    const HFONT font = FontHandleOf(before.label);

    EXPECT_EQ(Attach()(nullptr, kEmbeddedSkinSize, "", 0, 0, 0), 0) << "null skin";
    for (const Case& c : cases) {
        SkinFile skin = SkinFile::Embedded();
        c.change(skin);
        if (c.reseal) skin.Reseal();
        EXPECT_EQ(AttachCopy(skin.bytes, c.passedSize), 0) << c.what;
    }

    Colours now = AskColours(before.window, WM_CTLCOLORSTATIC, before.label);
    EXPECT_EQ(now.brush, colours.brush);
    EXPECT_EQ(now.text, colours.text);
    EXPECT_EQ(FontHandleOf(before.label), font);
    TestWindow after;
    EXPECT_EQ(AskColours(after.window, WM_CTLCOLORSTATIC, after.label).brush, colours.brush);
    if (!g_attachedBefore) {  // nothing attached in this process: the system's look stays
        EXPECT_EQ(colours.brush, GetSysColor(COLOR_BTNFACE));
        EXPECT_EQ(FontHandleOf(after.label), GetStockObject(DEFAULT_GUI_FONT));
    }
}

}  // namespace
