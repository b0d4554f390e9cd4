// Files read and written piece by piece: open modes, sharing, line reading, writing.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/files.h"
#include "tests/win/test_support.h"

namespace {

using Lines = std::vector<Text>;

// Reads lines until FileAtEnd, as the program's readers do. Every line read takes at
// least one byte, so more lines than bytes means the reader stood still.
Lines ReadFileLines(const Text& path, bool stopAtMarker)
{
    FileHandle h = FileOpen(path, 1, 1);
    if (!h) return {"<not opened>"};
    std::size_t most = static_cast<std::size_t>(FileSize(path)) + 1;
    Lines lines;
    while (!FileAtEnd(h, stopAtMarker) && lines.size() < most) lines.push_back(FileReadLine(h));
    FileClose(h);
    return lines;
}

// For long files: names the first line that differs instead of printing them all.
void ExpectSameLines(const Lines& actual, const Lines& expected)
{
    EXPECT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size() && i < expected.size(); ++i) {
        if (actual[i] != expected[i]) {
            ADD_FAILURE() << "line " << i + 1 << " differs: " << actual[i].size() << " bytes read, "
                          << expected[i].size() << " expected";
            return;
        }
    }
}

std::string S(const char* bytes, std::size_t size) { return std::string(bytes, size); }

TEST(FileReadLine, SplitsAtLineEndsAsTheProgramReadsThem)
{
    struct Case {
        const char* name;
        std::string content;
        Lines lines;
    } cases[] = {
        {"LF only, no final end", "x\ny", {"x", "y"}},
        {"final CR LF gives no empty line", "x\r\n", {"x"}},
        {"empty line between", "a\r\n\r\nb", {"a", "", "b"}},
        {"two CRs keep one", "a\r\r\nb\r\n", {"a\r", "b"}},
        {"lone CR inside a line", "a\rb", {"a\rb"}},
        {"empty file", "", {}},
        {"only a line end", "\r\n", {""}},
        {"lead byte takes the LF with it", "\x80\ny\nz", {"\x80\ny", "z"}},
        {"two-byte text", "\xD6\xD0\xCE\xC4\r\n\xCA\xFD\xBE\xDD", {"\xD6\xD0\xCE\xC4", "\xCA\xFD\xBE\xDD"}},
        {"lead byte last in the file", "a\n\x81", {"a", "\x81"}},
    };
    ScratchFolder f;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Text path = f.Put("lines.txt", c.content);
        EXPECT_EQ(ReadFileLines(path, false), c.lines);
        EXPECT_EQ(ReadFileLines(path, true), c.lines);
    }
}

TEST(FileReadLine, NulAndCtrlZEndTheReadingOnlyWhenAtEndStopsAtMarkers)
{
    struct Case {
        const char* name;
        std::string content;
        Lines stopping, passing;
    } cases[] = {
        {"Ctrl-Z after the first line", "a\r\n\x1A" "b\r\n", {"a"}, {"a", "", "b"}},
        {"Ctrl-Z ends a line", "a\x1A" "b", {"a"}, {"a", "", "b"}},
        {"NUL ends a line", S("a\0b\r\nc", 6), {"a"}, {"a", "", "b", "c"}},
        {"marker first", S("\0x", 2), {}, {"", "x"}},
        {"marker last", "a\n\x1A", {"a"}, {"a", ""}},
        {"lead byte takes the marker with it", S("\x81\0z\n", 4), {S("\x81\0z", 3)},
         {S("\x81\0z", 3)}},
    };
    ScratchFolder f;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Text path = f.Put("markers.txt", c.content);
        EXPECT_EQ(ReadFileLines(path, true), c.stopping);
        EXPECT_EQ(ReadFileLines(path, false), c.passing);
    }
}

TEST(FileReadLine, StopsBeforeAMarkerAndStepsOverItOnlyWhenCalledOnIt)
{
    ScratchFolder f;
    FileHandle h = FileOpen(f.Put("m.txt", "a\x1A" "b"), 1);
    ASSERT_TRUE(h);
    EXPECT_EQ(FileReadLine(h), "a");
    // The position stays on the Ctrl-Z: both views agree, repeatedly.
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(FileAtEnd(h, true));
        EXPECT_FALSE(FileAtEnd(h));
    }
    EXPECT_EQ(FileReadLine(h), "");  // on the marker: steps over it
    EXPECT_FALSE(FileAtEnd(h, true));
    EXPECT_EQ(FileReadLine(h), "b");
    EXPECT_TRUE(FileAtEnd(h, true));
    EXPECT_TRUE(FileAtEnd(h));
    EXPECT_EQ(FileReadLine(h), "");  // at the end
    FileClose(h);
}

