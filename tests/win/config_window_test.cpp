// The configuration window in this process, with its file dialog, folder picker
// and message box replaced: filling, the shared dialog's file name, saving.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/files.h"
#include "databases/config_window.h"
#include "databases/config_window_ids.h"
#include "tests/win/test_support.h"

namespace {

const int kBoxes[] = {IDC_CONFIG_EDIT1, IDC_CONFIG_EDIT2, IDC_CONFIG_EDIT3, IDC_CONFIG_EDIT4,
                      IDC_CONFIG_EDIT5};
const int kFileButtons[] = {IDC_CONFIG_BUTTON1, IDC_CONFIG_BUTTON2, IDC_CONFIG_BUTTON3,
                            IDC_CONFIG_BUTTON4};

// One answer of the open-file dialog: OK with a path, or Cancel.
struct FileAnswer {
    bool ok = false;
    Text path;
};

struct ConfigFixture {
    ScratchFolder folder;
    Text config = folder / "config.ini";
    std::vector<FileAnswer> answers;  // the file dialog's, in turn
    std::vector<Text> dialogShowed;   // the file name each dialog opened with
    std::vector<std::string> filters;
    std::vector<HWND> owners;
    std::vector<Text> folders;  // the folder picker's answers
    std::vector<Text> shown;
    ConfigWindow window{
        config,
        {[this](HWND owner, const char* filter, Text& fileName) {
             owners.push_back(owner);
             std::size_t size = 0;
             while (filter[size] || filter[size + 1]) ++size;
             filters.emplace_back(filter, size + 2);
             dialogShowed.push_back(fileName);
             FileAnswer a = answers.empty() ? FileAnswer{false, ""} : answers.front();
             if (!answers.empty()) answers.erase(answers.begin());
             if (a.ok) fileName = a.path;
             return a.ok;
         },
         [this] {
             Text next = folders.empty() ? Text() : folders.front();
             if (!folders.empty()) folders.erase(folders.begin());
             return next;
         },
         [this](const Text& text) { shown.push_back(text); }}};

