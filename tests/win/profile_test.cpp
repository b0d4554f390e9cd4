// Profile files through the system's private-profile functions.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "core/profile.h"
#include "tests/win/test_support.h"

namespace {

TEST(Profile, TheAnsiCodePageIs936)
{
    EXPECT_EQ(GetACP(), 936u);
}

TEST(Profile, WritesAndReadsGbkSectionsKeysAndValues)
{
    ScratchFolder f;
    Text ini = f / "config.ini";
    ASSERT_TRUE(WriteIniValue(ini, "文件 MD5数据", "数据", "D:\\数据\\md5.txt"));
    ASSERT_TRUE(WriteIniValue(ini, "保存结果位置", "数据", "D:\\结果"));
    EXPECT_EQ(ReadIniValue(ini, "文件 MD5数据", "数据"), "D:\\数据\\md5.txt");
    EXPECT_EQ(ReadIniValue(ini, "保存结果位置", "数据", "unused"), "D:\\结果");
    ASSERT_TRUE(WriteIniValue(ini, "保存结果位置", "数据", "E:\\r"));  // replaces
    EXPECT_EQ(ReadIniValue(ini, "保存结果位置", "数据"), "E:\\r");
    EXPECT_EQ(ReadIniValue(ini, "文件 MD5数据", "数据"), "D:\\数据\\md5.txt");
}

TEST(Profile, MissingFileSectionOrKeyGivesTheDefault)
{
    ScratchFolder f;
    Text ini = f.Put("a.ini", "[s]\r\nk=v\r\n");
    EXPECT_EQ(ReadIniValue(ini, "s", "k", "d"), "v");
    EXPECT_EQ(ReadIniValue(ini, "s", "other", "d"), "d");
    EXPECT_EQ(ReadIniValue(ini, "other", "k", "d"), "d");
    EXPECT_EQ(ReadIniValue(f / "missing.ini", "s", "k", "d"), "d");
    EXPECT_EQ(ReadIniValue(ini, "s", "other"), "");
}

TEST(Profile, LeadingBlanksAreSkippedAndNothingLeftGivesTheEmptyText)
{
    ScratchFolder f;
    Text ini = f.Put("a.ini", "[s]\r\nk=v\r\n");
    struct Case {
        Text file, section, key, result;
    } cases[] = {
        {" \t" + ini, "  s", "\r\nk", "v"},
        {ini, "  ", "k", ""},  // not the default
        {ini, "s", "\t", ""},
        {"   ", "s", "k", ""},
        {"", "s", "k", ""},
        {ini, "", "k", ""},
        {ini, "s", "", ""},
        {ini, "s", "\x01k", "v"},  // control bytes count as blanks
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("[" + c.file + "] [" + c.section + "] [" + c.key + "]");
        EXPECT_EQ(ReadIniValue(c.file, c.section, c.key, "default"), c.result);
    }
}

TEST(Profile, AValueIsCutTo10239Bytes)
{
    ScratchFolder f;
    std::string value;
    for (int i = 0; i < 12000; ++i) value += static_cast<char>('a' + i % 26);
    Text ini = f.Put("long.ini", "[s]\r\nlong=" + value + "\r\nshort=" + value.substr(0, 10239) + "\r\n");
    EXPECT_EQ(ReadIniValue(ini, "s", "long"), value.substr(0, 10239));
    EXPECT_EQ(ReadIniValue(ini, "s", "short"), value.substr(0, 10239));
}

}  // namespace
