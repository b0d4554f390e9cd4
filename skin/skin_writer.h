// Builds skin files (skin/skin_format.h) at compile time from a readable description.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "skin/skin_format.h"

constexpr std::uint32_t SkinRgb(int red, int green, int blue)
{
    return static_cast<std::uint32_t>(red) | static_cast<std::uint32_t>(green) << 8 |
           static_cast<std::uint32_t>(blue) << 16;
}

struct SkinDescription {
    const char* name;                         // code page 936
    std::uint32_t colours[kSkinColourCount];  // SkinRgb values, by SkinColour
    int fontHeight;                           // LOGFONT lfHeight
    int fontWeight;
    int fontCharset;
    const char* faces[kSkinFaceSlots];        // preferred first; unused slots null
    int cornerRadius;
    int borderWidth;
};

namespace skin_writer {

// Not constexpr: reaching it during constant evaluation stops the build.
inline void InvalidSkinDescription() {}

template <std::size_t N>
constexpr void Put16(std::array<unsigned char, N>& out, int at, int value)
{
    out[at] = static_cast<unsigned char>(value & 0xFF);
    out[at + 1] = static_cast<unsigned char>((value >> 8) & 0xFF);
}

template <std::size_t N>
constexpr void Put32(std::array<unsigned char, N>& out, int at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<unsigned char>((value >> (8 * i)) & 0xFF);
}

template <std::size_t N>
constexpr void PutText(std::array<unsigned char, N>& out, int at, int room, const char* text)
{
    int length = 0;
    while (text[length] != '\0') ++length;
    if (length == 0 || length >= room) InvalidSkinDescription();  // must keep its NUL
    for (int i = 0; i < length; ++i) out[at + i] = static_cast<unsigned char>(text[i]);
}

}  // namespace skin_writer

// The whole file of N bytes, zero-filled after the fields.
template <std::size_t N>
constexpr std::array<unsigned char, N> EncodeSkin(const SkinDescription& skin)
{
    using namespace skin_writer;
    static_assert(N >= kSkinFieldsEnd && N <= 0x7FFFFFFF);
    std::array<unsigned char, N> out{};
    for (int i = 0; i < 4; ++i) out[kSkinOffsetMagic + i] = static_cast<unsigned char>(SKIN_MAGIC[i]);
    Put16(out, kSkinOffsetVersion, kSkinVersion);
    Put32(out, kSkinOffsetSize, static_cast<std::uint32_t>(N));
    PutText(out, kSkinOffsetName, kSkinNameSize, skin.name);

    Put16(out, kSkinOffsetColourCount, kSkinColourCount);
    for (int i = 0; i < kSkinColourCount; ++i) {
        if (skin.colours[i] > 0xFFFFFF) InvalidSkinDescription();
        Put32(out, kSkinOffsetColours + 4 * i, skin.colours[i]);
    }

    if (skin.fontHeight < -32768 || skin.fontHeight > 32767) InvalidSkinDescription();
    if (skin.fontWeight < 1 || skin.fontWeight > 1000) InvalidSkinDescription();
    if (skin.fontCharset < 0 || skin.fontCharset > 255) InvalidSkinDescription();
    Put16(out, kSkinOffsetFontHeight, skin.fontHeight);
    Put16(out, kSkinOffsetFontWeight, skin.fontWeight);
    out[kSkinOffsetFontCharset] = static_cast<unsigned char>(skin.fontCharset);
    int faces = 0;
    while (faces < kSkinFaceSlots && skin.faces[faces] != nullptr) {
        PutText(out, kSkinOffsetFaces + kSkinFaceSize * faces, kSkinFaceSize, skin.faces[faces]);
        ++faces;
    }
    if (faces == 0) InvalidSkinDescription();
    out[kSkinOffsetFaceCount] = static_cast<unsigned char>(faces);

    if (skin.cornerRadius < 0 || skin.cornerRadius > kSkinMaxCornerRadius) InvalidSkinDescription();
    if (skin.borderWidth < 1 || skin.borderWidth > kSkinMaxBorderWidth) InvalidSkinDescription();
    out[kSkinOffsetCornerRadius] = static_cast<unsigned char>(skin.cornerRadius);
    out[kSkinOffsetBorderWidth] = static_cast<unsigned char>(skin.borderWidth);

    std::uint32_t hash = SKIN_FNV_OFFSET_BASIS;
    for (std::size_t i = 0; i < N; ++i) hash = (hash ^ out[i]) * SKIN_FNV_PRIME;
    Put32(out, kSkinOffsetChecksum, hash);
    return out;
}
