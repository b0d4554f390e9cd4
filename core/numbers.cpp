#include "core/numbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

// std::to_chars and std::from_chars always use '.', whatever the C locale says.

Text NumberToText(int value)
{
    char buffer[16];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return Text(buffer, end);
}

Text NumberToText(double value)
{
    // Same digits as printf's "%.13g".
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 13);
    if (result.ec != std::errc()) return Text();
    return Text(buffer, result.ptr);
}

namespace {

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
inline bool IsWhite(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

double TextToNumber(const Text& text)
{
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end && IsWhite(*p)) ++p;

    // Only [sign] digits [. digits] [e [sign] digits]: no hex, no inf or nan.
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = (*p++ == '-');
    const char* const mantissa = p;

    std::size_t digits = 0;
    long long leadingOrder = 0;  // decimal order of magnitude, for out-of-range results
    bool nonZeroSeen = false;
    while (p < end && IsDigit(*p)) {
        if (*p != '0') nonZeroSeen = true;
        if (nonZeroSeen) ++leadingOrder;
        ++digits;
        ++p;
    }
    if (p < end && *p == '.') {
        ++p;
        while (p < end && IsDigit(*p)) {
            if (*p != '0') nonZeroSeen = true;
            if (!nonZeroSeen) --leadingOrder;
            ++digits;
            ++p;
        }
    }
    if (digits == 0) return 0.0;

    long long exponent = 0;
    if (p < end && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        bool negativeExponent = false;
        if (q < end && (*q == '+' || *q == '-')) negativeExponent = (*q++ == '-');
        if (q < end && IsDigit(*q)) {
            while (q < end && IsDigit(*q)) {
                if (exponent < 100000000) exponent = exponent * 10 + (*q - '0');
                ++q;
            }
            if (negativeExponent) exponent = -exponent;
            p = q;
        }
    }

    double value = 0.0;
    const auto result = std::from_chars(mantissa, p, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // As strtod: too large gives infinity, too small gives zero.
        value = (nonZeroSeen && leadingOrder + exponent > 0)
                    ? std::numeric_limits<double>::infinity()
                    : 0.0;
    } else if (result.ec != std::errc()) {
        return 0.0;
    }
    return negative ? -value : value;
}

Bytes TextToBytes(const Text& text)
{
    return Bytes(text.begin(), text.end());
}

Text BytesToText(const Bytes& bytes)
{
    std::size_t n = 0;
    while (n < bytes.size() && bytes[n] != 0) ++n;
    return Text(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
}

int BytesLength(const Bytes& bytes)
{
    return static_cast<int>(bytes.size());
}
