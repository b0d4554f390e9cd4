#include "scan/match_index.h"

#include <algorithm>
#include <bit>

namespace {

using Byte = unsigned char;

constexpr std::size_t kDigitWindow = 16;  // bytes in a 64-bit window, 4 bits each
constexpr std::size_t kMd5Length = 32;
constexpr std::uint32_t kBuckets = 1u << 16;

// Byte tables, so that the scan of a large database text does not branch on each byte.
struct ByteTable {
    signed char value[256];
};

// "-" is 1 and "0" to "9" are 2 to 11, so that a zero-padded shorter window
// sorts before every window it is a prefix of. 0: not a size byte.
constexpr ByteTable MakeDigitCodes()
{
    ByteTable table{};
    table.value[static_cast<Byte>('-')] = 1;
    for (int c = '0'; c <= '9'; ++c) table.value[c] = static_cast<signed char>(c - '0' + 2);
    return table;
}

// The value of a hex digit, "A" to "F" folded to "a" to "f"; -1: not a hex digit.
constexpr ByteTable MakeHexValues()
{
    ByteTable table{};
    for (int c = 0; c < 256; ++c) table.value[c] = -1;
    for (int c = '0'; c <= '9'; ++c) table.value[c] = static_cast<signed char>(c - '0');
    for (int c = 'a'; c <= 'f'; ++c) {
        table.value[c] = table.value[c - 32] = static_cast<signed char>(c - 'a' + 10);
    }
    return table;
}

constexpr ByteTable kDigitCodes = MakeDigitCodes();
constexpr ByteTable kHexValues = MakeHexValues();

inline std::uint64_t DigitCode(char c)
{
    return static_cast<std::uint64_t>(kDigitCodes.value[static_cast<Byte>(c)]);
}
inline int HexValue(char c) { return kHexValues.value[static_cast<Byte>(c)]; }

// Calls onRun(begin, end) for every maximal run of character starts whose bytes
// are in the class, stepping through the text as FindText does. The class holds
// only ASCII bytes, so the bytes of a run are consecutive one-byte characters.
template <class InClass, class OnRun>
void ForEachRun(const Text& text, InClass inClass, OnRun onRun)
{
    const std::size_t length = text.size();
    std::size_t i = 0, begin = 0;
    bool inRun = false;
    while (i < length) {
        const char c = text[i];
        if (inClass(c)) {
            if (!inRun) begin = i;
            inRun = true;
            ++i;
            continue;
        }
        if (inRun) onRun(begin, i);
        inRun = false;
        i += IsLeadByte(static_cast<Byte>(c)) ? 2 : 1;  // skips the second byte of a two-byte character
    }
    if (inRun) onRun(begin, length);
}

// The first index of sorted `keys` whose top 16 bits are at least b, for every b.
template <class Key, class TopBits>
std::vector<std::uint32_t> BucketStarts(const std::vector<Key>& keys, TopBits topBits)
{
    std::vector<std::uint32_t> starts(kBuckets + 1);
    std::size_t k = 0;
    for (std::uint32_t b = 0; b <= kBuckets; ++b) {
        while (k < keys.size() && topBits(keys[k]) < b) ++k;
        starts[b] = static_cast<std::uint32_t>(k);
    }
    return starts;
}

// The first key not below `key` in the sorted keys, found within its bucket.
template <class Key>
typename std::vector<Key>::const_iterator LowerBound(const std::vector<Key>& keys,
                                                     const std::vector<std::uint32_t>& starts,
                                                     std::uint32_t bucket, const Key& key)
{
    return std::lower_bound(keys.begin() + starts[bucket], keys.begin() + starts[bucket + 1], key);
}

inline std::uint32_t TopBitsOf(std::uint64_t key) { return static_cast<std::uint32_t>(key >> 48); }

// The bits of the leading, non-zero 4-bit codes of a window.
inline std::uint64_t PrefixMask(std::uint64_t window)
{
    const int padding = std::countr_zero(window) / 4 * 4;  // window != 0
    return ~std::uint64_t(0) << padding;
}

}  // namespace

MatchIndex::MatchIndex(const Text& text, Kind kind) : kind_(kind), text_(text)
{
    if (kind_ == Kind::Digits) {
        BuildDigitWindows();
    } else {
        BuildMd5Windows();
    }
}