TEST(FileReadLine, LinesAcrossTheReadBuffer)
{
    std::string content;
    Lines expected;
    std::string longLine(200000, 'q');
    expected.push_back(longLine);
    // Lead bytes at every odd offset, each followed by LF: wherever the reader's
    // buffer ends, a seam falls inside such a pair or between two of them.
    std::string pairs = "x";
    for (int i = 0; i < 150000; ++i) pairs += "\x80\n";
    expected.push_back(pairs);
    for (int i = 0; i < 3000; ++i)
        expected.push_back("line " + std::to_string(i) + std::string(i % 97, '-') + "\xB0\xA1");
    for (const Text& line : expected) content += line + "\r\n";
    content += "tail";
    expected.push_back("tail");
    ScratchFolder f;
    Text path = f.Put("long.txt", content);
    ExpectSameLines(ReadFileLines(path, true), expected);
}

TEST(FileHandleZero, ReadsNothingAndReportsTheEnd)
{
    EXPECT_EQ(FileReadLine(nullptr), "");
    EXPECT_TRUE(FileAtEnd(nullptr));
    EXPECT_TRUE(FileAtEnd(nullptr, true));
    EXPECT_FALSE(FileWriteText(nullptr, "x"));
    FileClose(nullptr);
}

TEST(FileOpen, BadArgumentsGiveHandleZero)
{
    ScratchFolder f;
    Text path = f.Put("a.txt", "a");
    struct Case {
        Text path;
        int mode, share;
    } cases[] = {
        {"", 6, 1}, {path, 0, 1}, {path, 7, 1}, {path, -1, 1},
        {path, 1, 0}, {path, 1, 5}, {f.Path(), 1, 1} /* a folder */,
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path + " " + std::to_string(c.mode) + " " + std::to_string(c.share));
        FileHandle h = FileOpen(c.path, c.mode, c.share);
        EXPECT_EQ(h, nullptr);
        FileClose(h);
    }
    EXPECT_EQ(FileOpen(f / "missing.txt"), nullptr);  // default mode 3 needs the file
    FileHandle h = FileOpen(path);                      // default: read and write
    ASSERT_TRUE(h);
    EXPECT_TRUE(FileWriteText(h, "b"));
    EXPECT_EQ(FileReadLine(h), "");
    FileClose(h);
    EXPECT_EQ(ReadBytes(path), "b");
}

TEST(FileOpen, ModesFollowTheTable)
{
    struct Case {
        int mode;
        bool opensMissing, canRead;
        const char* afterWritingXY;  // into a file holding abcdef
    } cases[] = {
        {1, false, true, "abcdef"},  // the write fails
        {2, false, false, "XYcdef"},
        {3, false, true, "XYcdef"},
        {4, true, false, "XY"},
        {5, true, false, "XYcdef"},
        {6, true, true, "XYcdef"},
    };
    ScratchFolder f;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        Text missing = f / "missing.txt";
        FileHandle h = FileOpen(missing, c.mode);
        EXPECT_EQ(h != nullptr, c.opensMissing);
        EXPECT_EQ(FileExists(missing), c.opensMissing);
        if (h) {
            EXPECT_TRUE(FileAtEnd(h));
        }
        FileClose(h);
        DeleteFileA(missing.c_str());

        Text path = f.Put("six.txt", "abcdef");
        h = FileOpen(path, c.mode);
        ASSERT_TRUE(h);
        EXPECT_EQ(ReadBytes(path), c.mode == 4 ? "" : "abcdef");  // mode 4 empties at once
        EXPECT_EQ(FileWriteText(h, "XY"), c.mode != 1);
        FileClose(h);
        EXPECT_EQ(ReadBytes(path), c.afterWritingXY);

        h = FileOpen(path, c.mode);
        ASSERT_TRUE(h);
        if (c.canRead) {
            EXPECT_EQ(FileReadLine(h), c.mode == 1 ? "abcdef" : "XYcdef");
        } else {
            // Reading a write-only file is a read error: empty, and the position goes
            // to the end, where a write then appends.
            EXPECT_EQ(FileReadLine(h), "");
            EXPECT_TRUE(FileAtEnd(h));
            EXPECT_TRUE(FileWriteText(h, "!"));
        }
        FileClose(h);
    }
}

TEST(FileOpen, AReadOnlyFileOpensForReadingOnly)
{
    ScratchFolder f;
    Text path = f.Put("ro.txt", "kept\r\n");
    ASSERT_TRUE(ChangeFileAttributes(path, FILE_ATTRIBUTE_READONLY));
    for (int mode = 2; mode <= 6; ++mode) {
        SCOPED_TRACE(mode);
        EXPECT_EQ(FileOpen(path, mode), nullptr);
    }
    FileHandle h = FileOpen(path, 1);
    ASSERT_TRUE(h);
    EXPECT_EQ(FileReadLine(h), "kept");
    FileClose(h);
    EXPECT_EQ(ReadBytes(path), "kept\r\n");
}

