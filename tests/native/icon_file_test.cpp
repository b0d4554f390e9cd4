// The icon file layout: entries read from the images, offsets, malformed files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "process/icon_file.h"

namespace {

void Put16(Bytes& b, unsigned v)
{
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(Bytes& b, unsigned v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
unsigned Get16(const Bytes& b, size_t at) { return b[at] | b[at + 1] << 8; }
unsigned Get32(const Bytes& b, size_t at) { return Get16(b, at) | Get16(b, at + 2) << 16; }

// A bitmap header with the given fields and `extra` bytes of pixels after it.
Bytes Dib(int width, int storedHeight, int planes, int bitCount, size_t extra = 8)
{
    Bytes b;
    Put32(b, 40);
    Put32(b, static_cast<unsigned>(width));
    Put32(b, static_cast<unsigned>(storedHeight));
    Put16(b, static_cast<unsigned>(planes));
    Put16(b, static_cast<unsigned>(bitCount));
    b.resize(40 + extra, 0x5A);
    return b;
}

Bytes Png(unsigned width, unsigned height, int depth, int colourType)
{
    Bytes b = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (unsigned v : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8) b.push_back(static_cast<std::uint8_t>(v >> shift));
    b.push_back(static_cast<std::uint8_t>(depth));
    b.push_back(static_cast<std::uint8_t>(colourType));
    b.resize(b.size() + 3 + 4 + 12, 0);  // rest of IHDR, its CRC, an IEND
    return b;
}

TEST(IconFile, EntriesComeFromTheImagesAndOffsetsFollowEachOther)
{
    struct Case {
        const char* what;
        Bytes image;
        unsigned width, height, colours, planes, bitCount;
    } cases[] = {
        {"1-bit", Dib(32, 64, 1, 1), 32, 32, 2, 1, 1},
        {"4-bit", Dib(16, 32, 1, 4), 16, 16, 16, 1, 4},
        {"8-bit: no colour count", Dib(32, 64, 1, 8), 32, 32, 0, 1, 8},
        {"32-bit", Dib(48, 96, 1, 32), 48, 48, 0, 1, 32},
        {"planes times bits", Dib(24, 48, 2, 2), 24, 24, 16, 2, 2},
        {"odd stored height", Dib(20, 41, 1, 24), 20, 20, 0, 1, 24},
        {"256 wide bitmap", Dib(256, 512, 1, 32), 0, 0, 0, 1, 32},
        {"PNG RGBA 256", Png(256, 256, 8, 6), 0, 0, 0, 1, 32},
        {"PNG palette 64", Png(64, 64, 4, 3), 64, 64, 16, 1, 4},
    };
    std::vector<Bytes> images;
    for (const Case& c : cases) images.push_back(c.image);
    const Bytes file = ComposeIconFile(images);
    const size_t n = images.size();
    ASSERT_GE(file.size(), 6 + 16 * n);
    EXPECT_EQ(Get16(file, 0), 0u);
    EXPECT_EQ(Get16(file, 2), 1u);
    EXPECT_EQ(Get16(file, 4), n);
    size_t offset = 6 + 16 * n;
    for (size_t i = 0; i < n; ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.what);
        const size_t e = 6 + 16 * i;
        EXPECT_EQ(file[e], c.width);
        EXPECT_EQ(file[e + 1], c.height);
        EXPECT_EQ(file[e + 2], c.colours);
        EXPECT_EQ(file[e + 3], 0);
        EXPECT_EQ(Get16(file, e + 4), c.planes);
        EXPECT_EQ(Get16(file, e + 6), c.bitCount);
        EXPECT_EQ(Get32(file, e + 8), c.image.size());
        EXPECT_EQ(Get32(file, e + 12), offset);
        EXPECT_TRUE(std::equal(c.image.begin(), c.image.end(), file.begin() + offset));
        offset += c.image.size();
    }
    EXPECT_EQ(file.size(), offset);
    EXPECT_EQ(ImagesOfIconFile(file), images);  // read back as written
}

TEST(IconFile, NothingIsComposedFromNoImageOrAnUnreadableOne)
{
    EXPECT_TRUE(ComposeIconFile({}).empty());
    const std::vector<Bytes> unreadable[] = {
        {Dib(16, 32, 1, 4), Bytes(39, 0)},          // shorter than a header
        {Dib(0, 32, 1, 4)},                          // no width
        {Dib(16, 1, 1, 4)},                          // no room for a mask
        {Png(0, 16, 8, 6)},                          // PNG without width
        {Png(16, 16, 8, 5)},                         // unknown colour type
        {Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 0}},  // neither
    };
    for (const auto& images : unreadable) EXPECT_TRUE(ComposeIconFile(images).empty());
}

Bytes WellFormed()
{
    return ComposeIconFile({Dib(16, 32, 1, 4), Dib(32, 64, 1, 8)});
}

TEST(IconFile, MalformedIconFilesGiveNoImages)
{
    struct Case {
        const char* what;
        Bytes file;
    };
    std::vector<Case> cases;
    auto with = [](const char* what, auto change) {
        Bytes b = WellFormed();
        change(b);
        return Case{what, b};
    };
    cases.push_back({"empty", {}});
    cases.push_back(with("header only", [](Bytes& b) { b.resize(6); }));
    cases.push_back(with("reserved not 0", [](Bytes& b) { b[0] = 1; }));
    cases.push_back(with("cursor type", [](Bytes& b) { b[2] = 2; }));
    cases.push_back(with("no images", [](Bytes& b) { b[4] = 0; }));
    cases.push_back(with("more entries than fit", [](Bytes& b) { b[4] = 200; }));
    cases.push_back(with("data past the end", [](Bytes& b) { b.resize(b.size() - 1); }));
    cases.push_back(with("offset far out", [](Bytes& b) { b[6 + 16 + 15] = 0xFF; }));
    cases.push_back(with("size wraps the offset", [](Bytes& b) {
        for (int i = 8; i < 12; ++i) b[6 + 16 + i] = 0xFF;
    }));
    cases.push_back(with("zero size", [](Bytes& b) {
        for (int i = 8; i < 12; ++i) b[6 + i] = 0;
    }));
    cases.push_back(with("image not a bitmap", [](Bytes& b) { b[6 + 32] = 0; }));
    for (const Case& c : cases) EXPECT_TRUE(ImagesOfIconFile(c.file).empty()) << c.what;
    EXPECT_EQ(ImagesOfIconFile(WellFormed()).size(), 2u);
}

}  // namespace
