// Report file names and appending to a report, against real files.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "scan/report_file.h"
#include "tests/win/test_support.h"

namespace {

// Whether a write through another handle at `offset`, inside a lock, fails as
// Windows makes it fail (Wine lets it through).
bool WritesRespectLocks(const Text& path, DWORD offset)
{
    HANDLE probe = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE) return false;
    OVERLAPPED where = {};
    where.Offset = offset;
    DWORD written = 0;
    const bool wrote = WriteFile(probe, "x", 1, &written, &where) != 0;
    CloseHandle(probe);
    return !wrote;
}

TEST(ReportFileName, MapsWhatAFileNameCannotHoldAndKeepsEverythingElse)
{
    struct Case {
        const char* note;
        const char* name;
    } cases[] = {
        {"", ""},
        {"note 1.v2 (beta)", "note 1.v2 (beta)"},
        {"中文备注", "中文备注"},
        {"a\\b/c:d*e?f\"g<h>i|j", "a_b_c_d_e_f_g_h_i_j"},
        {"tab\there\x01\x1F", "tab_here__"},
        {"\x7F~#%", "\x7F~#%"},
        // Second bytes 0x7C and 0x5C belong to their characters.
        {"億|乗\\", "億_乗_"},
        // A lead byte cut off at the end is no character.
        {"中\xD6", "中_"},
        {"CON", "_CON"},
        {"nul.log", "_nul.log"},
        {"Com7 ", "_Com7 "},
        {"lpt1.x.y", "_lpt1.x.y"},
        {"CONSOLE", "CONSOLE"},
        {"COM0", "COM0"},
        {"xCON", "xCON"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        EXPECT_EQ(ReportFileName(c.note), c.name);
    }
    EXPECT_EQ(ReportPath("C:\\scan", "a:b"), "C:\\scan\\a_b.txt");
    EXPECT_EQ(ReportPath("C:\\scan", ""), "C:\\scan\\.txt");
}

TEST(ReportFileName, EveryMappedNameCanBeCreated)
{
    ScratchFolder folder;
    for (const char* note : {"a\\b/c:d*e?f\"g<h>i|j", "tab\there", "億乗", "CON", "aux.txt", ""}) {
        SCOPED_TRACE(note);
        const Text path = ReportPath(folder.Path(), note);
        ASSERT_TRUE(AppendToReport(path, "x"));
        EXPECT_EQ(ReadBytes(path), "x");
    }
}

TEST(AppendToReport, CreatesAMissingReportAndAddsAtTheEnd)
{
    ScratchFolder folder;
    const Text path = folder / "N.txt";
    ASSERT_TRUE(AppendToReport(path, "first\r\n"));
    ASSERT_TRUE(AppendToReport(path, std::string("\xA1\xAA") + "second"));
    ASSERT_TRUE(AppendToReport(path, ""));
    EXPECT_EQ(ReadBytes(path), "first\r\n\xA1\xAAsecond");
}

TEST(AppendToReport, AReportThatCannotBeOpenedKeepsItsContent)
{
    ScratchFolder folder;
    const std::string old = "earlier records\r\n";

    {
        SCOPED_TRACE("held without sharing");
        const Text path = folder.Put("held.txt", old);
        HeldFile held(path, GENERIC_READ, 0);
        ASSERT_TRUE(held.IsOpen());
        EXPECT_FALSE(AppendToReport(path, "new record"));
    }
    EXPECT_EQ(ReadBytes(folder / "held.txt"), old);
    EXPECT_TRUE(AppendToReport(folder / "held.txt", "next"));
    EXPECT_EQ(ReadBytes(folder / "held.txt"), old + "next");

    {
        SCOPED_TRACE("read-only");
        const Text path = folder.Put("readonly.txt", old);
        ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
        EXPECT_FALSE(AppendToReport(path, "new record"));
        EXPECT_EQ(ReadBytes(path), old);
    }

    {
        SCOPED_TRACE("scan folder missing");
        EXPECT_FALSE(AppendToReport(folder / "missing\\N.txt", "new record"));
        EXPECT_EQ(GetFileAttributesA((folder / "missing").c_str()), INVALID_FILE_ATTRIBUTES);
    }
}

TEST(AppendToReport, AWriteThatFailsPartWayIsCutBackToTheOldEnd)
{
    ScratchFolder folder;
    const std::string old = "earlier records\r\n";
    const Text path = folder.Put("locked.txt", old);
    // A reader's lock from 100,000 bytes past the end: the open succeeds, the
    // first 64 KB piece is written, a later one fails.
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const DWORD lockStart = static_cast<DWORD>(old.size()) + 100000;
    ASSERT_TRUE(LockFile(held, lockStart, 0, 1u << 20, 0));
    if (!WritesRespectLocks(path, lockStart)) {
        CloseHandle(held);
        GTEST_SKIP() << "byte-range locks do not stop other handles' writes here";
    }

    EXPECT_FALSE(AppendToReport(path, std::string(300000, 'r')));
    LARGE_INTEGER size;
    ASSERT_TRUE(GetFileSizeEx(held, &size));
    EXPECT_EQ(size.QuadPart, static_cast<LONGLONG>(old.size()));
    CloseHandle(held);
    EXPECT_EQ(ReadBytes(path), old);
    ASSERT_TRUE(AppendToReport(path, "next"));
    EXPECT_EQ(ReadBytes(path), old + "next");
}

}  // namespace