TEST(FileOpen, ShareSaysWhatOthersMayDoMeanwhile)
{
    ScratchFolder f;
    Text path = f.Put("s.txt", "s");
    struct Case {
        int share;
        bool othersRead, othersWrite;
    } cases[] = {{1, true, true}, {2, false, true}, {3, true, false}, {4, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.share);
        FileHandle h = FileOpen(path, 1, c.share);
        ASSERT_TRUE(h);
        const DWORD all = FILE_SHARE_READ | FILE_SHARE_WRITE;
        EXPECT_EQ(CanOpen(path, GENERIC_READ, all), c.othersRead);
        EXPECT_EQ(CanOpen(path, GENERIC_WRITE, all), c.othersWrite);
        FileClose(h);
    }
}

TEST(FileOpen, FailsWhenAnotherHandleConflictsWithTheShare)
{
    ScratchFolder f;
    Text path = f.Put("s.txt", "s");
    const DWORD all = FILE_SHARE_READ | FILE_SHARE_WRITE;
    struct Case {
        DWORD heldAccess;
        int share;
        bool opens;
    } cases[] = {
        {GENERIC_WRITE, 1, true}, {GENERIC_WRITE, 2, true},
        {GENERIC_WRITE, 3, false}, {GENERIC_WRITE, 4, false},
        {GENERIC_READ, 1, true}, {GENERIC_READ, 2, false},
        {GENERIC_READ, 3, true}, {GENERIC_READ, 4, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.heldAccess == GENERIC_READ ? "held for reading, share " : "held for writing, share ") +
                     std::to_string(c.share));
        HeldFile other(path, c.heldAccess, all);
        ASSERT_TRUE(other.IsOpen());
        FileHandle h = FileOpen(path, 1, c.share);
        EXPECT_EQ(h != nullptr, c.opens);
        FileClose(h);
    }
    // The other side's share counts too: a holder that allows only reading keeps writers out.
    HeldFile reader(path, GENERIC_READ, FILE_SHARE_READ);
    EXPECT_EQ(FileOpen(path, 5, 1), nullptr);
    FileHandle h = FileOpen(path, 1, 1);
    EXPECT_TRUE(h);
    FileClose(h);
}

TEST(FileWriteText, WritesValuesInTheirTextFormsWithNothingBetween)
{
    ScratchFolder f;
    Text path = f / "out.txt";
    FileHandle h = FileOpen(path, 4);
    ASSERT_TRUE(h);
    DateTime when;
    when.hour = 14;
    when.minute = 5;
    when.second = 3;
    EXPECT_TRUE(FileWriteText(h, "a", Text(), 53248, -1, 1.5, 2.0, when));
    EXPECT_TRUE(FileWriteText(h, "\r\n"));
    FileClose(h);
    EXPECT_EQ(ReadBytes(path), "a53248-11.522000年1月1日14时5分3秒\r\n");
}

TEST(FileWriteText, WritesAtTheReadPositionAndReadingGoesOnAfterIt)
{
    ScratchFolder f;
    Text path = f.Put("rw.txt", "one\r\ntwo\r\nthree");
    FileHandle h = FileOpen(path, 3);
    ASSERT_TRUE(h);
    EXPECT_EQ(FileReadLine(h), "one");
    EXPECT_TRUE(FileWriteText(h, "TW"));
    EXPECT_EQ(FileReadLine(h), "o");
    EXPECT_EQ(FileReadLine(h), "three");
    EXPECT_TRUE(FileAtEnd(h));
    EXPECT_TRUE(FileWriteText(h, "\r\nfour"));
    FileClose(h);
    EXPECT_EQ(ReadBytes(path), "one\r\nTWo\r\nthree\r\nfour");
}

TEST(FileWriteText, AFailedWriteLeavesThePositionWhereItWas)
{
    ScratchFolder f;
    Text path = f.Put("r.txt", "ab\ncd\n");
    FileHandle h = FileOpen(path, 1);
    ASSERT_TRUE(h);
    EXPECT_EQ(FileReadLine(h), "ab");
    EXPECT_FALSE(FileWriteText(h, "zz", "yy"));
    EXPECT_EQ(FileReadLine(h), "cd");
    FileClose(h);
    EXPECT_EQ(ReadBytes(path), "ab\ncd\n");
}

TEST(FileClose, LeavesTheWrittenBytesForOthers)
{
    ScratchFolder f;
    Text path = f / "report.txt";
    FileHandle h = FileOpen(path, 5, 4);
    ASSERT_TRUE(h);
    EXPECT_FALSE(CanOpen(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE));
    ASSERT_TRUE(FileWriteText(h, "record\r\n"));
    FileClose(h);
    EXPECT_EQ(ReadBytes(path), "record\r\n");
}

}  // namespace
