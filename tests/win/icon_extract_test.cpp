// ExtractIconFile on executables, libraries and icon files built by the test.
#include <windows.h>

#include <gtest/gtest.h>

#include "process/icon_extract.h"
#include "tests/win/icon_fixture.h"
#include "tests/win/test_support.h"

using namespace icon_fixture;

namespace {

// A copy of this test program: it carries no icon of its own.
Text PlainExe(const ScratchFolder& folder, const Text& name)
{
    const Text path = folder / name;
    CopyFileA(OwnPath().c_str(), path.c_str(), FALSE);
    return path;
}

TEST(ExtractIconFile, ModulesGiveTheirFirstGroupWithEveryImageWhateverTheirSuffix)
{
    ScratchFolder folder;
    const std::vector<Image> first = ThreeImages();
    const std::vector<Image> second = {{32, 1, Dib(32, 1, 0x0F)}};
    struct Case {
        const char* name;
    } cases[] = {{"two-groups.exe"}, {"two-groups.dll"}, {"two-groups.icl"}, {"TWO-GROUPS.EXE"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Text exe = PlainExe(folder, Text("build-") + c.name);
        // A named group is enumerated before any numbered one.
        ASSERT_TRUE(AddIconGroup(exe, MAKEINTRESOURCEA(7), second, 20));
        ASSERT_TRUE(AddIconGroup(exe, "APPICON", first, 10));
        const Text source = folder / c.name;
        ASSERT_TRUE(MoveFileExA(exe.c_str(), source.c_str(), MOVEFILE_REPLACE_EXISTING));
        const Text out = folder / "out.ico";
        EXPECT_EQ(ExtractIconFile(source, out), 2);
        ExpectIconFile(ReadBytes(out), first);
        DeleteFileA(source.c_str());
    }
}

TEST(ExtractIconFile, IconFilesAreRewrittenInTheStandardLayoutAndCountOne)
{
    ScratchFolder folder;
    std::vector<Image> images = ThreeImages();
    images.push_back({32, 1, Dib(32, 1, 0xAA)});
    // Directory fields of the source are not trusted: they come from the images.
    std::string source = IconFile(images);
    source[6] = 99;
    source[6 + 2] = 7;
    const Text path = folder.Put("given.ICO", source);
    const Text out = folder.Put("out.ico", std::string(50000, 'x'));  // replaced, not appended to
    EXPECT_EQ(ExtractIconFile(path, out), 1);
    ExpectIconFile(ReadBytes(out), images);
}

TEST(ExtractIconFile, SourcesWithoutAUsableIconGiveZeroAndWriteNothing)
{
    ScratchFolder folder;
    std::string truncated = IconFile(ThreeImages());
    truncated.resize(truncated.size() - 10);
    std::string cursor = IconFile(ThreeImages());
    cursor[2] = 2;  // type 2: a cursor file
    const Text iconNamedTxt = folder.Put("icon.txt", IconFile(ThreeImages()));
    struct Case {
        const char* what;
        Text source;
    } cases[] = {
        {"exe without icons", PlainExe(folder, "plain.exe")},
        {"missing exe", folder / "missing.exe"},
        {"missing ico", folder / "missing.ico"},
        {"empty ico", folder.Put("empty.ico", "")},
        {"ico cut short", folder.Put("short.ico", truncated)},
        {"cursor file", folder.Put("cursor.ico", cursor)},
        {"not an icon", folder.Put("text.ico", "hello, world")},
        {"unknown suffix", iconNamedTxt},
        {"empty path", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Text out = folder / "out.ico";
        EXPECT_EQ(ExtractIconFile(c.source, out), 0);
        EXPECT_EQ(GetFileAttributesA(out.c_str()), INVALID_FILE_ATTRIBUTES);
    }
}

TEST(ExtractIconFile, TheIconIsMadeFromMemoryAtThePictureSize)
{
    ScratchFolder folder;
    const Text exe = PlainExe(folder, "icons.exe");
    ASSERT_TRUE(AddIconGroup(exe, MAKEINTRESOURCEA(1), ThreeImages(), 1));
    const ExtractedIcon icon = ExtractIconBytes(exe);
    ASSERT_EQ(icon.groups, 1);
    HICON made = IconFromIconFile(icon.file, 32);
    ASSERT_NE(made, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(made, &info));
    BITMAP colour = {};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, 32);
    EXPECT_EQ(colour.bmHeight, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(made);
    EXPECT_EQ(IconFromIconFile(Bytes(), 32), nullptr);
}

}  // namespace
