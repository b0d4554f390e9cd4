// Whole files, folders, attributes and the streamed file digest, against real files.
#include <windows.h>
#include <winioctl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/files.h"
#include "core/md5.h"
#include "tests/win/test_support.h"

namespace {

const char* const kNoDataMd5 = "d41d8cd98f00b204e9800998ecf8427e";

Bytes B(const std::string& s) { return Bytes(s.begin(), s.end()); }

// Pseudo-random bytes, so a chunking or ordering fault changes the digest.
std::string Noise(std::size_t size)
{
    std::string bytes(size, '\0');
    std::uint32_t x = 2463534242u;
    for (char& c : bytes) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = static_cast<char>(x);
    }
    return bytes;
}

// A sparse file of `size` bytes: only its length matters.
bool MakeSparse(const Text& path, std::int64_t size)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD ignored;
    DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = size;
    bool ok = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    return ok;
}

TEST(ProgramFolder, IsTheFolderOfTheRunningExecutable)
{
    char module[MAX_PATH];
    DWORD size = GetModuleFileNameA(nullptr, module, MAX_PATH);
    Text path(module, size);
    Text folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '\\');
    EXPECT_EQ(folder + "\\files_test.exe", path);
}

TEST(WholeFile, WritesPartsInOrderAndReadsThemBackWithNulBytes)
{
    ScratchFolder f;
    Text path = f.Put("data.bin", "an older and longer content");
    Bytes a = B(std::string("ab\0c", 4)), empty, b = B("\r\nxyz");
    ASSERT_TRUE(WriteWholeFile(path, a, empty, b));
    EXPECT_EQ(ReadBytes(path), std::string("ab\0c\r\nxyz", 9));
    EXPECT_EQ(ReadWholeFile(path), B(std::string("ab\0c\r\nxyz", 9)));

    ASSERT_TRUE(WriteWholeFile(path, empty));
    EXPECT_EQ(ReadBytes(path), "");
    EXPECT_TRUE(ReadWholeFile(path).empty());
}

TEST(WholeFile, FailuresGiveTheEmptyArrayOrFalse)
{
    ScratchFolder f;
    Bytes data = B("x");
    EXPECT_TRUE(ReadWholeFile("").empty());
    EXPECT_TRUE(ReadWholeFile(f / "missing.txt").empty());
    EXPECT_TRUE(ReadWholeFile(f.Path()).empty());  // a folder
    EXPECT_FALSE(WriteWholeFile("", data));
    EXPECT_FALSE(WriteWholeFile(f / "no-such-folder\\a.txt", data));  // folders are not made
    EXPECT_FALSE(FileExists(f / "no-such-folder"));
    EXPECT_FALSE(WriteWholeFile(f.Path(), data));  // a folder
}

