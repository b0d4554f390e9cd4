#include "core/text.h"

#include <cstring>

namespace {

using Byte = unsigned char;

inline Byte ByteAt(const Text& text, std::size_t i) { return static_cast<Byte>(text[i]); }

// Whether `sought` (non-empty) lies in full at offset i of `text`.
bool MatchesAt(const Text& text, std::size_t i, const Text& sought, bool ignoreCase)
{
    const std::size_t n = sought.size();
    if (!ignoreCase) return std::memcmp(text.data() + i, sought.data(), n) == 0;
    for (std::size_t k = 0; k < n; ++k) {
        if (FoldAZ(ByteAt(text, i + k)) != FoldAZ(ByteAt(sought, k))) return false;
    }
    return true;
}

// Cheap first-byte test before the full comparison.
inline bool FirstByteFits(Byte c, Byte first, bool ignoreCase)
{
    return ignoreCase ? FoldAZ(c) == first : c == first;
}

// The character stepping shared by FindText and FindLastText: calls `onMatch`
// with each 0-based character start from `from` where `sought` matches in
// full; stops when it returns false.
template <class OnMatch>
void ScanByCharacters(const Text& text, std::size_t from, const Text& sought, bool ignoreCase,
                      OnMatch onMatch)
{
    const std::size_t length = text.size();
    const std::size_t n = sought.size();
    const Byte first = ignoreCase ? FoldAZ(ByteAt(sought, 0)) : ByteAt(sought, 0);
    std::size_t i = from;
    while (i < length && length - i >= n) {
        const Byte c = ByteAt(text, i);
        if (FirstByteFits(c, first, ignoreCase) && MatchesAt(text, i, sought, ignoreCase)) {
            if (!onMatch(i)) return;
        }
        if (IsLeadByte(c)) {
            if (i + 1 == length) return;  // a lead byte cut off at the end
            i += 2;
        } else {
            i += 1;
        }
    }
}

}  // namespace

int TextLength(const Text& text)
{
    return static_cast<int>(text.size());
}

Text LeftText(const Text& text, int n)
{
    if (n <= 0) return Text();
    return text.substr(0, static_cast<std::size_t>(n));
}

Text RightText(const Text& text, int n)
{
    if (n <= 0) return Text();
    const std::size_t count = static_cast<std::size_t>(n);
    if (count >= text.size()) return text;
    return text.substr(text.size() - count);
}

int FindText(const Text& text, const Text& sought, int start, bool ignoreCase)
{
    if (start < 1) start = 1;
    const std::size_t from = static_cast<std::size_t>(start) - 1;
    if (from >= text.size()) return -1;
    if (sought.empty()) return 1;

    int found = -1;
    ScanByCharacters(text, from, sought, ignoreCase, [&](std::size_t i) {
        found = static_cast<int>(i) + 1;
        return false;
    });
    return found;
}

int FindLastText(const Text& text, const Text& sought, bool ignoreCase)
{
    if (text.empty()) return -1;
    if (sought.empty()) return 1;

    int found = -1;
    ScanByCharacters(text, 0, sought, ignoreCase, [&](std::size_t i) {
        found = static_cast<int>(i) + 1;
        return true;
    });
    return found;
}

Text ReplaceText(const Text& text, const Text& sought, const Text& replacement, bool ignoreCase)
{
    if (text.empty() || sought.empty()) return text;

    const std::size_t length = text.size();
    const std::size_t n = sought.size();
    Text result;
    result.reserve(length);
    std::size_t i = 0;
    while (length - i >= n) {
        if (MatchesAt(text, i, sought, ignoreCase)) {
            result += replacement;
            i += n;
            continue;
        }
        // A whole character, unless its lead byte is the text's last byte.
        const std::size_t step = (IsLeadByte(ByteAt(text, i)) && i + 1 < length) ? 2 : 1;
        result.append(text, i, step);
        i += step;
    }
    result.append(text, i, Text::npos);
    return result;
}

int CompareTexts(const Text& a, const Text& b)
{
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    if (common > 0) {
        // memcmp compares as unsigned char, as the texts' order requires.
        const int order = std::memcmp(a.data(), b.data(), common);
        if (order != 0) return order < 0 ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

Text SplitAtLast(const Text& text, const Text& separator, const Text& side)
{
    const int p = FindLastText(text, separator);
    if (CompareTexts(side, "右") == 0) return RightText(text, TextLength(text) - p);
    return LeftText(text, p - 1);
}

Text CharFromCode(int code)
{
    const char c = static_cast<char>(code & 0xFF);
    // A text holds no NUL byte, so any code whose low byte is 0 gives the empty text.
    if (c == '\0') return Text();
    return Text(1, c);
}

Text BlankText(int n)
{
    if (n < 1) return Text();
    return Text(static_cast<std::size_t>(n), ' ');
}
