#include "core/text.h"

#include <gtest/gtest.h>

namespace {

// Two-byte characters spelled out, so the cases do not depend on the source charset.
// "\xD7\x7C" is a two-byte character whose second byte is "|".
const Text kPipeTrail = "\xD7\x7C";
const Text kAh = "\xB0\xA1";  // 啊

TEST(TextTest, SourceLiteralsAreCodePage936)
{
    // Every Chinese text of the program depends on this build setting.
    EXPECT_EQ(Text("年右"), "\xC4\xEA\xD3\xD2");
    EXPECT_EQ(TextLength("中文"), 4);
}

TEST(TextTest, LengthAndEndsCountBytes)
{
    EXPECT_EQ(TextLength(""), 0);
    EXPECT_EQ(TextLength("abc"), 3);

    struct Case {
        Text text;
        int n;
        Text left, right;
    };
    const Case cases[] = {
        {"abc", 0, "", ""},
        {"abc", -2, "", ""},
        {"abc", 2, "ab", "bc"},
        {"abc", 3, "abc", "abc"},
        {"abc", 10, "abc", "abc"},
        {"", 1, "", ""},
        {"\xD6\xD0" "a", 1, "\xD6", "a"},  // may cut a two-byte character
        {"a\xD6\xD0", 1, "a", "\xD0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LeftText(c.text, c.n), c.left) << '"' << c.text << "\" n=" << c.n;
        EXPECT_EQ(RightText(c.text, c.n), c.right) << '"' << c.text << "\" n=" << c.n;
    }
}

struct FindCase {
    Text text, sought;
    int start;
    bool ignoreCase;
    int expected;
};

TEST(TextTest, FindTextPositionsAndStart)
{
    const FindCase cases[] = {
        {"abcabc", "c", 1, false, 3},
        {"abcabc", "c", 4, false, 6},
        {"abcabc", "c", 6, false, 6},   // start on the last byte
        {"abcabc", "c", 7, false, -1},  // start beyond the last byte
        {"abcabc", "c", 0, false, 3},
        {"abcabc", "c", -5, false, 3},
        {"abcabc", "abc", 2, false, 4},
        {"abc", "abcd", 1, false, -1},  // longer than the text
        {"abc", "bcd", 1, false, -1},   // would run past the end
        {"", "a", 1, false, -1},
        {"#10240", "1024", 1, false, 2},  // a size text occurs inside a longer number
        {"#1024#53248", "53", 1, false, 7},
        // Empty sought: 1 whenever the searched part is not empty.
        {"abc", "", 1, false, 1},
        {"abc", "", 3, false, 1},
        {"abc", "", 4, false, -1},
        {"", "", 1, false, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindText(c.text, c.sought, c.start, c.ignoreCase), c.expected)
            << '"' << c.text << "\" / \"" << c.sought << "\" start " << c.start;
    }
    EXPECT_EQ(FindText("abcabc", "c"), 3);  // defaults: start 1, case matters
}

TEST(TextTest, FindTextStepsByCharacters)
{
    const FindCase cases[] = {
        // Never a match on the second byte of a two-byte character.
        {kPipeTrail, "|", 1, false, -1},
        {"a" + kPipeTrail + "b", "|", 1, false, -1},
        {kPipeTrail + "|", "|", 1, false, 3},
        {kAh + kAh, "\xA1\xB0", 1, false, -1},  // straddles two characters
        {kAh + kAh, kAh, 2, false, -1},         // from byte 2 the steps are 2, 4
        {"x" + kAh + kAh, kAh, 1, false, 2},
        // The scan steps from the start byte, even a second byte.
        {kPipeTrail, "|", 2, false, 2},
        // A lead byte as the last byte is still tried, then the scan stops.
        {"a\xB0", "\xB0", 1, false, 2},
        {"\xB0", "\xB0", 1, false, 1},
        {"ab\xB0", "b", 1, false, 2},
        // One-byte characters below 0x80 step by one, whatever their value.
        {"\x7F" "a", "a", 1, false, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindText(c.text, c.sought, c.start, c.ignoreCase), c.expected)
            << '"' << c.text << "\" / \"" << c.sought << "\" start " << c.start;
    }
}

TEST(TextTest, IgnoringCaseFoldsOnlyAToZ)
{
    const FindCase cases[] = {
        {"ABC", "b", 1, true, 2},
        {"ABC", "b", 1, false, -1},
        {"abc", "ABC", 1, true, 1},
        {"a@[`{z", "A@[`{Z", 1, true, 1},  // the bytes around A-Z and a-z stay apart
        {"@", "`", 1, true, -1},
        {"[", "{", 1, true, -1},
        {"\xC1", "\xE1", 1, true, -1},  // Latin-1 style letters are not folded
        // Byte by byte: the second byte of a two-byte character folds too.
        {"\x81\x41", "\x81\x61", 1, true, 1},
        {"\x81\x41", "\x81\x61", 1, false, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindText(c.text, c.sought, c.start, c.ignoreCase), c.expected)
            << '"' << c.text << "\" / \"" << c.sought << "\" ignoreCase " << c.ignoreCase;
    }
}

TEST(TextTest, FindLastText)
{
    struct Case {
        Text text, sought;
        bool ignoreCase;
        int expected;
    };
    const Case cases[] = {
        {"a|b|c", "|", false, 4},
        {"abc", "|", false, -1},
        {"", "|", false, -1},
        {"abc", "", false, 1},
        {"", "", false, -1},
        {"aaa", "aa", false, 2},  // every character start is a candidate
        {"aXbx", "x", false, 4},
        {"aXbx", "X", false, 2},
        {"axbX", "x", true, 4},
        {"|" + kPipeTrail, "|", false, 1},
        {kPipeTrail, "|", false, -1},
        {"a\xB0", "\xB0", false, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindLastText(c.text, c.sought, c.ignoreCase), c.expected)
            << '"' << c.text << "\" / \"" << c.sought << '"';
    }
}

TEST(TextTest, ReplaceText)
{
    struct Case {
        Text text, sought, replacement;
        bool ignoreCase;
        Text expected;
    };
    const Case cases[] = {
        {"aXbxc", "x", "", true, "abc"},
        {"aXbxc", "x", "", false, "aXbc"},
        {"aaa", "aa", "b", false, "ba"},     // no overlapping matches
        {"ab", "a", "aa", false, "aab"},     // the replacement is not searched again
        {"abcabc", "bc", "-", false, "a-a-"},
        {"abc", "cd", "x", false, "abc"},    // the tail shorter than sought is kept
        {"", "a", "b", false, ""},
        {"abc", "", "x", false, "abc"},
        {kPipeTrail + "|", "|", ",", false, kPipeTrail + ","},
        {kAh + kAh, "\xA1\xB0", "x", false, kAh + kAh},
        {"\xD6\xD0\xCE\xC4\xD6\xD0", "\xCE\xC4", "x", false, "\xD6\xD0x\xD6\xD0"},
        {"a\xB0", "a", "X", false, "X\xB0"},
        {"\xB0", "\xB0", "X", false, "X"},
        {"\x81\x41", "\x81\x61", "X", true, "X"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReplaceText(c.text, c.sought, c.replacement, c.ignoreCase), c.expected)
            << '"' << c.text << "\" / \"" << c.sought << "\" -> \"" << c.replacement << '"';
    }
}

int Sign(int v) { return (v > 0) - (v < 0); }

TEST(TextTest, CompareTextsIsUnsignedBytewise)
{
    struct Case {
        Text a, b;
        int sign;
    };
    const Case cases[] = {
        {"", "", 0},
        {"abc", "abc", 0},
        {"a", "b", -1},
        {"ab", "abc", -1},  // a prefix is the smaller
        {"abc", "ab", 1},
        {"", "a", -1},
        {"A", "a", -1},     // case matters
        {"\x80", "a", 1},   // bytes are unsigned
        {"\xFF", "\x7F", 1},
        {"\xD3\xD2", "\xD7\xF3", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Sign(CompareTexts(c.a, c.b)), c.sign) << '"' << c.a << "\" vs \"" << c.b << '"';
        EXPECT_EQ(Sign(CompareTexts(c.b, c.a)), -c.sign) << '"' << c.b << "\" vs \"" << c.a << '"';
    }
}

TEST(TextTest, SplitAtLast)
{
    const Text right = "\xD3\xD2";  // 右
    const Text left = "\xD7\xF3";   // 左
    struct Case {
        Text text, side, expected;
    };
    const Case cases[] = {
        {"k|x|note", right, "note"},
        {"k|x|note", left, "k|x"},
        {"k|x|note", "", "k|x"},  // any side but 右 is the left side
        {"abc", right, "abc"},
        {"abc", left, ""},
        {"k|", right, ""},
        {"k|", left, "k"},
        {"|v", left, ""},
        {"", right, ""},
        {"k|" + kPipeTrail, right, kPipeTrail},  // only real separators count
        {kPipeTrail, left, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitAtLast(c.text, "|", c.side), c.expected) << '"' << c.text << "\" side \"" << c.side << '"';
    }
    EXPECT_EQ(SplitAtLast("k|x|note", "|", "右"), "note");
}

TEST(TextTest, SmallBuilders)
{
    EXPECT_EQ(CharFromCode(65), "A");
    EXPECT_EQ(CharFromCode(0xB0), "\xB0");
    EXPECT_EQ(CharFromCode(0x141), "A");  // low 8 bits
    EXPECT_EQ(CharFromCode(-1), "\xFF");
    EXPECT_EQ(CharFromCode(0), "");
    EXPECT_EQ(CharFromCode(0x100), "");  // a text never holds a NUL byte

    EXPECT_EQ(BlankText(3), "   ");
    EXPECT_EQ(BlankText(0), "");
    EXPECT_EQ(BlankText(-4), "");

    EXPECT_EQ(ConcatTexts("a"), "a");
    EXPECT_EQ(ConcatTexts("a", "", Text("bc"), "d"), "abcd");
}

}  // namespace
