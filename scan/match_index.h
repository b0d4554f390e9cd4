// Lookups of short texts in a database text that give exactly what
// FindText(text, sought, 1, true) != -1 gives, built once per check phase.
//
// A match of an ASCII sought text can begin only at a character start and
// then lies, byte for byte, inside a run of consecutive one-byte characters
// of the sought text's alphabet. The index keeps, for every such run, the
// windows a size text or an MD5 text could match; every other sought text is
// searched in a copy of the database text with FindText itself.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/text.h"

class MatchIndex {
public:
    // Same answer as FindText(text, sought, 1, true) != -1, for any sought text.
    bool Contains(const Text& sought) const;

private:
    friend MatchIndex SizeTextIndex(const Text& sizeDatabaseText);
    friend MatchIndex Md5TextIndex(const Text& md5DatabaseText);

    enum class Kind { Digits, Md5 };

    // 32 hex digits as a 128-bit number; ordered as the folded texts are.
    struct Md5Key {
        std::uint64_t high, low;
        auto operator<=>(const Md5Key&) const = default;
    };

    MatchIndex(const Text& text, Kind kind);
    void BuildDigitWindows();
    void BuildMd5Windows();
    // The indexed answer, or nothing when the sought text lies outside the index's shape.
    std::optional<bool> ContainsDigits(const Text& sought) const;
    std::optional<bool> ContainsMd5(const Text& sought) const;

    Kind kind_;
    Text text_;  // for sought texts outside the indexed shape
    // Digits: the first 16 bytes from every start in a run of "0"-"9" and "-",
    // 4 bits a byte, zero-padded; sorted, without any window that is a prefix of another.
    std::vector<std::uint64_t> digitWindows_;
    // MD5: every 32 hex digits in a run of hex digits; sorted, distinct.
    std::vector<Md5Key> md5Windows_;
    // Where the windows whose top 16 bits are b begin: bucketStarts_[b], b <= 65536.
    std::vector<std::uint32_t> bucketStarts_;
};

// The two lookups of the exact-file match: size texts ("0" to "2147483647",
// "-1" to "-2147483648", any text of up to 16 digits and "-" is indexed) and
// MD5 texts (32 hex digits in either case).
MatchIndex SizeTextIndex(const Text& sizeDatabaseText);
MatchIndex Md5TextIndex(const Text& md5DatabaseText);
