// Texts: byte strings in the ANSI code page, 1-based positions, -1 for "absent".
// A byte of 0x80 or more starts a two-byte character; searches step by characters.
// Case folding, where asked for, folds only A-Z.
#pragma once

#include <string>

using Text = std::string;

int TextLength(const Text& text);
Text LeftText(const Text& text, int n);
Text RightText(const Text& text, int n);

int FindText(const Text& text, const Text& sought, int start = 1, bool ignoreCase = false);
int FindLastText(const Text& text, const Text& sought, bool ignoreCase = false);
Text ReplaceText(const Text& text, const Text& sought, const Text& replacement,
                 bool ignoreCase = false);

int CompareTexts(const Text& a, const Text& b);
Text SplitAtLast(const Text& text, const Text& separator, const Text& side);
Text CharFromCode(int code);
Text BlankText(int n);

template <class... Parts>
Text ConcatTexts(const Text& first, const Parts&... rest)
{
    Text result = first;
    (result.append(rest), ...);
    return result;
}

// Byte-level helpers shared by the searches and the lookup index.
inline bool IsLeadByte(unsigned char c) { return c >= 0x80; }
inline unsigned char FoldAZ(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; }