    Text TextOf(int id) const
    {
        char buffer[4096] = {};
        GetWindowTextA(window.Control(id), buffer, sizeof buffer);
        return buffer;
    }
    void SetText(int id, const Text& text) const { SetWindowTextA(window.Control(id), text.c_str()); }
    void Click(int id) const
    {
        SendMessageA(window.Handle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(window.Control(id)));
    }
    std::vector<Text> Boxes() const
    {
        std::vector<Text> texts;
        for (int id : kBoxes) texts.push_back(TextOf(id));
        return texts;
    }
    void Fill(const std::vector<Text>& texts) const
    {
        for (int n = 0; n < 5; ++n) SetText(kBoxes[n], texts[n]);
    }
};

const char kFullConfig[] =
    "[文件大小数据]\r\n数据=D:\\db\\size.txt\r\n"
    "[文件 MD5数据]\r\n数据=D:\\db\\md5.txt\r\n"
    "[附属文件数据]\r\n数据=D:\\db\\attached.txt\r\n"
    "[注册表  数据]\r\n数据=D:\\db\\registry.txt\r\n"
    "[保存结果位置]\r\n数据=D:\\results\r\n";
const std::vector<Text> kFullValues = {"D:\\db\\size.txt", "D:\\db\\md5.txt", "D:\\db\\attached.txt",
                                       "D:\\db\\registry.txt", "D:\\results"};

TEST(ConfigWindow, HasItsTitlePlaceSizeAndControls)
{
    ConfigFixture f;
    ASSERT_TRUE(f.window.Open());
    HWND w = f.window.Handle();
    char title[64] = {};
    GetWindowTextA(w, title, sizeof title);
    EXPECT_STREQ(title, "配置");
    RECT outer;
    GetWindowRect(w, &outer);
    EXPECT_EQ(outer.left, 50);
    EXPECT_EQ(outer.top, 50);
    EXPECT_EQ(outer.right - outer.left, 350);
    EXPECT_EQ(outer.bottom - outer.top, 272);
    struct Expected {
        int id;
        const char* className;
        const char* text;
        RECT place;  // left, top, width, height
    } controls[] = {
        {IDC_CONFIG_LABEL1, "Static", "文件大小数据：", {8, 14, 80, 16}},
        {IDC_CONFIG_EDIT1, "Edit", "", {88, 9, 184, 24}},
        {IDC_CONFIG_BUTTON1, "Button", "选择", {280, 8, 55, 27}},
        {IDC_CONFIG_LABEL2, "Static", "文件 MD5数据：", {8, 52, 80, 16}},
        {IDC_CONFIG_EDIT2, "Edit", "", {88, 47, 184, 24}},
        {IDC_CONFIG_BUTTON2, "Button", "选择", {280, 46, 55, 27}},
        {IDC_CONFIG_LABEL3, "Static", "附属文件数据：", {8, 92, 80, 16}},
        {IDC_CONFIG_EDIT3, "Edit", "", {88, 87, 184, 24}},
        {IDC_CONFIG_BUTTON3, "Button", "选择", {280, 86, 55, 27}},
        {IDC_CONFIG_LABEL4, "Static", "注册表  数据：", {8, 132, 80, 16}},
        {IDC_CONFIG_EDIT4, "Edit", "", {88, 127, 184, 24}},
        {IDC_CONFIG_BUTTON4, "Button", "选择", {280, 126, 55, 27}},
        {IDC_CONFIG_LABEL5, "Static", "保存结果位置：", {8, 158, 80, 48}},
        {IDC_CONFIG_EDIT5, "Edit", "", {88, 166, 184, 24}},
        {IDC_CONFIG_BUTTON5, "Button", "选择", {280, 166, 55, 27}},
        {IDC_CONFIG_BUTTON6, "Button", "保存", {8, 206, 96, 32}},
        {IDC_CONFIG_LABEL6, "Static", "所填写的内容下次生效", {112, 206, 216, 32}},
    };
    for (const Expected& c : controls) {
        SCOPED_TRACE(c.text);
        HWND control = f.window.Control(c.id);
        ASSERT_NE(control, nullptr);
        char cls[32] = {};
        GetClassNameA(control, cls, sizeof cls);
        EXPECT_STRCASEEQ(cls, c.className);
        EXPECT_EQ(f.TextOf(c.id), c.text);
        EXPECT_TRUE(IsWindowVisible(control));
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, c.place.left);
        EXPECT_EQ(r.top, c.place.top);
        EXPECT_EQ(r.right - r.left, c.place.right);
        EXPECT_EQ(r.bottom - r.top, c.place.bottom);
    }
}

