// The folder listing and the file walk, against real folder trees.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "core/message.h"
#include "core/stores.h"
#include "scan/walk.h"
#include "tests/win/test_support.h"

namespace {

using Paths = std::vector<Text>;

// Its GBK form ends in 0x5C, the byte of "\".
const char* const kTrailBackslashName = "誠";

void MakeFile(const Text& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              attributes, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    CloseHandle(file);
}

void MakeFolder(const Text& path, DWORD attributes = 0)
{
    ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
    if (attributes) {
        ASSERT_TRUE(SetFileAttributesA(path.c_str(), attributes)) << path;
    }
}

bool Exists(const Text& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The entry names of a folder in the order the system's search gives them.
Paths Listing(const Text& folder, bool folders)
{
    Paths names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == folders)
            names.push_back(entry.cFileName);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return names;
}

// The walk done the plain way, as the reference order: files by `mask`, then
// every subfolder by "*.*", each listing its own search.
void PlainWalk(const Text& folder, const Text& mask, Paths& out)
{
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\" + mask).c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                out.push_back(folder + "\\" + entry.cFileName);
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    for (const Text& name : Listing(folder, true))
        if (name != "." && name != "..") PlainWalk(folder + "\\" + name, mask, out);
}

Paths PlainWalk(const Text& folder, const Text& mask)
{
    Paths out;
    PlainWalk(folder, mask, out);
    return out;
}

// Records what the walk hands over; answers false to the Proceed after `stopAfter` adds.
struct RecordingSink : WalkSink {
    int stopAfter = -1;
    int proceeds = 0;
    Paths added;
    Paths messages;

