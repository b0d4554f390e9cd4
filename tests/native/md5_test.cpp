#include "core/md5.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct DigestCase {
    std::string input;
    const char* md5;
};

Text DigestOf(const std::string& s)
{
    return Md5Text(s.data(), s.size());
}

// Bytes that hit every value, so a sign or masking slip in the loads shows.
std::vector<std::uint8_t> Sample(std::size_t size)
{
    std::vector<std::uint8_t> bytes(size);
    std::uint32_t x = 12345;
    for (auto& b : bytes) {
        x = x * 1103515245u + 12345u;
        b = static_cast<std::uint8_t>(x >> 16);
    }
    return bytes;
}

TEST(Md5Test, Rfc1321Vectors)
{
    const DigestCase cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& c : cases) EXPECT_EQ(DigestOf(c.input), c.md5) << '"' << c.input << '"';
}

TEST(Md5Test, PaddingAroundBlockBoundaries)
{
    // Lengths where the length field just fits, just misses, or fills a block.
    const DigestCase cases[] = {
        {std::string(55, 'a'), "ef1772b6dff9a122358552954ad0df65"},
        {std::string(56, 'a'), "3b0c8ac703f828b04c6c197006d17218"},
        {std::string(57, 'a'), "652b906d60af96844ebd21b674f35e93"},
        {std::string(63, 'a'), "b06521f39153d618550606be297466d5"},
        {std::string(64, 'a'), "014842d480b571495a4a0363793f7367"},
        {std::string(65, 'a'), "c743a45e0d2e6a95cb859adae0248435"},
        {std::string(119, 'a'), "8a7bd0732ed6a28ce75f6dabc90e1613"},
        {std::string(120, 'a'), "5f61c0ccad4cac44c75ff505e1f1e537"},
        {std::string(1000000, 'a'), "7707d6ae4e027c70eea2a935c2296f21"},
    };
    for (const auto& c : cases) EXPECT_EQ(DigestOf(c.input), c.md5) << c.input.size() << " bytes";
}

TEST(Md5Test, ByteArraysMayHoldNulAndHighBytes)
{
    EXPECT_EQ(Md5Text(Bytes{}), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(Md5Text(Bytes{0x00}), "93b885adfe0da089cdf634904fd59f71");
    EXPECT_EQ(Md5Text(Bytes{0x00, 0xFF, 0x80, 'a'}), "e8a37916d8663b7ced242d0fb34028d6");
}

TEST(Md5Test, IncrementalUpdatesAgreeAtEverySplit)
{
    const auto sample = Sample(300);
    const Text whole = Md5Text(sample.data(), sample.size());
    for (std::size_t first = 0; first <= sample.size(); ++first) {
        Md5 md5;
        md5.Update(sample.data(), first);
        md5.Update(sample.data() + first, sample.size() - first);
        EXPECT_EQ(md5.FinishText(), whole) << "split at " << first;
    }
}

TEST(Md5Test, SmallPiecesAndEmptyUpdatesAgree)
{
    const auto sample = Sample(1000);
    const Text whole = Md5Text(sample.data(), sample.size());
    for (std::size_t piece : {1, 3, 63, 64, 65, 129}) {
        Md5 md5;
        md5.Update(nullptr, 0);
        for (std::size_t at = 0; at < sample.size(); at += piece) {
            const std::size_t n = std::min(piece, sample.size() - at);
            md5.Update(sample.data() + at, n);
            md5.Update(sample.data() + at, 0);
        }
        EXPECT_EQ(md5.FinishText(), whole) << "pieces of " << piece;
    }
}

TEST(Md5Test, UnalignedInputGivesTheSameDigest)
{
    const auto sample = Sample(777);
    const Text aligned = Md5Text(sample.data(), sample.size());
    std::vector<std::uint8_t> shifted(sample.size() + 8);
    for (std::size_t offset = 1; offset < 8; ++offset) {
        std::memcpy(shifted.data() + offset, sample.data(), sample.size());
        EXPECT_EQ(Md5Text(shifted.data() + offset, sample.size()), aligned) << "offset " << offset;
    }
}

}  // namespace
