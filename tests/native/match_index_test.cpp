#include "scan/match_index.h"

#include <climits>
#include <cstdio>
#include <cstdint>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "core/numbers.h"

namespace {

// Shows the bytes of a text, two-byte characters included.
std::string Shown(const Text& text)
{
    std::string shown;
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7F) {
            shown += static_cast<char>(c);
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            shown += hex;
        }
    }
    return shown;
}

bool Reference(const Text& text, const Text& sought)
{
    return FindText(text, sought, 1, true) != -1;
}

TEST(MatchIndexTest, AnswersTheExactFileMatchCases)
{
    const Text md5 = "9e107d9d372bb6826bd81d3542a419d6";
    const Text md5Db = "9E107D9D372BB6826BD81D3542A419D6|note 1\r\n\r\n";
    // "\x81\x31" and "\xB0\x61" are two-byte characters whose second byte is "1" and "a".
    struct Case {
        const char* what;
        Text sizeDb, md5Db, sought;
        bool found;
    };
    const Case cases[] = {
        {"size of an entry", "#1024#53248", "", "53248", true},
        {"size before a mark", "#1024#53248", "", "1024", true},
        {"start of a size", "#1024#53248", "", "53", true},
        {"end of a size", "#1024#53248", "", "248", true},
        {"across a mark", "#1024#53248", "", "12", false},
        {"across two entries", "#1024#53248", "", "245", false},
        {"inside a longer size", "#10240", "", "1024", true},
        {"longer than the entry", "#1024", "", "10240", false},
        {"negative size", "#-1#5", "", "-1", true},
        {"negative size, no minus", "#1#5", "", "-1", false},
        {"second byte is not a start", "\x81\x31" "23", "", "123", false},
        {"after a two-byte character", "\x81\x31" "23", "", "23", true},
        {"lead byte cut off at the end", "#12\x81", "", "12", true},
        {"empty database", "", "", "0", false},
        {"empty sought", "#1", "", "", true},
        {"empty sought, empty database", "", "", "", false},
        {"MD5 in capitals", "", md5Db, md5, true},
        {"capitals sought", "", md5Db, "9E107D9D372BB6826bd81d3542a419d6", true},
        {"MD5 one digit short", "", md5Db.substr(1), md5, false},
        {"MD5 starting on a second byte", "", "\xB0" + md5 + "|", md5, false},
        {"MD5 after a two-byte character", "", "\xB0\x61" + md5 + "|", md5, true},
        {"MD5 inside a longer hex run", "", "ab" + md5 + "cd", md5, true},
        {"MD5 split by a two-byte character", "", md5.substr(0, 10) + "\xB0\x61" + md5.substr(10), md5,
         false},
        {"MD5 empty database", "", "", md5, false},
    };
    for (const auto& c : cases) {
        const MatchIndex sizes = SizeTextIndex(c.sizeDb);
        const MatchIndex md5s = Md5TextIndex(c.md5Db);
        const Text& db = c.sizeDb.empty() ? c.md5Db : c.sizeDb;
        const MatchIndex& index = c.sizeDb.empty() ? md5s : sizes;
        ASSERT_EQ(Reference(db, c.sought), c.found) << c.what;  // the case itself is right
        EXPECT_EQ(index.Contains(c.sought), c.found) << c.what;
    }
}

// Texts from an alphabet where windows of digits and hex digits meet often,
// with two-byte characters whose second byte is a digit, a hex letter or "|".
class RandomTexts {
public:
    explicit RandomTexts(std::uint32_t seed) : rng_(seed) {}

    int Below(int n) { return static_cast<int>(rng_() % static_cast<std::uint32_t>(n)); }

    Text Piece()
    {
        static const char* const kPieces[] = {
            "0", "1", "2", "3", "5", "9", "-", "#", "|", "a", "e", "f", "A", "F", "B",
            "g", "G", "\r\n", "\x81\x31", "\xB0\x61", "\xD7\x7C", "\xFE\x46", "\xB0\xA1"};
        return kPieces[Below(sizeof kPieces / sizeof kPieces[0])];
    }

    Text Hex(int length)
    {
        static const char kHex[] = "0123456789abcdefABCDEF";
        Text hex;
        for (int k = 0; k < length; ++k) hex += kHex[Below(sizeof kHex - 1)];
        return hex;
    }

    Text Digits(int length)
    {
        static const char kDigits[] = "0123456789-";
        Text digits;
        for (int k = 0; k < length; ++k) digits += kDigits[Below(sizeof kDigits - 1)];
        return digits;
    }

    Text Number()
    {
        const int bits = Below(32);
        std::int64_t value = static_cast<std::int64_t>(rng_() & ((std::uint64_t(1) << bits) - 1));
        if (Below(4) == 0) value = -value - Below(2);
        if (value > INT_MAX) value = INT_MAX;
        return NumberToText(static_cast<int>(value));
    }

    Text Database()
    {
        Text text;
        const int parts = Below(40);
        for (int p = 0; p < parts; ++p) {
            switch (Below(7)) {
            case 0: text += Hex(30 + Below(6)); break;  // around the MD5 length
            case 1: text += '#'; text += Number(); break;
            case 2: text += Digits(12 + Below(8)); break;  // around the longest indexed size
            default: text += Piece(); break;
            }
        }
        if (Below(8) == 0) text += "\x81";  // a lead byte cut off at the end
        return text;
    }

    // Sought texts of every shape: pieces of the text from any byte, size texts,
    // MD5-like runs and short texts from the same alphabet.
    Text Sought(const Text& text)
    {
        switch (Below(5)) {
        case 0:
        case 1: {
            if (text.empty()) return Piece();
            const std::size_t from = static_cast<std::size_t>(Below(static_cast<int>(text.size())));
            const int lengths[] = {1, 2, 3, 5, 11, 16, 17, 31, 32, 33};
            return text.substr(from, static_cast<std::size_t>(lengths[Below(10)]));
        }
        case 2: return Number();
        case 3: return Hex(31 + Below(3));
        default: {
            Text sought;
            const int pieces = Below(4);
            for (int p = 0; p < pieces; ++p) sought += Piece();
            return sought;
        }
        }
    }

private:
    std::mt19937 rng_;
};

TEST(MatchIndexTest, AgreesWithFindTextOnRandomTexts)
{
    for (std::uint32_t seed = 1; seed <= 3000; ++seed) {
        RandomTexts random(seed);
        const Text text = random.Database();
        const MatchIndex sizes = SizeTextIndex(text);
        const MatchIndex md5s = Md5TextIndex(text);
        for (int q = 0; q < 150; ++q) {
            Text sought = random.Sought(text);
            if (random.Below(4) == 0) {
                // The same text in the other case where it has letters.
                for (auto& c : sought) {
                    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
                }
            }
            const bool expected = Reference(text, sought);
            ASSERT_EQ(sizes.Contains(sought), expected)
                << "size index, seed " << seed << ", text \"" << Shown(text) << "\", sought \""
                << Shown(sought) << '"';
            ASSERT_EQ(md5s.Contains(sought), expected)
                << "MD5 index, seed " << seed << ", text \"" << Shown(text) << "\", sought \""
                << Shown(sought) << '"';
        }
    }
}

}  // namespace