TEST(WholeFile, AFileHeldOpenForWritingReadsAsEmptyAndDigestsAsNoData)
{
    ScratchFolder f;
    Text path = f.Put("busy.txt", "content");
    HeldFile writer(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(writer.IsOpen());
    EXPECT_TRUE(ReadWholeFile(path).empty());
    EXPECT_EQ(FileMd5Text(path), kNoDataMd5);
}

TEST(WholeFile, OtherReadersMayStayButNoOneElseDuringAWrite)
{
    ScratchFolder f;
    Text path = f.Put("shared.txt", "content");
    {
        HeldFile reader(path, GENERIC_READ, FILE_SHARE_READ);
        ASSERT_TRUE(reader.IsOpen());
        EXPECT_EQ(ReadWholeFile(path), B("content"));
        EXPECT_EQ(FileMd5Text(path), Md5Text(B("content")));
        EXPECT_FALSE(WriteWholeFile(path, B("new")));  // exclusive: the reader is in the way
    }
    {
        HeldFile reader(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
        EXPECT_FALSE(WriteWholeFile(path, B("new")));
    }
    EXPECT_EQ(ReadBytes(path), "content");
    EXPECT_TRUE(WriteWholeFile(path, B("new")));
    EXPECT_EQ(ReadBytes(path), "new");
}

TEST(WholeFile, AReadOnlyFileIsReadButNotWritten)
{
    ScratchFolder f;
    Text path = f.Put("locked.txt", "keep");
    ASSERT_TRUE(ChangeFileAttributes(path, FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(WriteWholeFile(path, B("lost")));
    EXPECT_EQ(ReadWholeFile(path), B("keep"));
    EXPECT_EQ(FileMd5Text(path), Md5Text(B("keep")));
}

TEST(FileExistsAndSize, FollowADirectorySearch)
{
    ScratchFolder f;
    f.Put("seven.dll", "1234567");
    f.Put("empty.txt", "");
    ASSERT_TRUE(CreateFolder(f / "data"));
    f.Put("data\\inner.txt", "ab");
    struct Case {
        Text path;
        bool exists;
        int size;
    } cases[] = {
        {f / "seven.dll", true, 7},
        {f / "empty.txt", true, 0},
        {f / "data", true, 0},  // a folder counts, with size 0
        {f / "data\\", false, -1},
        {f.Path() + "\\", false, -1},
        {f / "*.dll", true, 7},
        {f / "sev?n.*", true, 7},
        {f / "*.exe", false, -1},
        {f / "data\\*.txt", true, 2},
        {f / "missing.txt", false, -1},
        {f / "missing\\inner.txt", false, -1},
        {f / "seven.dll\\x", false, -1},  // below a file
        {"", false, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(FileExists(c.path), c.exists);
        EXPECT_EQ(FileSize(c.path), c.size);
    }
}

TEST(FileExistsAndSize, AGbkNameWhoseLastByteIs5CIsNoTrailingBackslash)
{
    ASSERT_EQ(GetACP(), 936u);
    ScratchFolder f;
    // U+4E68 "乨" is 0x81 0x5C in code page 936.
    Text name = "\x81\x5C";
    Text path = f.Put(name, "abc");
    ASSERT_EQ(ReadBytes(path), "abc");
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(FileSize(path), 3);
}

TEST(FileSize, IsTheLow32BitsReadAsSigned)
{
    ScratchFolder f;
    struct Case {
        std::int64_t length;
        int size;
    } cases[] = {
        {0x7FFFFFFFLL, 0x7FFFFFFF},
        {0x80000000LL, INT32_MIN},
        {0xFFFFFFFFLL, -1},
        {0x100000005LL, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        Text path = f / "big.bin";
        ASSERT_TRUE(MakeSparse(path, c.length));
        EXPECT_EQ(FileSize(path), c.size);
        DeleteFileA(path.c_str());
    }
}

TEST(ChangeFileAttributes, KeepsOnlyTheFourKnownBits)
{
    ScratchFolder f;
    Text path = f.Put("a.txt", "a");
    ASSERT_TRUE(ChangeFileAttributes(path, 1 | 2 | 0x100 /* temporary: dropped */));
    // Wine reports every file with the archive bit.
    EXPECT_EQ(GetFileAttributesA(path.c_str()) & ~DWORD(FILE_ATTRIBUTE_ARCHIVE),
              DWORD(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(ChangeFileAttributes(path, 0));
    DWORD plain = GetFileAttributesA(path.c_str());
    EXPECT_TRUE(plain == FILE_ATTRIBUTE_NORMAL || plain == FILE_ATTRIBUTE_ARCHIVE) << plain;
    EXPECT_FALSE(ChangeFileAttributes(f / "missing.txt", 32));
}

TEST(CreateFolder, MakesOneNewFolderOnly)
{
    ScratchFolder f;
    EXPECT_TRUE(CreateFolder(f / "new"));
    EXPECT_TRUE(FileExists(f / "new"));
    EXPECT_FALSE(CreateFolder(f / "new"));  // exists already
    EXPECT_FALSE(CreateFolder(f / "a\\b"));  // parent missing
    EXPECT_FALSE(FileExists(f / "a"));
    EXPECT_FALSE(CreateFolder(""));
}

TEST(FileMd5Text, StreamsAFileOfSeveralChunksToTheDigestOfItsBytes)
{
    ScratchFolder f;
    std::string content = Noise((3u << 20) + 12345);  // three full chunks and a part
    Text path = f.Put("large.bin", content);
    int asked = 0;
    Text digest = FileMd5Text(path, [&] {
        ++asked;
        return true;
    });
    EXPECT_EQ(digest, Md5Text(content.data(), content.size()));
    EXPECT_GE(asked, 3);
    EXPECT_EQ(FileMd5Text(path), digest);
}

TEST(FileMd5Text, AbandonsWhenToldNotToProceed)
{
    ScratchFolder f;
    Text path = f.Put("large.bin", Noise(3u << 20));
    int asked = 0;
    EXPECT_EQ(FileMd5Text(path, [&] { return ++asked < 2; }), "");
    EXPECT_EQ(asked, 2);
}

TEST(FileMd5Text, SmallAndMissingFiles)
{
    ScratchFolder f;
    EXPECT_EQ(FileMd5Text(f.Put("abc.txt", "abc")), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(FileMd5Text(f.Put("empty.txt", "")), kNoDataMd5);
    EXPECT_EQ(FileMd5Text(f / "missing.txt"), kNoDataMd5);
    EXPECT_EQ(FileMd5Text(f.Path()), kNoDataMd5);  // a folder
    EXPECT_EQ(FileMd5Text(""), kNoDataMd5);
}

}  // namespace