TEST(ConfigWindow, CreationFillsTheBoxesFromConfig)
{
    struct Case {
        const char* name;
        const char* config;  // nullptr: no config.ini
        std::vector<Text> boxes;
    } cases[] = {
        {"no config.ini", nullptr, {"", "", "", "", ""}},
        {"a complete file", kFullConfig, kFullValues},
        {"sections in another order, some missing",
         "[保存结果位置]\r\n数据=R\r\n[附属文件数据]\r\n数据=A\r\n[文件大小数据]\r\n数据=S\r\n",
         {"S", "", "A", "", "R"}},
        {"names with one blank too few are other sections",
         "[文件MD5数据]\r\n数据=M\r\n[注册表 数据]\r\n数据=G\r\n", {"", "", "", "", ""}},
        {"the five names as keys of one section",
         "[数据]\r\n文件大小数据=S\r\n文件 MD5数据=M\r\n", {"", "", "", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ConfigFixture f;
        if (c.config) f.folder.Put("config.ini", c.config);
        ASSERT_TRUE(f.window.Open());
        EXPECT_EQ(f.Boxes(), c.boxes);
    }
}

TEST(ConfigWindow, SavingWritesTheFiveSectionsInOrder)
{
    ConfigFixture f;
    ASSERT_TRUE(f.window.Open());
    f.Fill({"D:\\db\\size.txt", "D:\\db\\md5.txt", " ", "D:\\db\\registry.txt", "D:\\results"});
    f.Click(IDC_CONFIG_BUTTON6);
    EXPECT_EQ(f.shown, (std::vector<Text>{"数据已经保存！"}));
    const std::string written = ReadBytes(f.config);
    const char* sections[] = {"[文件大小数据]", "[文件 MD5数据]", "[附属文件数据]", "[注册表  数据]",
                              "[保存结果位置]"};
    // The blank is written as it is; Wine's profile writer drops it, as readers do.
    const char* values[] = {"数据=D:\\db\\size.txt\r\n", "数据=D:\\db\\md5.txt\r\n", "数据=",
                            "数据=D:\\db\\registry.txt\r\n", "数据=D:\\results\r\n"};
    std::size_t at = 0;
    for (int n = 0; n < 5; ++n) {
        SCOPED_TRACE(sections[n]);
        const std::size_t section = written.find(sections[n], at);
        ASSERT_NE(section, std::string::npos) << written;
        const std::size_t value = written.find(values[n], section);
        ASSERT_NE(value, std::string::npos) << written;
        if (n == 2) {
            const std::string line = written.substr(value, written.find('\r', value) - value);
            EXPECT_TRUE(line == "数据=" || line == "数据= ") << line;
        }
        at = value;
    }
    // Saved values come back into the same boxes; the blank reads as nothing.
    DestroyWindow(f.window.Handle());
    ASSERT_TRUE(f.window.Open());
    EXPECT_EQ(f.Boxes(), (std::vector<Text>{"D:\\db\\size.txt", "D:\\db\\md5.txt", "",
                                            "D:\\db\\registry.txt", "D:\\results"}));
}

TEST(ConfigWindow, SavingReplacesValuesInPlaceAndKeepsOtherContent)
{
    ConfigFixture f;
    f.folder.Put("config.ini", std::string("[其他]\r\n键=值\r\n") + kFullConfig);
    ASSERT_TRUE(f.window.Open());
    f.SetText(IDC_CONFIG_EDIT2, "E:\\md5.txt");
    f.Click(IDC_CONFIG_BUTTON6);
    const std::string written = ReadBytes(f.config);
    EXPECT_NE(written.find("[其他]"), std::string::npos);
    EXPECT_NE(written.find("键=值"), std::string::npos);
    EXPECT_EQ(written.find("D:\\db\\md5.txt"), std::string::npos);
    EXPECT_LT(written.find("[文件 MD5数据]"), written.find("数据=E:\\md5.txt"));
    EXPECT_LT(written.find("数据=E:\\md5.txt"), written.find("[附属文件数据]"));
}

TEST(ConfigWindow, AnEmptyBoxStopsTheSaveAndLeavesConfigAsItWas)
{
    for (bool existing : {false, true}) {
        for (int empty = 0; empty < 5; ++empty) {
            SCOPED_TRACE(std::string(existing ? "existing config, " : "no config, ") + "empty box " +
                         std::to_string(empty + 1));
            ConfigFixture f;
            if (existing) f.folder.Put("config.ini", kFullConfig);
            ASSERT_TRUE(f.window.Open());
            std::vector<Text> values = {"a", "b", "c", "d", "e"};
            values[empty] = "";
            f.Fill(values);
            f.Click(IDC_CONFIG_BUTTON6);
            EXPECT_EQ(f.shown, (std::vector<Text>{"数据不完整！"}));
            if (existing)
                EXPECT_EQ(ReadBytes(f.config), kFullConfig);
            else
                EXPECT_FALSE(FileExists(f.config));
        }
    }
}

TEST(ConfigWindow, TheFourFileButtonsShareOneDialogFileName)
{
    ConfigFixture f;
    ASSERT_TRUE(f.window.Open());
    f.Fill({"junk1", "junk2", "junk3", "junk4", "keep"});
    struct Step {
        int button;             // 0..3 for 按钮1..按钮4
        bool ok;                // the dialog's answer: OK with `chosen`, or Cancel
        const char* chosen;
        const char* opensWith;  // the file name the dialog shows when it opens
        const char* box;        // the button's box afterwards
    } steps[] = {
        {0, false, "", "", ""},  // Cancel before any choice empties the box
        {0, true, "D:\\db\\size.txt", "", "D:\\db\\size.txt"},
        {1, false, "", "D:\\db\\size.txt", "D:\\db\\size.txt"},
        {2, true, "D:\\db\\附属.txt", "D:\\db\\size.txt", "D:\\db\\附属.txt"},
        {3, false, "", "D:\\db\\附属.txt", "D:\\db\\附属.txt"},
        {0, false, "", "D:\\db\\附属.txt", "D:\\db\\附属.txt"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.box);
        f.answers = {FileAnswer{s.ok, s.chosen}};
        f.Click(kFileButtons[s.button]);
        ASSERT_FALSE(f.dialogShowed.empty());
        EXPECT_EQ(f.dialogShowed.back(), s.opensWith);
        EXPECT_EQ(f.TextOf(kBoxes[s.button]), s.box);
        EXPECT_EQ(f.owners.back(), f.window.Handle());
        EXPECT_EQ(f.filters.back(), std::string("文本 文档(*.txt)\0*.txt\0\0", 24));
    }
    EXPECT_EQ(f.TextOf(IDC_CONFIG_EDIT5), "keep");
    EXPECT_TRUE(f.shown.empty());

    // A new window starts with an empty file name.
    DestroyWindow(f.window.Handle());
    ASSERT_TRUE(f.window.Open());
    f.answers = {{false, ""}};
    f.Click(IDC_CONFIG_BUTTON2);
    EXPECT_EQ(f.dialogShowed.back(), "");
    EXPECT_EQ(f.TextOf(IDC_CONFIG_EDIT2), "");
}

TEST(ConfigWindow, TheFolderButtonPutsThePickersAnswerIntoTheFifthBox)
{
    ConfigFixture f;
    ASSERT_TRUE(f.window.Open());
    f.folders = {"D:\\results", ""};
    f.Click(IDC_CONFIG_BUTTON5);
    EXPECT_EQ(f.TextOf(IDC_CONFIG_EDIT5), "D:\\results");
    f.Click(IDC_CONFIG_BUTTON5);
    EXPECT_EQ(f.TextOf(IDC_CONFIG_EDIT5), "");
    EXPECT_TRUE(f.dialogShowed.empty());
}

TEST(ConfigWindow, OpeningAgainKeepsTheOneWindowAsTheUserLeftIt)
{
    ConfigFixture f;
    f.folder.Put("config.ini", kFullConfig);
    ASSERT_TRUE(f.window.Open());
    HWND first = f.window.Handle();
    f.SetText(IDC_CONFIG_EDIT1, "typed");
    f.folder.Put("config.ini", "[文件大小数据]\r\n数据=changed\r\n");  // the creation does not run again
    ShowWindow(first, SW_MINIMIZE);
    ASSERT_TRUE(f.window.Open());
    EXPECT_EQ(f.window.Handle(), first);
    EXPECT_FALSE(IsIconic(first));
    EXPECT_EQ(f.TextOf(IDC_CONFIG_EDIT1), "typed");
    EXPECT_EQ(f.TextOf(IDC_CONFIG_EDIT2), "D:\\db\\md5.txt");
    EXPECT_EQ(FindWindowA(CONFIG_WINDOW_CLASS, nullptr), first);

    // Once closed, opening creates it anew from config.ini.
    SendMessageA(first, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(first));
    ASSERT_TRUE(f.window.Open());
    EXPECT_EQ(f.Boxes(), (std::vector<Text>{"changed", "", "", "", ""}));
}

}  // namespace
