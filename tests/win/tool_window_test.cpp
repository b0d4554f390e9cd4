// The entry authoring tool: its line splitting, the bytes it appends to the four
// databases, how it keeps a database it cannot replace, and its window.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/files.h"
#include "databases/tool_window.h"
#include "databases/tool_window_ids.h"
#include "tests/win/test_support.h"

namespace {

using Lines = std::vector<Text>;

std::string S(const char* bytes, std::size_t size) { return std::string(bytes, size); }

// MD5 texts of the files the tests write, and of no content.
const char kMd5OfAbc[] = "900150983cd24fb0d6963f7d28e17f72";
const char kMd5OfNothing[] = "d41d8cd98f00b204e9800998ecf8427e";

TEST(ToolWindowLines, RegistryTextSplitsAsTheDatabaseReaderSplitsAFile)
{
    struct Case {
        const char* name;
        std::string text;
        Lines lines;
    } cases[] = {
        {"empty", "", {}},
        {"two lines from the edit box", "R1\r\nR2", {"R1", "R2"}},
        {"a final line end adds nothing", "R1\r\nR2\r\n", {"R1", "R2"}},
        {"LF alone ends a line", "R1\nR2", {"R1", "R2"}},
        {"an empty line in between", "R1\r\n\r\nR2", {"R1", "", "R2"}},
        {"only a line end", "\r\n", {""}},
        {"two CRs keep one", "R1\r\r\nR2", {"R1\r", "R2"}},
        {"a lone CR stays", "a\rb", {"a\rb"}},
        {"Ctrl-Z ends the text", "R1\r\nR2\x1AR3\r\nR4", {"R1", "R2"}},
        {"Ctrl-Z first in a line", "R1\r\n\x1AR2", {"R1"}},
        {"NUL ends the text", S("R1\0R2\r\nR3", 10), {"R1"}},
        {"two-byte text", "软件\\键|值\r\n注册表", {"软件\\键|值", "注册表"}},
        {"a lead byte takes the LF with it", "\x80\ny\nz", {"\x80\ny", "z"}},
        {"a lead byte last", "a\n\x81", {"a", "\x81"}},
    };
    ScratchFolder f;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SplitTextLines(c.text), c.lines);
        // The same text as a file, read line by line as the databases are read.
        FileHandle h = FileOpen(f.Put("lines.txt", c.text), 1, 1);
        ASSERT_NE(h, nullptr);
        Lines fromFile;
        while (!FileAtEnd(h, true) && fromFile.size() <= c.text.size()) fromFile.push_back(FileReadLine(h));
        FileClose(h);
        EXPECT_EQ(SplitTextLines(c.text), fromFile);
    }
}

// A program folder with a config.ini naming four databases in db\.
struct Profile {
    ScratchFolder folder;
    Text config = folder / "config.ini";
    Text md5 = folder / "db\\md5.txt";
    Text size = folder / "db\\size.txt";
    Text attached = folder / "db\\attached.txt";
    Text registry = folder / "db\\registry.txt";

    explicit Profile(bool withConfig = true)
    {
        CreateDirectoryA((folder / "db").c_str(), nullptr);
        if (withConfig)
            folder.Put("config.ini", "[文件大小数据]\r\n数据=" + size + "\r\n[文件 MD5数据]\r\n数据=" +
                                         md5 + "\r\n[附属文件数据]\r\n数据=" + attached +
                                         "\r\n[注册表  数据]\r\n数据=" + registry +
                                         "\r\n[保存结果位置]\r\n数据=" + folder.Path() + "\r\n");
    }
    struct Contents {
        std::string md5, size, attached, registry;
        bool operator==(const Contents&) const = default;
    };
    void Put(const Contents& c) const
    {
        folder.Put("db\\md5.txt", c.md5);
        folder.Put("db\\size.txt", c.size);
        folder.Put("db\\attached.txt", c.attached);
        folder.Put("db\\registry.txt", c.registry);
    }
    Contents Read() const { return {ReadBytes(md5), ReadBytes(size), ReadBytes(attached), ReadBytes(registry)}; }
    // Names in db\ other than the four databases: leftovers of a write.
    std::vector<Text> Leftovers() const
    {
        std::vector<Text> names;
        WIN32_FIND_DATAA e;
        HANDLE s = FindFirstFileA((folder / "db\\*").c_str(), &e);
        if (s == INVALID_HANDLE_VALUE) return names;
        do {
            const Text n = e.cFileName;
            if (n != "." && n != ".." && n != "md5.txt" && n != "size.txt" && n != "attached.txt" &&
                n != "registry.txt")
                names.push_back(n);
        } while (FindNextFileA(s, &e));
        FindClose(s);
        return names;
    }
};

