#include "process/icon_file.h"

namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kEntrySize = 16;
constexpr std::size_t kBitmapHeaderSize = 40;
const std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

std::uint32_t Le16(const Bytes& b, std::size_t at) { return b[at] | b[at + 1] << 8; }
std::uint32_t Le32(const Bytes& b, std::size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint32_t Be32(const Bytes& b, std::size_t at)
{
    return static_cast<std::uint32_t>(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}

void Put16(Bytes& out, std::uint32_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(Bytes& out, std::uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

bool IsPng(const Bytes& image)
{
    if (image.size() < 8) return false;
    for (int i = 0; i < 8; ++i)
        if (image[i] != kPngSignature[i]) return false;
    return true;
}

int PngChannels(int colourType)
{
    switch (colourType) {
    case 0: return 1;  // grey
    case 2: return 3;  // RGB
    case 3: return 1;  // palette
    case 4: return 2;  // grey and alpha
    case 6: return 4;  // RGBA
    default: return 0;
    }
}

// A directory entry's 8-bit size: 256 and beyond are written as 0.
std::uint8_t SizeByte(int size) { return size >= 256 ? 0 : static_cast<std::uint8_t>(size); }

}  // namespace

IconImageFormat FormatOfIconImage(const Bytes& image)
{
    IconImageFormat f;
    if (IsPng(image)) {
        // The IHDR chunk comes first: length, "IHDR", width, height, depth, colour type.
        if (image.size() < 8 + 8 + 13 || image[12] != 'I' || image[13] != 'H' ||
            image[14] != 'D' || image[15] != 'R')
            return f;
        const std::uint32_t width = Be32(image, 16), height = Be32(image, 20);
        const int channels = PngChannels(image[25]);
        if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF ||
            channels == 0)
            return f;
        f.width = static_cast<int>(width);
        f.height = static_cast<int>(height);
        f.planes = 1;
        f.bitCount = image[24] * channels;
        f.readable = true;
        return f;
    }
    if (image.size() < kBitmapHeaderSize || Le32(image, 0) < kBitmapHeaderSize) return f;
    const auto width = static_cast<std::int32_t>(Le32(image, 4));
    const auto storedHeight = static_cast<std::int32_t>(Le32(image, 8));
    if (width <= 0 || storedHeight < 2) return f;
    f.width = width;
    f.height = storedHeight / 2;  // the colour bitmap above its mask
    f.planes = static_cast<int>(Le16(image, 12));
    f.bitCount = static_cast<int>(Le16(image, 14));
    f.readable = true;
    return f;
}

std::vector<Bytes> ImagesOfIconFile(const Bytes& file)
{
    std::vector<Bytes> images;
    if (file.size() < kHeaderSize || Le16(file, 0) != 0 || Le16(file, 2) != 1) return images;
    const std::size_t count = Le16(file, 4);
    if (count == 0 || kHeaderSize + kEntrySize * count > file.size()) return images;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = kHeaderSize + kEntrySize * i;
        const std::uint64_t size = Le32(file, entry + 8), offset = Le32(file, entry + 12);
        if (size == 0 || offset + size > file.size()) return {};
        Bytes image(file.begin() + static_cast<std::ptrdiff_t>(offset),
                    file.begin() + static_cast<std::ptrdiff_t>(offset + size));
        if (!FormatOfIconImage(image).readable) return {};
        images.push_back(std::move(image));
    }
    return images;
}

Bytes ComposeIconFile(const std::vector<Bytes>& images)
{
    if (images.empty() || images.size() > 0xFFFF) return {};
    std::uint64_t total = kHeaderSize + kEntrySize * images.size();
    for (const Bytes& image : images) total += image.size();
    if (total > 0xFFFFFFFFu) return {};

    Bytes out;
    out.reserve(static_cast<std::size_t>(total));
    Put16(out, 0);  // reserved
    Put16(out, 1);  // type: icon
    Put16(out, static_cast<std::uint32_t>(images.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(kHeaderSize + kEntrySize * images.size());
    for (const Bytes& image : images) {
        const IconImageFormat f = FormatOfIconImage(image);
        if (!f.readable) return {};
        const long long depth = static_cast<long long>(f.planes) * f.bitCount;
        out.push_back(SizeByte(f.width));
        out.push_back(SizeByte(f.height));
        out.push_back(depth < 8 ? static_cast<std::uint8_t>(1u << depth) : 0);
        out.push_back(0);  // reserved
        Put16(out, static_cast<std::uint32_t>(f.planes));
        Put16(out, static_cast<std::uint32_t>(f.bitCount));
        Put32(out, static_cast<std::uint32_t>(image.size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(image.size());
    }
    for (const Bytes& image : images) out.insert(out.end(), image.begin(), image.end());
    return out;
}