void MatchIndex::BuildDigitWindows()
{
    const auto inClass = [](char c) { return DigitCode(c) != 0; };
    std::size_t count = 0;
    ForEachRun(text_, inClass, [&](std::size_t begin, std::size_t end) { count += end - begin; });
    digitWindows_.reserve(count);

    ForEachRun(text_, inClass, [&](std::size_t begin, std::size_t end) {
        // Backwards, so that each window is the next one shifted by one byte.
        std::uint64_t window = 0;
        for (std::size_t i = end; i-- > begin;) {
            window = (DigitCode(text_[i]) << 60) | (window >> 4);
            digitWindows_.push_back(window);
        }
    });

    std::sort(digitWindows_.begin(), digitWindows_.end());
    digitWindows_.erase(std::unique(digitWindows_.begin(), digitWindows_.end()), digitWindows_.end());
    // A window that is a prefix of another is a prefix of the next one in order:
    // that one answers for it.
    std::size_t kept = 0;
    for (std::size_t k = 0; k < digitWindows_.size(); ++k) {
        const std::uint64_t window = digitWindows_[k];
        const bool covered = k + 1 < digitWindows_.size() &&
                             (digitWindows_[k + 1] & PrefixMask(window)) == window;
        if (!covered) digitWindows_[kept++] = window;
    }
    digitWindows_.resize(kept);
    digitWindows_.shrink_to_fit();
    bucketStarts_ = BucketStarts(digitWindows_, TopBitsOf);
}

void MatchIndex::BuildMd5Windows()
{
    const auto inClass = [](char c) { return HexValue(c) >= 0; };
    std::size_t count = 0;
    ForEachRun(text_, inClass, [&](std::size_t begin, std::size_t end) {
        if (end - begin >= kMd5Length) count += end - begin - (kMd5Length - 1);
    });
    md5Windows_.reserve(count);

    ForEachRun(text_, inClass, [&](std::size_t begin, std::size_t end) {
        if (end - begin < kMd5Length) return;
        Md5Key window{0, 0};
        for (std::size_t i = begin; i < end; ++i) {
            window.high = (window.high << 4) | (window.low >> 60);
            window.low = (window.low << 4) | static_cast<std::uint64_t>(HexValue(text_[i]));
            if (i - begin >= kMd5Length - 1) md5Windows_.push_back(window);
        }
    });

    std::sort(md5Windows_.begin(), md5Windows_.end());
    md5Windows_.erase(std::unique(md5Windows_.begin(), md5Windows_.end()), md5Windows_.end());
    bucketStarts_ = BucketStarts(md5Windows_, [](const Md5Key& key) { return TopBitsOf(key.high); });
}

std::optional<bool> MatchIndex::ContainsDigits(const Text& sought) const
{
    const std::size_t n = sought.size();
    if (n == 0 || n > kDigitWindow) return std::nullopt;
    std::uint64_t key = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const std::uint64_t code = DigitCode(sought[k]);
        if (code == 0) return std::nullopt;
        key |= code << (60 - 4 * k);
    }
    // The windows that begin with the sought text follow one another from the
    // first window not below it.
    const auto it = LowerBound(digitWindows_, bucketStarts_, TopBitsOf(key), key);
    return it != digitWindows_.end() && (*it & PrefixMask(key)) == key;
}

std::optional<bool> MatchIndex::ContainsMd5(const Text& sought) const
{
    if (sought.size() != kMd5Length) return std::nullopt;
    Md5Key key{0, 0};
    for (std::size_t k = 0; k < kMd5Length; ++k) {
        const int value = HexValue(sought[k]);
        if (value < 0) return std::nullopt;
        std::uint64_t& half = k < kMd5Length / 2 ? key.high : key.low;
        half = (half << 4) | static_cast<std::uint64_t>(value);
    }
    const auto it = LowerBound(md5Windows_, bucketStarts_, TopBitsOf(key.high), key);
    return it != md5Windows_.end() && *it == key;
}

bool MatchIndex::Contains(const Text& sought) const
{
    const std::optional<bool> indexed =
        kind_ == Kind::Digits ? ContainsDigits(sought) : ContainsMd5(sought);
    if (indexed) return *indexed;
    return FindText(text_, sought, 1, true) != -1;
}

MatchIndex SizeTextIndex(const Text& sizeDatabaseText)
{
    return MatchIndex(sizeDatabaseText, MatchIndex::Kind::Digits);
}

MatchIndex Md5TextIndex(const Text& md5DatabaseText)
{
    return MatchIndex(md5DatabaseText, MatchIndex::Kind::Md5);
}
