// Loading config.ini and the four databases from real files.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "databases/load.h"
#include "tests/win/test_support.h"

namespace {

struct Loaded {
    ProgramState state;
    Stores stores;
    std::vector<Text> messages;
};

void Load(const ScratchFolder& folder, Loaded& out)
{
    LoadDatabases(out.state, out.stores, folder.Path(),
                  [&](const Text& message) { out.messages.push_back(message); });
}

std::vector<Text> Items(const ListStore& store) { return store.Items(); }

// A config.ini naming the four databases in the folder, and the result location.
std::string ConfigFor(const ScratchFolder& f, const std::string& result = "D:\\results")
{
    return "[文件大小数据]\r\n数据=" + f / "size.txt" + "\r\n"
           "[文件 MD5数据]\r\n数据=" + f / "md5.txt" + "\r\n"
           "[附属文件数据]\r\n数据=" + f / "attached.txt" + "\r\n"
           "[注册表  数据]\r\n数据=" + f / "registry.txt" + "\r\n"
           "[保存结果位置]\r\n数据=" + result + "\r\n";
}

TEST(LoadDatabases, WithoutConfigShowsOnlyTheFailureAndLoadsNothing)
{
    ScratchFolder f;
    f.Put("size.txt", "#1024");
    Loaded l;
    Load(f, l);
    EXPECT_EQ(l.messages, std::vector<Text>{"数据库加载失败！请选择配置窗口后重新启动！"});
    EXPECT_EQ(l.state.resultFolder, "");
    EXPECT_EQ(l.state.resultLocation, "");
    EXPECT_EQ(l.stores.sizeDatabaseText.GetText(), "");
    EXPECT_EQ(l.stores.md5Lines.Count(), 0);
}

TEST(LoadDatabases, ConfigsThatNameNoDatabaseStillSucceed)
{
    struct Case {
        const char* name;
        std::string config;
    } cases[] = {
        {"empty file", ""},
        {"the five names as keys of one section",
         "[数据]\r\n文件大小数据=x\r\n文件 MD5数据=x\r\n附属文件数据=x\r\n注册表  数据=x\r\n保存结果位置=D:\\r\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder f;
        f.Put("config.ini", c.config);
        f.Put("x", "#1024\r\n");
        Loaded l;
        Load(f, l);
        EXPECT_EQ(l.messages, std::vector<Text>{"数据库加载成功！"});
        EXPECT_EQ(l.state.resultFolder, "\\");
        EXPECT_EQ(l.state.resultLocation, "\\");
        EXPECT_EQ(l.stores.sizeDatabaseText.GetText(), "");
        EXPECT_EQ(l.stores.md5DatabaseText.GetText(), "");
        EXPECT_EQ(l.stores.attachedNames.Count(), 0);
        EXPECT_EQ(l.stores.registryLines.Count(), 0);
        EXPECT_EQ(l.stores.md5Lines.Count(), 0);
    }
}

TEST(LoadDatabases, ResultLocationGetsOneBackslashAppended)
{
    struct Case {
        const char* value;
        const char* folder;
    } cases[] = {{"D:\\scan", "D:\\scan\\"}, {"D:\\", "D:\\\\"}, {"", "\\"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        ScratchFolder f;
        f.Put("config.ini", ConfigFor(f, c.value));
        Loaded l;
        Load(f, l);
        EXPECT_EQ(l.state.resultFolder, c.folder);
        EXPECT_EQ(l.state.resultLocation, c.folder);
    }
}

TEST(LoadDatabases, ToolWrittenDatabasesFillEveryStore)
{
    ScratchFolder f;
    f.Put("config.ini", ConfigFor(f));
    const std::string md5 =
        "0cc175b9c0f1b6a831c399e269772661|note A\r\n\r\n"
        "92eb5ffee6ae2fec3ad71c777531578f|note B\r\n\r\n";
    f.Put("size.txt", "#1024#53248");
    f.Put("md5.txt", md5);
    f.Put("attached.txt", "\r\nA.dll\r\nB.ini");
    f.Put("registry.txt", "HKEY_LOCAL_MACHINE\\Software\\X\\v|note A\r\nSoftware\\Y\\w|k|note B\r\n");
    Loaded l;
    Load(f, l);
    EXPECT_EQ(l.messages, std::vector<Text>{"数据库加载成功！"});
    EXPECT_EQ(l.stores.sizeDatabaseText.GetText(), "#1024#53248");
    EXPECT_EQ(l.stores.md5DatabaseText.GetText(), md5);
    EXPECT_EQ(Items(l.stores.md5Lines),
              (std::vector<Text>{"0cc175b9c0f1b6a831c399e269772661|note A", "",
                                 "92eb5ffee6ae2fec3ad71c777531578f|note B", ""}));
    EXPECT_EQ(Items(l.stores.attachedNames), (std::vector<Text>{"", "A.dll", "B.ini"}));
    EXPECT_EQ(Items(l.stores.registryLines),
              (std::vector<Text>{"HKEY_LOCAL_MACHINE\\Software\\X\\v|note A",
                                 "Software\\Y\\w|k|note B"}));
}

TEST(LoadDatabases, LineListsFollowTheLineRules)
{
    struct Case {
        const char* name;
        std::string content;
        std::vector<Text> items;
    } cases[] = {
        {"last line without a line break", "a\r\nb", {"a", "b"}},
        {"final CR LF adds no item", "a\r\nb\r\n", {"a", "b"}},
        {"empty lines are items", "a\r\n\r\n\r\nb\r\n", {"a", "", "", "b"}},
        {"empty file", "", {}},
        {"NUL in the middle of the third line", std::string("a\r\nb\r\ncc\0dd\r\ne\r\n", 16),
         {"a", "b", "cc"}},
        {"NUL at the start of the third line", std::string("a\r\nb\r\n\0dd\r\ne\r\n", 14),
         {"a", "b"}},
        {"Ctrl-Z ends the file", "a\r\nb\x1a\r\nc\r\n", {"a", "b"}},
        {"two-byte names stay whole", "文件.dll\r\n附属\r\n", {"文件.dll", "附属"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder f;
        f.Put("config.ini", ConfigFor(f));
        f.Put("attached.txt", c.content);
        Loaded l;
        Load(f, l);
        EXPECT_EQ(Items(l.stores.attachedNames), c.items);
    }
}

TEST(LoadDatabases, WholeTextStopsAtTheFirstNul)
{
    ScratchFolder f;
    f.Put("config.ini", ConfigFor(f));
    f.Put("size.txt", std::string("#1024\0#2048", 11));
    Loaded l;
    Load(f, l);
    EXPECT_EQ(l.stores.sizeDatabaseText.GetText(), "#1024");
}

TEST(LoadDatabases, ReadOnlyDatabasesLoadTheirLines)
{
    ScratchFolder f;
    f.Put("config.ini", ConfigFor(f));
    const Text md5 = f.Put("md5.txt", "0cc175b9c0f1b6a831c399e269772661|note A\r\n\r\n");
    const Text registry = f.Put("registry.txt", "Software\\X\\v|note A\r\n");
    SetFileAttributesA(md5.c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA(registry.c_str(), FILE_ATTRIBUTE_READONLY);
    Loaded l;
    Load(f, l);
    EXPECT_EQ(Items(l.stores.md5Lines),
              (std::vector<Text>{"0cc175b9c0f1b6a831c399e269772661|note A", ""}));
    EXPECT_EQ(Items(l.stores.registryLines), std::vector<Text>{"Software\\X\\v|note A"});
    EXPECT_EQ(l.stores.md5DatabaseText.GetText(), "0cc175b9c0f1b6a831c399e269772661|note A\r\n\r\n");
}

TEST(LoadDatabases, MissingDatabasesLeaveTheirStoresEmpty)
{
    ScratchFolder f;
    f.Put("config.ini", ConfigFor(f));
    f.Put("registry.txt", "Software\\X\\v|note A\r\n");
    Loaded l;
    Load(f, l);
    EXPECT_EQ(l.messages, std::vector<Text>{"数据库加载成功！"});
    EXPECT_EQ(l.stores.md5DatabaseText.GetText(), "");
    EXPECT_EQ(l.stores.md5Lines.Count(), 0);
    EXPECT_EQ(l.stores.attachedNames.Count(), 0);
    EXPECT_EQ(l.stores.registryLines.Count(), 1);
}

}  // namespace
