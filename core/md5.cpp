#include "core/md5.h"

#include <cstring>

namespace {

inline std::uint32_t LoadWord(const std::uint8_t* p)
{
#if (defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__) || \
    defined(_M_IX86) || defined(_M_X64)
    // Compiles to one unaligned move: the caller's buffer needs no alignment.
    std::uint32_t w;
    std::memcpy(&w, p, sizeof w);
    return w;
#else
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
#endif
}

inline std::uint32_t RotateLeft(std::uint32_t x, int s)
{
    return (x << s) | (x >> (32 - s));
}

}  // namespace

// One step each. The round functions are written so that the terms which do not
// depend on b, the newest word, can be computed while b is still being formed:
//   F = (b & c) | (~b & d)  as ((c ^ d) & b) ^ d
//   G = (b & d) | (c & ~d)  as (c & ~d) + (b & d), the two halves never overlap
//   H = b ^ c ^ d           as (c ^ d) ^ b
//   I = c ^ (b | ~d)
#define MD5_F(a, b, c, d, i, s, k)                                    \
    a += LoadWord(block + 4 * (i)) + (k) + ((((c) ^ (d)) & (b)) ^ (d)); \
    a = RotateLeft(a, s) + (b)
#define MD5_G(a, b, c, d, i, s, k)                                    \
    a += LoadWord(block + 4 * (i)) + (k) + (~(d) & (c));              \
    a += (d) & (b);                                                   \
    a = RotateLeft(a, s) + (b)
#define MD5_H(a, b, c, d, i, s, k)                                    \
    a += LoadWord(block + 4 * (i)) + (k) + (((c) ^ (d)) ^ (b));       \
    a = RotateLeft(a, s) + (b)
#define MD5_I(a, b, c, d, i, s, k)                                    \
    a += LoadWord(block + 4 * (i)) + (k) + ((~(d) | (b)) ^ (c));      \
    a = RotateLeft(a, s) + (b)

void Md5::Blocks(const std::uint8_t* data, std::size_t count)
{
    std::uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
    for (const std::uint8_t* block = data; count > 0; --count, block += 64) {
        const std::uint32_t a0 = a, b0 = b, c0 = c, d0 = d;

        MD5_F(a, b, c, d, 0, 7, 0xd76aa478);
        MD5_F(d, a, b, c, 1, 12, 0xe8c7b756);
        MD5_F(c, d, a, b, 2, 17, 0x242070db);
        MD5_F(b, c, d, a, 3, 22, 0xc1bdceee);
        MD5_F(a, b, c, d, 4, 7, 0xf57c0faf);
        MD5_F(d, a, b, c, 5, 12, 0x4787c62a);
        MD5_F(c, d, a, b, 6, 17, 0xa8304613);
        MD5_F(b, c, d, a, 7, 22, 0xfd469501);
        MD5_F(a, b, c, d, 8, 7, 0x698098d8);
        MD5_F(d, a, b, c, 9, 12, 0x8b44f7af);
        MD5_F(c, d, a, b, 10, 17, 0xffff5bb1);
        MD5_F(b, c, d, a, 11, 22, 0x895cd7be);
        MD5_F(a, b, c, d, 12, 7, 0x6b901122);
        MD5_F(d, a, b, c, 13, 12, 0xfd987193);
        MD5_F(c, d, a, b, 14, 17, 0xa679438e);
        MD5_F(b, c, d, a, 15, 22, 0x49b40821);

        MD5_G(a, b, c, d, 1, 5, 0xf61e2562);
        MD5_G(d, a, b, c, 6, 9, 0xc040b340);
        MD5_G(c, d, a, b, 11, 14, 0x265e5a51);
        MD5_G(b, c, d, a, 0, 20, 0xe9b6c7aa);
        MD5_G(a, b, c, d, 5, 5, 0xd62f105d);
        MD5_G(d, a, b, c, 10, 9, 0x02441453);
        MD5_G(c, d, a, b, 15, 14, 0xd8a1e681);
        MD5_G(b, c, d, a, 4, 20, 0xe7d3fbc8);
        MD5_G(a, b, c, d, 9, 5, 0x21e1cde6);
        MD5_G(d, a, b, c, 14, 9, 0xc33707d6);
        MD5_G(c, d, a, b, 3, 14, 0xf4d50d87);
        MD5_G(b, c, d, a, 8, 20, 0x455a14ed);
        MD5_G(a, b, c, d, 13, 5, 0xa9e3e905);
        MD5_G(d, a, b, c, 2, 9, 0xfcefa3f8);
        MD5_G(c, d, a, b, 7, 14, 0x676f02d9);
        MD5_G(b, c, d, a, 12, 20, 0x8d2a4c8a);

        MD5_H(a, b, c, d, 5, 4, 0xfffa3942);
        MD5_H(d, a, b, c, 8, 11, 0x8771f681);
        MD5_H(c, d, a, b, 11, 16, 0x6d9d6122);
        MD5_H(b, c, d, a, 14, 23, 0xfde5380c);
        MD5_H(a, b, c, d, 1, 4, 0xa4beea44);
        MD5_H(d, a, b, c, 4, 11, 0x4bdecfa9);
        MD5_H(c, d, a, b, 7, 16, 0xf6bb4b60);
        MD5_H(b, c, d, a, 10, 23, 0xbebfbc70);
        MD5_H(a, b, c, d, 13, 4, 0x289b7ec6);
        MD5_H(d, a, b, c, 0, 11, 0xeaa127fa);
        MD5_H(c, d, a, b, 3, 16, 0xd4ef3085);
        MD5_H(b, c, d, a, 6, 23, 0x04881d05);
        MD5_H(a, b, c, d, 9, 4, 0xd9d4d039);
        MD5_H(d, a, b, c, 12, 11, 0xe6db99e5);
        MD5_H(c, d, a, b, 15, 16, 0x1fa27cf8);
        MD5_H(b, c, d, a, 2, 23, 0xc4ac5665);

        MD5_I(a, b, c, d, 0, 6, 0xf4292244);
        MD5_I(d, a, b, c, 7, 10, 0x432aff97);
        MD5_I(c, d, a, b, 14, 15, 0xab9423a7);
        MD5_I(b, c, d, a, 5, 21, 0xfc93a039);
        MD5_I(a, b, c, d, 12, 6, 0x655b59c3);
        MD5_I(d, a, b, c, 3, 10, 0x8f0ccc92);
        MD5_I(c, d, a, b, 10, 15, 0xffeff47d);
        MD5_I(b, c, d, a, 1, 21, 0x85845dd1);
        MD5_I(a, b, c, d, 8, 6, 0x6fa87e4f);
        MD5_I(d, a, b, c, 15, 10, 0xfe2ce6e0);
        MD5_I(c, d, a, b, 6, 15, 0xa3014314);
        MD5_I(b, c, d, a, 13, 21, 0x4e0811a1);
        MD5_I(a, b, c, d, 4, 6, 0xf7537e82);
        MD5_I(d, a, b, c, 11, 10, 0xbd3af235);
        MD5_I(c, d, a, b, 2, 15, 0x2ad7d2bb);
        MD5_I(b, c, d, a, 9, 21, 0xeb86d391);

        a += a0;
        b += b0;
        c += c0;
        d += d0;
    }
    state_[0] = a;
    state_[1] = b;
    state_[2] = c;
    state_[3] = d;
}