    bool Proceed() override
    {
        ++proceeds;
        return stopAfter < 0 || static_cast<int>(added.size()) < stopAfter;
    }
    void Add(const Text& path) override { added.push_back(path); }
    void Message(const Text& text) override { messages.push_back(text); }
};

Paths Walk(Text path, Text mask = "")
{
    RecordingSink sink;
    EXPECT_TRUE(WalkFolder(path, mask, sink));
    EXPECT_TRUE(sink.messages.empty());
    return sink.added;
}

// Files interleaved with folders at several levels: hidden and system entries,
// names without a dot, a folder named like a file, empty folders, folders that
// hold only folders, and a name whose last byte is 0x5C.
void MakeMixedTree(const Text& t)
{
    MakeFile(t + "\\a.txt");
    MakeFile(t + "\\noext");
    MakeFile(t + "\\h.sys", FILE_ATTRIBUTE_HIDDEN);
    MakeFile(t + "\\s.dat", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
    MakeFile(t + "\\r.txt", FILE_ATTRIBUTE_READONLY);
    MakeFile(t + "\\x.dll");
    MakeFile(t + "\\" + kTrailBackslashName + ".dll");
    MakeFolder(t + "\\sub");
    MakeFile(t + "\\sub\\b.txt");
    MakeFile(t + "\\sub\\c.dll");
    MakeFolder(t + "\\hid", FILE_ATTRIBUTE_HIDDEN);
    MakeFile(t + "\\hid\\h1.txt");
    MakeFolder(t + "\\hid\\deeper", FILE_ATTRIBUTE_SYSTEM);
    MakeFile(t + "\\hid\\deeper\\d.dll");
    MakeFolder(t + "\\sys", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
    MakeFile(t + "\\sys\\s1.txt");
    MakeFolder(t + "\\empty");
    MakeFolder(t + "\\onlydirs");
    MakeFolder(t + "\\onlydirs\\in1");
    MakeFile(t + "\\onlydirs\\in1\\i.txt");
    MakeFolder(t + "\\onlydirs\\in2");
    MakeFolder(t + "\\onlydirs\\in3");
    MakeFile(t + "\\onlydirs\\in3\\j.dll");
    MakeFolder(t + "\\dir.dll");
    MakeFile(t + "\\dir.dll\\inner.txt");
    MakeFile(t + "\\dir.dll\\y.dll");
    MakeFolder(t + "\\" + kTrailBackslashName);
    MakeFile(t + "\\" + kTrailBackslashName + "\\f.txt");
    // Subfolders between and after files, so the folders pass ends at different places.
    MakeFolder(t + "\\many");
    for (char c = 'a'; c <= 'z'; ++c) {
        MakeFile(t + "\\many\\" + c + ".txt");
        if (c % 6 == 0) {
            Text folder = t + "\\many\\" + c + "dir";
            MakeFolder(folder);
            MakeFile(folder + "\\in.txt");
            MakeFile(folder + "\\in.dll");
        }
    }
    MakeFolder(t + "\\many\\zzlast");
    MakeFile(t + "\\many\\zzlast\\z.txt");
}

TEST(FindEntry, FilesOnlyGivesEveryFileInTheSystemsOrderAndNoFolders)
{
    ScratchFolder t;
    MakeMixedTree(t.Path());
    const Paths expected = Listing(t.Path(), false);
    ASSERT_EQ(expected.size(), 7u);

    SearchHandle handle;
    Paths got;
    for (Text name = FindEntry(t.Path() + "\\*.*", EntryMode::FilesOnly, handle); !name.empty();
         name = FindEntry("", EntryMode::FilesOnly, handle))
        got.push_back(name);
    EXPECT_EQ(got, expected);
    EXPECT_FALSE(handle.IsOpen());
    EXPECT_EQ(FindEntry("", EntryMode::FilesOnly, handle), "");
}

TEST(FindEntry, FoldersOnlyGivesDotsAndEveryFolderAttributeAlike)
{
    ScratchFolder t;
    MakeMixedTree(t.Path());
    const Paths expected = Listing(t.Path(), true);
    ASSERT_EQ(expected.size(), 10u);  // ".", "..", 8 folders
    EXPECT_NE(std::find(expected.begin(), expected.end(), "."), expected.end());
    EXPECT_NE(std::find(expected.begin(), expected.end(), "hid"), expected.end());

    SearchHandle handle;
    Paths got;
    for (Text name = FindEntry(t.Path() + "\\*.*", EntryMode::FoldersOnly, handle);
         !name.empty(); name = FindEntry("", EntryMode::FoldersOnly, handle))
        got.push_back(name);
    EXPECT_EQ(got, expected);
    EXPECT_FALSE(handle.IsOpen());
}

TEST(FindEntry, NothingToFindLeavesTheHandleNone)
{
    ScratchFolder t;
    MakeFile(t / "only.txt");
    MakeFolder(t / "sub");
    struct Case {
        const char* what;
        Text pattern;
        EntryMode mode;
    } cases[] = {
        {"empty pattern", "", EntryMode::FilesOnly},
        {"missing folder", t.Path() + "\\gone\\*.*", EntryMode::FilesOnly},
        {"no match", t.Path() + "\\*.dll", EntryMode::FilesOnly},
        {"folders only, none match", t.Path() + "\\*.txt", EntryMode::FoldersOnly},
        {"files only, only folders match", t.Path() + "\\sub", EntryMode::FilesOnly},
        {"longer than the path limit", t.Path() + "\\" + Text(300, 'x') + "\\*.*",
         EntryMode::FoldersOnly},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SearchHandle handle;
        EXPECT_EQ(FindEntry(c.pattern, c.mode, handle), "");
        EXPECT_FALSE(handle.IsOpen());
        EXPECT_EQ(FindEntry("", c.mode, handle), "");
    }
}

TEST(FindEntry, ANewPatternClosesTheOpenSearchAndTheDestructorClosesItsOwn)
{
    ScratchFolder t;
    MakeFolder(t / "first");
    MakeFile(t / "first\\1.txt");
    MakeFile(t / "first\\2.txt");
    MakeFolder(t / "second");
    MakeFile(t / "second\\3.txt");
    {
        SearchHandle handle;
        ASSERT_NE(FindEntry(t / "first\\*.*", EntryMode::FilesOnly, handle), "");
        // An open search keeps its folder from being removed.
        DeleteFileA((t / "first\\1.txt").c_str());
        DeleteFileA((t / "first\\2.txt").c_str());
        EXPECT_FALSE(RemoveDirectoryA((t / "first").c_str()));

        EXPECT_EQ(FindEntry(t / "second\\*.*", EntryMode::FilesOnly, handle), "3.txt");
        EXPECT_TRUE(handle.IsOpen());
        EXPECT_TRUE(RemoveDirectoryA((t / "first").c_str()));

        SearchHandle moved = std::move(handle);
        EXPECT_FALSE(handle.IsOpen());
        EXPECT_TRUE(moved.IsOpen());
        DeleteFileA((t / "second\\3.txt").c_str());
    }
    EXPECT_TRUE(RemoveDirectoryA((t / "second").c_str()));
}

TEST(WalkFolder, FilesOfAFolderComeBeforeItsSubfolderInTheSystemsOrder)
{
    ScratchFolder t;
    MakeFile(t / "a.txt");
    MakeFile(t / "h.sys", FILE_ATTRIBUTE_HIDDEN);
    MakeFile(t / "s.bin", FILE_ATTRIBUTE_SYSTEM);
    MakeFolder(t / "sub");
    MakeFile(t / "sub\\b.txt");
    ASSERT_EQ(GetFileAttributesA((t / "h.sys").c_str()) & FILE_ATTRIBUTE_HIDDEN,
              DWORD{FILE_ATTRIBUTE_HIDDEN});

    Paths expected;
    for (const Text& name : Listing(t.Path(), false)) expected.push_back(t / name);
    ASSERT_EQ(expected.size(), 3u);
    expected.push_back(t / "sub\\b.txt");
    EXPECT_EQ(Walk(t.Path()), expected);
}

TEST(WalkFolder, MatchesThePlainWalkForEveryMask)
{
    ScratchFolder t;
    MakeMixedTree(t.Path());
    struct Case {
        Text mask;
        std::size_t count;
    } cases[] = {
        {"", 52}, {"*.*", 52}, {"*", 52}, {"*.dll", 10}, {"*.txt", 39}, {"?.txt", 32},
        {"b.txt", 2}, {"*.none", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("mask \"" + c.mask + "\"");
        Paths got = Walk(t.Path(), c.mask);
        EXPECT_EQ(got, PlainWalk(t.Path(), c.mask.empty() ? "*.*" : c.mask));
        EXPECT_EQ(got.size(), c.count);
    }
    // A mask picks files only; every folder is walked, whatever its name.
    Paths dlls = Walk(t.Path(), "*.dll");
    for (const char* inside : {"\\dir.dll\\y.dll", "\\hid\\deeper\\d.dll", "\\onlydirs\\in3\\j.dll"})
        EXPECT_NE(std::find(dlls.begin(), dlls.end(), t.Path() + inside), dlls.end()) << inside;
    EXPECT_EQ(std::find(dlls.begin(), dlls.end(), t / "dir.dll"), dlls.end());
}

TEST(WalkFolder, SetsTheCallersPathAndMaskAndNeverDoublesTheBackslash)
{
    ScratchFolder t;
    MakeMixedTree(t.Path());
    const Paths expected = PlainWalk(t.Path(), "*.*");
    struct Case {
        Text path, mask;
    } cases[] = {
        {t.Path(), ""}, {t.Path() + "\\", ""}, {t.Path(), "*.*"}, {t.Path() + "\\", "*.*"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path + " | " + c.mask);
        Text path = c.path, mask = c.mask;
        RecordingSink sink;
        EXPECT_TRUE(WalkFolder(path, mask, sink));
        EXPECT_EQ(path, t.Path() + "\\");
        EXPECT_EQ(mask, "*.*");
        EXPECT_EQ(sink.added, expected);
    }
}

TEST(WalkFolder, AFolderNameEndingInByte5CStillGetsItsBackslash)
{
    ASSERT_EQ(Text(kTrailBackslashName), "\xD5\x5C");
    ScratchFolder t;
    const Text folder = t / kTrailBackslashName;
    MakeFolder(folder);
    MakeFile(folder + "\\f.txt");
    // Siblings that a pattern without the backslash would pick up.
    MakeFile(folder + ".dll");
    MakeFile(folder + "x.txt");

    Text path = folder, mask;
    RecordingSink sink;
    EXPECT_TRUE(WalkFolder(path, mask, sink));
    EXPECT_EQ(path, folder + "\\");
    EXPECT_EQ(sink.added, Paths{folder + "\\f.txt"});
}

TEST(WalkFolder, FoldersWithNothingToListAddNothingAndSayNothing)
{
    ScratchFolder t;
    MakeFolder(t / "empty");
    MakeFolder(t / "dirs");
    MakeFolder(t / "dirs\\a");
    MakeFolder(t / "dirs\\a\\b");
    MakeFolder(t / "dirs\\c");
    MakeFolder(t / "onlyinside");
    MakeFolder(t / "onlyinside\\deep");
    MakeFolder(t / "onlyinside\\deep\\er");
    MakeFile(t / "onlyinside\\deep\\er\\x.txt");
    MakeFile(t / "file.txt");
    for (const char* folder : {"empty", "dirs", "missing", "missing\\too", "file.txt"}) {
        SCOPED_TRACE(folder);
        EXPECT_EQ(Walk(t / folder), Paths{});
    }
    EXPECT_EQ(Walk(t / "onlyinside"), Paths{t / "onlyinside\\deep\\er\\x.txt"});
}

TEST(WalkFolder, AnEmptyPathIsRefusedWithAMessage)
{
    Text path, mask;
    RecordingSink sink;
    EXPECT_TRUE(WalkFolder(path, mask, sink));
    EXPECT_EQ(sink.messages, Paths{"目录名不能为空"});
    EXPECT_TRUE(sink.added.empty());
    EXPECT_EQ(sink.proceeds, 0);
    EXPECT_EQ(path, "");
}

TEST(WalkFolder, StopsAtOnceWhenTheSinkSaysSoAndLeavesNoSearchOpen)
{
    std::size_t total = 0;
    {
        ScratchFolder t;
        MakeMixedTree(t.Path());
        total = Walk(t.Path()).size();
    }
    ASSERT_EQ(total, 52u);
    for (int n : {0, 1, 8, 9, 30, 51, 52}) {
        SCOPED_TRACE(n);
        ScratchFolder t;
        MakeMixedTree(t.Path());
        const Paths full = PlainWalk(t.Path(), "*.*");
        Text path = t.Path(), mask;
        RecordingSink sink;
        sink.stopAfter = n;
        EXPECT_EQ(WalkFolder(path, mask, sink), n == static_cast<int>(total));
        EXPECT_EQ(sink.added, Paths(full.begin(), full.begin() + n));
        // Asked once before each add, and once more for the refused one.
        EXPECT_EQ(sink.proceeds, n == static_cast<int>(total) ? n : n + 1);
        RemoveTree(t.Path());
        EXPECT_FALSE(Exists(t.Path())) << "a search is still open";
    }
}

TEST(WalkFolder, WalksThirtyLevelsDeep)
{
    ScratchFolder t;
    Text folder = t.Path();
    Paths expected;
    for (int level = 0; level < 30; ++level) {
        MakeFile(folder + "\\f.txt");
        expected.push_back(folder + "\\f.txt");
        folder += "\\d";
        MakeFolder(folder);
    }
    EXPECT_EQ(Walk(t.Path()), expected);
}

// The path limit ends the walk of a too deep folder: it counts as empty.
TEST(WalkFolder, FoldersPastThePathLimitCountAsEmpty)
{
    ScratchFolder t;
    std::wstring wide = L"\\\\?\\";
    for (char c : t.Path()) wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    const std::wstring root = wide;
    Text folder = t.Path();
    Paths reachable;
    for (int level = 0; level < 40; ++level) {
        std::wstring file = wide + L"\\f.txt";
        HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE) << level;
        CloseHandle(h);
        if (folder.size() + 4 < 200) reachable.push_back(folder + "\\f.txt");
        wide += L"\\dddddddd";
        folder += "\\dddddddd";
        ASSERT_TRUE(CreateDirectoryW(wide.c_str(), nullptr)) << level;
    }
    ASSERT_GT(folder.size(), 400u);

    Paths got = Walk(t.Path());
    ASSERT_GE(got.size(), reachable.size());
    EXPECT_EQ(Paths(got.begin(), got.begin() + reachable.size()), reachable);
    EXPECT_LT(got.size(), 40u);

    // The A functions cannot reach the deep part; take the tree down from the bottom.
    while (wide.size() > root.size()) {
        DeleteFileW((wide + L"\\f.txt").c_str());
        RemoveDirectoryW(wide.c_str());
        wide.resize(wide.rfind(L'\\'));
    }
    DeleteFileW((root + L"\\f.txt").c_str());
}

TEST(StoreSink, AddsToTheStoreInWalkOrder)
{
    ScratchFolder t;
    MakeMixedTree(t.Path());
    ListStore store;
    StoreSink sink(store);
    Text path = t.Path(), mask;
    EXPECT_TRUE(WalkFolder(path, mask, sink));
    EXPECT_EQ(store.Items(), PlainWalk(t.Path(), "*.*"));
}

// The box of the calling thread, found and closed by a second thread.
HWND FindBoxOfThread(DWORD thread)
{
    HWND box = nullptr;
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM found) -> BOOL {
            char name[16] = {};
            GetClassNameA(window, name, sizeof name);
            if (lstrcmpA(name, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&box));
    return box;
}

TEST(StoreSink, ShowsTheEmptyPathMessageInTheProgramsBox)
{
    const DWORD self = GetCurrentThreadId();
    Text title, text;
    std::thread answer([&] {
        HWND box = nullptr;
        for (int i = 0; i < 1000 && !box; ++i) {
            box = FindBoxOfThread(self);
            if (!box) Sleep(10);
        }
        if (!box) return;
        Sleep(50);
        char buffer[256] = {};
        GetWindowTextA(box, buffer, sizeof buffer);
        title = buffer;
        GetWindowTextA(GetDlgItem(box, 0xFFFF), buffer, sizeof buffer);
        text = buffer;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    ListStore store;
    StoreSink sink(store);
    Text path, mask;
    EXPECT_TRUE(WalkFolder(path, mask, sink));
    answer.join();
    EXPECT_EQ(title, kDefaultMessageTitle);
    EXPECT_EQ(text, "目录名不能为空");
    EXPECT_EQ(store.Count(), 0);
}

}  // namespace