void PrintTo(const Profile::Contents& c, std::ostream* os)
{
    *os << "{md5 \"" << c.md5 << "\", size \"" << c.size << "\", attached \"" << c.attached
        << "\", registry \"" << c.registry << "\"}";
}

// The folder main.exe ("abc"), a.dll, b.ini with main.exe selected and note X.
EntryFields Example(const Text& registryText = Text())
{
    EntryFields f;
    f.sizeText = "3";
    f.md5Text = kMd5OfAbc;
    f.note = "X";
    f.registryText = registryText;
    f.listedNames = {"main.exe", "a.dll", "b.ini"};
    f.mainName = "main.exe";
    return f;
}

TEST(WriteEntries, EmptyDatabasesReceiveExactlyTheEntryBytes)
{
    const std::string md5Entry = std::string(kMd5OfAbc) + "|X\r\n\r\n";
    struct Case {
        const char* name;
        EntryFields fields;
        Profile::Contents expected;
    } cases[] = {
        {"no registry line", Example(), {md5Entry, "#3", "\r\na.dll\r\nb.ini", "\r\n"}},
        {"registry lines R1 and R2", Example("R1\r\nR2"), {md5Entry, "#3", "\r\na.dll\r\nb.ini", "R1|X\r\nR2|X\r\n"}},
        {"registry lines with a final line end", Example("R1\r\nR2\r\n"),
         {md5Entry, "#3", "\r\na.dll\r\nb.ini", "R1|X\r\nR2|X\r\n"}},
        {"an empty registry line in between", Example("R1\r\n\r\nR2"),
         {md5Entry, "#3", "\r\na.dll\r\nb.ini", "R1|X\r\n|X\r\nR2|X\r\n"}},
        {"Ctrl-Z ends the registry text", Example("R1\x1AR2"), {md5Entry, "#3", "\r\na.dll\r\nb.ini", "R1|X\r\n"}},
        {"two-byte registry text and note",
         [] {
             EntryFields f = Example("软件\\值");
             f.note = "报告";
             return f;
         }(),
         {std::string(kMd5OfAbc) + "|报告\r\n\r\n", "#3", "\r\na.dll\r\nb.ini", "软件\\值|报告\r\n"}},
        {"no item selected: every name is attached",
         [] {
             EntryFields f = Example();
             f.mainName = "";
             return f;
         }(),
         {md5Entry, "#3", "\r\nmain.exe\r\na.dll\r\nb.ini", "\r\n"}},
        {"a typed main name that is listed differently",
         [] {
             EntryFields f = Example();
             f.mainName = "MAIN.EXE";
             return f;
         }(),
         {md5Entry, "#3", "\r\nmain.exe\r\na.dll\r\nb.ini", "\r\n"}},
        {"empty boxes are written as they are", EntryFields{}, {"|\r\n\r\n", "#", "", "\r\n"}},
        {"a size of -1 is written unchanged",
         [] {
             EntryFields f = Example();
             f.sizeText = "-1";
             f.md5Text = kMd5OfNothing;
             return f;
         }(),
         {std::string(kMd5OfNothing) + "|X\r\n\r\n", "#-1", "\r\na.dll\r\nb.ini", "\r\n"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (bool filesExist : {false, true}) {
            SCOPED_TRACE(filesExist ? "empty files" : "no files");
            Profile p;
            if (filesExist) p.Put({});
            EXPECT_TRUE(WriteDatabaseEntries(p.config, c.fields));
            EXPECT_EQ(p.Read(), c.expected);
            EXPECT_TRUE(p.Leftovers().empty());
        }
    }
}

TEST(WriteEntries, EachWriteAppendsToWhatTheDatabasesHold)
{
    Profile p;
    p.Put({"0cc175b9c0f1b6a831c399e269772661|a\r\n\r\n", "#1024", "\r\nold.dll", "K\\v|a\r\n"});
    EXPECT_TRUE(WriteDatabaseEntries(p.config, Example("R1")));
    EXPECT_TRUE(WriteDatabaseEntries(p.config, Example("R1")));
    const std::string entry = std::string(kMd5OfAbc) + "|X\r\n\r\n";
    EXPECT_EQ(p.Read(), (Profile::Contents{"0cc175b9c0f1b6a831c399e269772661|a\r\n\r\n" + entry + entry,
                                           "#1024#3#3", "\r\nold.dll\r\na.dll\r\nb.ini\r\na.dll\r\nb.ini",
                                           "K\\v|a\r\nR1|X\r\nR1|X\r\n"}));
}

TEST(WriteEntries, WithoutConfigNothingIsWritten)
{
    Profile p(false);
    const Profile::Contents before = {"m", "s", "a", "r"};
    p.Put(before);
    EXPECT_TRUE(WriteDatabaseEntries(p.config, Example("R1")));
    EXPECT_EQ(p.Read(), before);
    EXPECT_TRUE(p.Leftovers().empty());
    EXPECT_FALSE(FileExists(p.config));
}

TEST(WriteEntries, ADatabaseThatCannotBeReplacedKeepsItsContentAndTheOthersAreWritten)
{
    const Profile::Contents before = {"m|old\r\n\r\n", "#7", "\r\nold.dll", "K|old\r\n"};
    const std::string entry = std::string(kMd5OfAbc) + "|X\r\n\r\n";
    const Profile::Contents after = {before.md5 + entry, "#7#3", "\r\nold.dll\r\na.dll\r\nb.ini",
                                     "K|old\r\n\r\n"};
    struct Case {
        const char* name;
        // Blocks the MD5 database (or its replacement) until the returned object goes.
        std::function<std::shared_ptr<void>(const Profile&)> block;
    } cases[] = {
        {"read-only database",
         [](const Profile& p) {
             SetFileAttributesA(p.md5.c_str(), FILE_ATTRIBUTE_READONLY);
             return std::shared_ptr<void>(nullptr, [md5 = p.md5](void*) {
                 SetFileAttributesA(md5.c_str(), FILE_ATTRIBUTE_NORMAL);
             });
         }},
        {"the new file cannot be made (a folder holds its name)",
         [](const Profile& p) {
             CreateDirectoryA((p.md5 + ".new").c_str(), nullptr);
             return std::shared_ptr<void>(nullptr, [md5 = p.md5](void*) {
                 RemoveDirectoryA((md5 + ".new").c_str());
             });
         }},
        {"another process holds the database open, sharing nothing",
         [](const Profile& p) {
             return std::make_shared<HeldFile>(p.md5, GENERIC_READ, 0);
         }},
        {"another process lets it be read but not replaced",
         [](const Profile& p) {
             return std::make_shared<HeldFile>(p.md5, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Profile p;
        p.Put(before);
        {
            auto blocked = c.block(p);
            EXPECT_FALSE(WriteDatabaseEntries(p.config, Example()));
        }
        const Profile::Contents now = p.Read();
        EXPECT_EQ(now.md5, before.md5);
        EXPECT_EQ(now.size, after.size);
        EXPECT_EQ(now.attached, after.attached);
        EXPECT_EQ(now.registry, after.registry);
        EXPECT_TRUE(p.Leftovers().empty());
    }
}

TEST(WriteEntries, ReplacedDatabasesKeepHiddenAndSystemMarks)
{
    Profile p;
    p.Put({"", "#1", "", ""});
    SetFileAttributesA(p.size.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_TRUE(WriteDatabaseEntries(p.config, Example()));
    EXPECT_EQ(ReadBytes(p.size), "#1#3");
    EXPECT_TRUE(GetFileAttributesA(p.size.c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

// ---- The window, with the folder picker and the message box replaced ----

struct ToolFixture {
    Profile profile;
    std::vector<Text> folders;  // what the picker answers, in turn ("" for Cancel)
    std::vector<Text> shown;
    std::function<void()> whilePicking;
    ToolWindow window{profile.config,
                      {[this] {
                           if (whilePicking) whilePicking();
                           Text next = folders.empty() ? Text() : folders.front();
                           if (!folders.empty()) folders.erase(folders.begin());
                           return next;
                       },
                       [this](const Text& text) { shown.push_back(text); }}};

    HWND Control(int id) const { return window.Control(id); }
    Text TextOf(int id) const
    {
        char buffer[4096] = {};
        GetWindowTextA(Control(id), buffer, sizeof buffer);
        return buffer;
    }
    void SetText(int id, const Text& text) const { SetWindowTextA(Control(id), text.c_str()); }
    void Click(int id) const
    {
        SendMessageA(window.Handle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(Control(id)));
    }
    std::vector<Text> Items() const
    {
        std::vector<Text> items;
        HWND combo = Control(IDC_TOOL_COMBO1);
        const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char item[MAX_PATH] = {};
            SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
            items.push_back(item);
        }
        return items;
    }
    // Selects a listed item as the user does, which runs ShowFileSignature.
    void Select(const Text& item) const
    {
        HWND combo = Control(IDC_TOOL_COMBO1);
        SendMessageA(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(item.c_str()));
        SendMessageA(window.Handle(), WM_COMMAND, MAKEWPARAM(IDC_TOOL_COMBO1, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo));
    }
};

// A program folder: main.exe holding "abc", a.dll and b.ini.
struct ExampleFolder {
    ScratchFolder folder;
    ExampleFolder()
    {
        folder.Put("main.exe", "abc");
        folder.Put("a.dll", "dll");
        folder.Put("b.ini", "[x]");
    }
};

std::vector<Text> Sorted(std::vector<Text> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

Text AttachedOf(const std::vector<Text>& items, const Text& main)
{
    Text text;
    for (const Text& item : items)
        if (item != main) text += "\r\n" + item;
    return text;
}

TEST(ToolWindow, HasItsTitlePlaceSizeAndControls)
{
    ToolFixture t;
    ASSERT_TRUE(t.window.OpenAfresh());
    HWND w = t.window.Handle();
    char title[64] = {};
    GetWindowTextA(w, title, sizeof title);
    EXPECT_STREQ(title, "工具窗口");
    RECT outer;
    GetWindowRect(w, &outer);
    EXPECT_EQ(outer.left, 50);
    EXPECT_EQ(outer.top, 50);
    EXPECT_EQ(outer.right - outer.left, 390);
    EXPECT_EQ(outer.bottom - outer.top, 288);
    struct Expected {
        int id;
        const char* className;
        const char* text;
        RECT place;  // left, top, width, height
    } controls[] = {
        {IDC_TOOL_LABEL1, "Static", "所在文件夹：", {8, 13, 80, 16}},
        {IDC_TOOL_EDIT1, "Edit", "", {80, 8, 128, 24}},
        {IDC_TOOL_BUTTON1, "Button", "选择", {216, 8, 72, 24}},
        {IDC_TOOL_LABEL5, "Static", "主程序名：", {20, 40, 56, 24}},
        {IDC_TOOL_COMBO1, "ComboBox", "", {80, 40, 184, 20}},
        {IDC_TOOL_LABEL2, "Static", "程序大小：", {19, 77, 56, 16}},
        {IDC_TOOL_EDIT2, "Edit", "", {80, 72, 208, 24}},
        {IDC_TOOL_LABEL3, "Static", "程序 MD5：", {18, 109, 56, 16}},
        {IDC_TOOL_EDIT3, "Edit", "", {80, 104, 208, 24}},
        {IDC_TOOL_LABEL4, "Static", "程序备注：", {17, 136, 56, 32}},
        {IDC_TOOL_EDIT4, "Edit", "", {80, 136, 208, 24}},
        {IDC_TOOL_LABEL6, "Static", "注册表键值：", {8, 176, 68, 24}},
        {IDC_TOOL_EDIT5, "Edit", "", {80, 168, 208, 88}},
        {IDC_TOOL_BUTTON2, "Button", "写入", {294, 200, 84, 24}},
        {IDC_TOOL_BUTTON3, "Button", "退出", {294, 232, 85, 24}},
    };
    for (const Expected& c : controls) {
        SCOPED_TRACE(c.text);
        HWND control = t.Control(c.id);
        ASSERT_NE(control, nullptr);
        char cls[32] = {};
        GetClassNameA(control, cls, sizeof cls);
        EXPECT_STRCASEEQ(cls, c.className);
        EXPECT_EQ(t.TextOf(c.id), c.text);
        EXPECT_TRUE(IsWindowVisible(control));
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, c.place.left);
        EXPECT_EQ(r.top, c.place.top);
        EXPECT_EQ(r.right - r.left, c.place.right);
        EXPECT_EQ(r.bottom - r.top, c.place.bottom);
    }
    const LONG comboStyle = GetWindowLongA(t.Control(IDC_TOOL_COMBO1), GWL_STYLE);
    EXPECT_EQ(comboStyle & 3, CBS_DROPDOWN);
    EXPECT_FALSE(comboStyle & CBS_SORT);
    EXPECT_TRUE(GetWindowLongA(t.Control(IDC_TOOL_EDIT5), GWL_STYLE) & ES_MULTILINE);
}

TEST(ToolWindow, AProgramFolderFromListingToDatabases)
{
    ExampleFolder example;
    ToolFixture t;
    ASSERT_TRUE(t.window.OpenAfresh());
    t.folders = {example.folder.Path()};
    t.Click(IDC_TOOL_BUTTON1);
    EXPECT_EQ(t.TextOf(IDC_TOOL_EDIT1), example.folder.Path());
    const std::vector<Text> items = t.Items();
    EXPECT_EQ(Sorted(items), (std::vector<Text>{"a.dll", "b.ini", "main.exe"}));

    t.Select("main.exe");
    EXPECT_EQ(t.TextOf(IDC_TOOL_COMBO1), "main.exe");
    EXPECT_EQ(t.TextOf(IDC_TOOL_EDIT2), "3");
    EXPECT_EQ(t.TextOf(IDC_TOOL_EDIT3), kMd5OfAbc);
    t.SetText(IDC_TOOL_EDIT4, "X");
    t.SetText(IDC_TOOL_EDIT5, "R1\r\nR2");
    t.Click(IDC_TOOL_BUTTON2);
    EXPECT_EQ(t.shown, (std::vector<Text>{"写入成功！下次运行生效！"}));
    EXPECT_EQ(t.profile.Read(), (Profile::Contents{std::string(kMd5OfAbc) + "|X\r\n\r\n", "#3",
                                                   AttachedOf(items, "main.exe"), "R1|X\r\nR2|X\r\n"}));
    // Nothing is written outside the databases' own folder.
    EXPECT_TRUE(t.profile.Leftovers().empty());
}

TEST(ToolWindow, ASecondFolderAppendsItsNamesAndCancelKeepsTheList)
{
    ExampleFolder first;
    ScratchFolder second;
    second.Put("c.txt", "c");
    ToolFixture t;
    ASSERT_TRUE(t.window.OpenAfresh());
    // With a trailing backslash the folder is taken as it is.
    t.folders = {first.folder.Path(), second.Path() + "\\", ""};
    t.Click(IDC_TOOL_BUTTON1);
    t.Select("main.exe");
    t.Click(IDC_TOOL_BUTTON1);
    EXPECT_EQ(t.TextOf(IDC_TOOL_EDIT1), second.Path() + "\\");
    const std::vector<Text> items = t.Items();
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[3], "c.txt");
    EXPECT_TRUE(t.shown.empty());

    t.Click(IDC_TOOL_BUTTON1);  // the picker cancelled
    EXPECT_EQ(t.TextOf(IDC_TOOL_EDIT1), "");
    EXPECT_EQ(t.shown, (std::vector<Text>{"目录名不能为空"}));
    EXPECT_EQ(t.Items(), items);

    t.SetText(IDC_TOOL_EDIT4, "X");
    t.Click(IDC_TOOL_BUTTON2);
    EXPECT_EQ(ReadBytes(t.profile.attached), AttachedOf(items, "main.exe"));
    EXPECT_EQ(ReadBytes(t.profile.size), "#3");
}

TEST(ToolWindow, WithoutASelectionEveryNameIsAttachedAndTheBoxesAreTakenAsTyped)
{
    ExampleFolder example;
    ToolFixture t;
    ASSERT_TRUE(t.window.OpenAfresh());
    t.folders = {example.folder.Path()};
    t.Click(IDC_TOOL_BUTTON1);
    t.SetText(IDC_TOOL_EDIT2, "12");
    t.SetText(IDC_TOOL_EDIT3, "typed");
    t.SetText(IDC_TOOL_EDIT4, "N");
    t.Click(IDC_TOOL_BUTTON2);
    EXPECT_EQ(t.profile.Read(), (Profile::Contents{"typed|N\r\n\r\n", "#12", AttachedOf(t.Items(), ""), "\r\n"}));
}

TEST(ToolWindow, AFileGoneSinceListingShowsMinusOneAndTheDigestOfNothing)
{
    ExampleFolder example;
    ToolFixture t;
    ASSERT_TRUE(t.window.OpenAfresh());
    t.folders = {example.folder.Path()};
    t.Click(IDC_TOOL_BUTTON1);
    DeleteFileA((example.folder / "a.dll").c_str());
    t.Select("a.dll");
    EXPECT_EQ(t.TextOf(IDC_TOOL_EDIT2), "-1");
    EXPECT_EQ(t.TextOf(IDC_TOOL_EDIT3), kMd5OfNothing);
    // Held open by another process that shares nothing: found, but unreadable.
    HeldFile held(example.folder / "b.ini", GENERIC_READ, 0);
    ASSERT_TRUE(held.IsOpen());
    t.Select("b.ini");
    EXPECT_EQ(t.TextOf(IDC_TOOL_EDIT2), "3");
    EXPECT_EQ(t.TextOf(IDC_TOOL_EDIT3), kMd5OfNothing);
}

TEST(ToolWindow, WithoutConfigTheWriteStillReportsSuccess)
{
    ToolFixture t;
    DeleteFileA(t.profile.config.c_str());
    ASSERT_TRUE(t.window.OpenAfresh());
    t.SetText(IDC_TOOL_EDIT4, "X");
    t.Click(IDC_TOOL_BUTTON2);
    EXPECT_EQ(t.shown, (std::vector<Text>{"写入成功！下次运行生效！"}));
    EXPECT_TRUE(t.profile.Leftovers().empty());
    EXPECT_FALSE(FileExists(t.profile.md5));
}

TEST(ToolWindow, ExitDestroysAndOpeningAfreshStartsEmpty)
{
    ExampleFolder example;
    ToolFixture t;
    ASSERT_TRUE(t.window.OpenAfresh());
    t.folders = {example.folder.Path(), example.folder.Path()};
    t.Click(IDC_TOOL_BUTTON1);
    t.SetText(IDC_TOOL_EDIT4, "typed");
    HWND first = t.window.Handle();
    ASSERT_TRUE(t.window.OpenAfresh());
    EXPECT_FALSE(IsWindow(first));
    for (int id : {IDC_TOOL_EDIT1, IDC_TOOL_EDIT2, IDC_TOOL_EDIT3, IDC_TOOL_EDIT4, IDC_TOOL_EDIT5,
                   IDC_TOOL_COMBO1})
        EXPECT_EQ(t.TextOf(id), "") << id;
    EXPECT_TRUE(t.Items().empty());

    HWND second = t.window.Handle();
    t.Click(IDC_TOOL_BUTTON3);
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(t.window.Handle(), nullptr);
}

// Runs a function when the message posted to it is handled.
struct PostedCall {
    std::function<void()> call;
    HWND window = nullptr;
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_APP)
            if (auto* self = reinterpret_cast<PostedCall*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)))
                self->call();
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    explicit PostedCall(std::function<void()> f) : call(std::move(f))
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ToolTestPostedCall";
        RegisterClassA(&wc);
        window = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 wc.hInstance, nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~PostedCall() { DestroyWindow(window); }
    void Post() const { PostMessageA(window, WM_APP, 0, 0); }
};

TEST(ToolWindow, MessagesAreHandledWhileListingAndTheWindowMayGoMeanwhile)
{
    ScratchFolder many;
    for (int i = 0; i < 50; ++i) many.Put("f" + std::to_string(i) + ".txt", "x");
    struct Case {
        const char* name;
        bool reopen;  // the menu opens the window afresh; otherwise 退出 is clicked
    } cases[] = {{"退出 while listing", false}, {"opened afresh while listing", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ToolFixture t;
        ASSERT_TRUE(t.window.OpenAfresh());
        HWND first = t.window.Handle();
        PostedCall during([&] {
            if (c.reopen)
                t.window.OpenAfresh();
            else
                t.Click(IDC_TOOL_BUTTON3);
        });
        // Posted while the picker is up, so the listing's first turn handles it.
        t.whilePicking = [&] { during.Post(); };
        t.folders = {many.Path()};
        t.Click(IDC_TOOL_BUTTON1);
        EXPECT_FALSE(IsWindow(first));
        if (c.reopen) {
            ASSERT_NE(t.window.Handle(), nullptr);
            EXPECT_TRUE(t.Items().empty());
            EXPECT_EQ(t.TextOf(IDC_TOOL_EDIT1), "");
        } else {
            EXPECT_EQ(t.window.Handle(), nullptr);
        }
    }
}

}  // namespace
