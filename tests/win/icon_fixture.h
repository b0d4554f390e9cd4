// Icon images, icon files and executables carrying icon groups, made by the
// tests from the documented formats.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/text.h"

namespace icon_fixture {

inline void Put16(std::string& s, unsigned v)
{
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
inline void Put32(std::string& s, unsigned v)
{
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}
inline unsigned Get16(const std::string& s, size_t at)
{
    return static_cast<unsigned char>(s[at]) | static_cast<unsigned char>(s[at + 1]) << 8;
}
inline unsigned Get32(const std::string& s, size_t at) { return Get16(s, at) | Get16(s, at + 2) << 16; }

// An icon image as resources store it: header, colour table, colour bits, mask.
inline std::string Dib(int size, int bitCount, unsigned char fill)
{
    const int colourStride = ((size * bitCount + 31) / 32) * 4;
    const int maskStride = ((size + 31) / 32) * 4;
    std::string s;
    Put32(s, 40);
    Put32(s, static_cast<unsigned>(size));
    Put32(s, static_cast<unsigned>(size * 2));  // colour bitmap and mask
    Put16(s, 1);
    Put16(s, static_cast<unsigned>(bitCount));
    Put32(s, 0);
    Put32(s, static_cast<unsigned>((colourStride + maskStride) * size));
    for (int i = 0; i < 4; ++i) Put32(s, 0);
    if (bitCount <= 8)
        for (int i = 0; i < (1 << bitCount); ++i) Put32(s, static_cast<unsigned>(i * 0x010203));
    s.append(static_cast<size_t>(colourStride * size), static_cast<char>(fill));
    s.append(static_cast<size_t>(maskStride * size), '\0');
    return s;
}

struct Image {
    int size;      // width and height
    int bitCount;
    std::string bytes;
};

inline std::vector<Image> ThreeImages()
{
    return {{16, 4, Dib(16, 4, 0x12)}, {32, 8, Dib(32, 8, 0x34)}, {48, 32, Dib(48, 32, 0x56)}};
}

// An icon file: header, 16-byte entries, image data in order.
inline std::string IconFile(const std::vector<Image>& images)
{
    std::string s;
    Put16(s, 0);
    Put16(s, 1);
    Put16(s, static_cast<unsigned>(images.size()));
    unsigned offset = static_cast<unsigned>(6 + 16 * images.size());
    for (const Image& i : images) {
        s += static_cast<char>(i.size);
        s += static_cast<char>(i.size);
        s += static_cast<char>(i.bitCount < 8 ? 1 << i.bitCount : 0);
        s += '\0';
        Put16(s, 1);
        Put16(s, static_cast<unsigned>(i.bitCount));
        Put32(s, static_cast<unsigned>(i.bytes.size()));
        Put32(s, offset);
        offset += static_cast<unsigned>(i.bytes.size());
    }
    for (const Image& i : images) s += i.bytes;
    return s;
}

// Adds RT_ICON resources from `firstId` on and one RT_GROUP_ICON naming them.
inline bool AddIconGroup(const Text& exe, LPCSTR groupName, const std::vector<Image>& images,
                         WORD firstId)
{
    HANDLE update = BeginUpdateResourceA(exe.c_str(), FALSE);
    if (!update) return false;
    const WORD language = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
    std::string group;
    Put16(group, 0);
    Put16(group, 1);
    Put16(group, static_cast<unsigned>(images.size()));
    bool ok = true;
    for (size_t n = 0; n < images.size(); ++n) {
        const Image& i = images[n];
        const WORD id = static_cast<WORD>(firstId + n);
        ok &= UpdateResourceA(update, MAKEINTRESOURCEA(3), MAKEINTRESOURCEA(id), language,
                              const_cast<char*>(i.bytes.data()),
                              static_cast<DWORD>(i.bytes.size())) != FALSE;
        group += static_cast<char>(i.size);
        group += static_cast<char>(i.size);
        group += static_cast<char>(i.bitCount < 8 ? 1 << i.bitCount : 0);
        group += '\0';
        Put16(group, 1);
        Put16(group, static_cast<unsigned>(i.bitCount));
        Put32(group, static_cast<unsigned>(i.bytes.size()));
        Put16(group, id);
    }
    ok &= UpdateResourceA(update, MAKEINTRESOURCEA(14), groupName, language, group.data(),
                          static_cast<DWORD>(group.size())) != FALSE;
    return EndUpdateResourceA(update, !ok) && ok;
}

// Checks an icon file field by field against the images it should hold.
inline void ExpectIconFile(const std::string& file, const std::vector<Image>& images)
{
    ASSERT_GE(file.size(), 6 + 16 * images.size());
    EXPECT_EQ(Get16(file, 0), 0u);
    EXPECT_EQ(Get16(file, 2), 1u);
    ASSERT_EQ(Get16(file, 4), images.size());
    size_t offset = 6 + 16 * images.size();
    for (size_t n = 0; n < images.size(); ++n) {
        SCOPED_TRACE("image " + std::to_string(n));
        const Image& i = images[n];
        const size_t e = 6 + 16 * n;
        EXPECT_EQ(static_cast<unsigned char>(file[e]), i.size);
        EXPECT_EQ(static_cast<unsigned char>(file[e + 1]), i.size);
        EXPECT_EQ(static_cast<unsigned char>(file[e + 2]), i.bitCount < 8 ? 1 << i.bitCount : 0);
        EXPECT_EQ(file[e + 3], 0);
        EXPECT_EQ(Get16(file, e + 4), 1u);
        EXPECT_EQ(Get16(file, e + 6), static_cast<unsigned>(i.bitCount));
        EXPECT_EQ(Get32(file, e + 8), i.bytes.size());
        EXPECT_EQ(Get32(file, e + 12), offset);
        ASSERT_LE(offset + i.bytes.size(), file.size());
        EXPECT_TRUE(file.compare(offset, i.bytes.size(), i.bytes) == 0);
        offset += i.bytes.size();
    }
    EXPECT_EQ(file.size(), offset);
}

inline Text OwnPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

inline Text BesideTest(const Text& name)
{
    const Text own = OwnPath();
    return own.substr(0, own.find_last_of('\\') + 1) + name;
}

}  // namespace icon_fixture