#undef MD5_F
#undef MD5_G
#undef MD5_H
#undef MD5_I

Md5::Md5() : state_{0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476} {}

void Md5::Update(const void* data, std::size_t size)
{
    if (size == 0) return;  // data may be null then
    const std::uint8_t* p = static_cast<const std::uint8_t*>(data);
    length_ += size;

    if (pendingSize_ > 0) {
        const std::size_t take = size < 64 - pendingSize_ ? size : 64 - pendingSize_;
        std::memcpy(pending_ + pendingSize_, p, take);
        pendingSize_ += take;
        p += take;
        size -= take;
        if (pendingSize_ < 64) return;
        Blocks(pending_, 1);
        pendingSize_ = 0;
    }
    // Whole blocks straight from the caller's buffer.
    if (size >= 64) {
        Blocks(p, size / 64);
        p += size - size % 64;
        size %= 64;
    }
    if (size > 0) {
        std::memcpy(pending_, p, size);
        pendingSize_ = size;
    }
}

Text Md5::FinishText()
{
    const std::uint64_t bits = length_ * 8;  // modulo 2^64, as RFC 1321 says

    pending_[pendingSize_++] = 0x80;
    if (pendingSize_ > 56) {
        std::memset(pending_ + pendingSize_, 0, 64 - pendingSize_);
        Blocks(pending_, 1);
        pendingSize_ = 0;
    }
    std::memset(pending_ + pendingSize_, 0, 56 - pendingSize_);
    for (int i = 0; i < 8; ++i) pending_[56 + i] = static_cast<std::uint8_t>(bits >> (8 * i));
    Blocks(pending_, 1);
    pendingSize_ = 0;

    static const char kHex[] = "0123456789abcdef";
    Text text(32, '0');
    for (int i = 0; i < 16; ++i) {
        const unsigned byte = (state_[i / 4] >> (8 * (i % 4))) & 0xFF;
        text[2 * i] = kHex[byte >> 4];
        text[2 * i + 1] = kHex[byte & 0x0F];
    }
    return text;
}

Text Md5Text(const void* data, std::size_t size)
{
    Md5 md5;
    md5.Update(data, size);
    return md5.FinishText();
}

Text Md5Text(const Bytes& bytes)
{
    return Md5Text(bytes.data(), bytes.size());
}
