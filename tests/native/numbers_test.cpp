#include "core/datetime.h"
#include "core/numbers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

namespace {

TEST(NumbersTest, IntegerText)
{
    const struct {
        int value;
        const char* text;
    } cases[] = {
        {0, "0"}, {53248, "53248"}, {-1, "-1"},
        {2147483647, "2147483647"}, {-2147483647 - 1, "-2147483648"},
    };
    for (const auto& c : cases) EXPECT_EQ(NumberToText(c.value), c.text);
}

TEST(NumbersTest, DoubleTextIsPercent13g)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {1.0, "1"},
        {2.0, "2"},
        {1.5, "1.5"},
        {0.0, "0"},
        {-2.5, "-2.5"},
        {0.1, "0.1"},
        {1.0 / 3, "0.3333333333333"},  // 13 significant digits
        {9999999999999.0, "9999999999999"},
        {1e13, "1e+13"},               // exponent form from 13 on
        {123456789012345.0, "1.234567890123e+14"},
        {0.0001, "0.0001"},
        {1e-05, "1e-05"},              // and below -4
        {-1.0, "-1"},
        {4294967296.0, "4294967296"},
    };
    for (const auto& c : cases) EXPECT_EQ(NumberToText(c.value), c.text) << c.text;
}

TEST(NumbersTest, DoubleTextAgreesWithPrintf)
{
    // printf in the "C" locale is the reference form; cover many magnitudes.
    std::uint64_t x = 0x243f6a8885a308d3ULL;
    for (int i = 0; i < 2000; ++i) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        double value = static_cast<double>(x % 100000000000000ULL) / 1000.0;
        for (int shift = i % 40; shift > 0; --shift) value /= 10;
        if (i % 2) value = -value;
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.13g", value);
        ASSERT_EQ(NumberToText(value), expected) << "value " << value;
    }
    for (double value : {-0.0, 1e300, 5e-324, std::numeric_limits<double>::infinity()}) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.13g", value);
        EXPECT_EQ(NumberToText(value), expected);
    }
}

TEST(NumbersTest, TextToNumberReadsTheLeadingNumber)
{
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"", 0},
        {"9", 9},
        {"12abc", 12},
        {"  -3.5e2x", -350},
        {"\t\r\n 7", 7},  // blanks, tabs and line ends are skipped
        {"+4", 4},
        {".5", 0.5},
        {"5.", 5},
        {"1.2.3", 1.2},
        {"2E3", 2000},
        {"1e-2", 0.01},
        {"1e", 1},         // an incomplete exponent is not read
        {"1e+", 1},
        {"1ex", 1},
        {"1,5", 1},        // the decimal point is always "."
        {"0.1", 0.1},
        {"123456789012345678901234567890", 123456789012345678901234567890.0},
        {"1e-400", 0},
        // Not a number at the start.
        {"abc", 0}, {"-", 0}, {".", 0}, {"+.e1", 0}, {"--1", 0}, {"x1", 0},
        // Only decimal forms: hex and the inf and nan words of strtod are not numbers.
        {"0x1A", 0}, {"inf", 0}, {"-infinity", 0}, {"nan", 0}, {"NAN(1)", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(TextToNumber(c.text), c.value) << '"' << c.text << '"';

    EXPECT_EQ(TextToNumber("1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(TextToNumber("-1e400"), -std::numeric_limits<double>::infinity());
}

TEST(NumbersTest, TextToNumberIgnoresTheCLocale)
{
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    const char* comma = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
        if (std::setlocale(LC_NUMERIC, name)) {
            comma = name;
            break;
        }
    }
    if (!comma) GTEST_SKIP() << "no locale with a decimal comma installed";
    EXPECT_EQ(TextToNumber("1.5"), 1.5);
    EXPECT_EQ(TextToNumber("1,5"), 1);
    EXPECT_EQ(NumberToText(1.5), "1.5");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(NumbersTest, CountersAdvanceThroughTheirTextForm)
{
    EXPECT_EQ(NumberToText(TextToNumber("") + 1), "1");
    EXPECT_EQ(NumberToText(TextToNumber("9") + 1), "10");
    Text counter;
    for (int i = 1; i <= 100000; ++i) counter = NumberToText(TextToNumber(counter) + 1);
    EXPECT_EQ(counter, "100000");
}

TEST(NumbersTest, ByteArrays)
{
    EXPECT_TRUE(TextToBytes("").empty());
    EXPECT_EQ(TextToBytes("a\xB0"), (Bytes{0x61, 0xB0}));  // no terminator
    EXPECT_EQ(BytesToText(Bytes{}), "");
    EXPECT_EQ(BytesToText(Bytes{'a', 'b', 0, 'c'}), "ab");  // up to the first NUL
    EXPECT_EQ(BytesToText(Bytes{0, 'a'}), "");
    EXPECT_EQ(BytesToText(Bytes{0xB0, 0xA1}), "\xB0\xA1");
    EXPECT_EQ(BytesLength(Bytes{1, 0, 2}), 3);
    EXPECT_EQ(BytesLength(Bytes{}), 0);
}

TEST(DateTimeTest, TimeOfDayKeepsOnlyTheTime)
{
    const DateTime t = TimeOfDay(DateTime{2023, 7, 15, 14, 5, 3});
    EXPECT_EQ(t.year, 2000);
    EXPECT_EQ(t.month, 1);
    EXPECT_EQ(t.day, 1);
    EXPECT_EQ(t.hour, 14);
    EXPECT_EQ(t.minute, 5);
    EXPECT_EQ(t.second, 3);
}

TEST(DateTimeTest, TextDropsTrailingZeroTimeParts)
{
    const struct {
        DateTime dateTime;
        const char* text;
    } cases[] = {
        {{2000, 1, 1, 14, 5, 3}, "2000年1月1日14时5分3秒"},
        {{2000, 1, 1, 14, 5, 0}, "2000年1月1日14时5分"},
        {{2000, 1, 1, 14, 0, 0}, "2000年1月1日14时"},
        {{2000, 1, 1, 0, 0, 0}, "2000年1月1日"},
        // Only trailing zeros go: inner zero fields stay.
        {{2000, 1, 1, 0, 0, 7}, "2000年1月1日0时0分7秒"},
        {{2000, 1, 1, 0, 30, 0}, "2000年1月1日0时30分"},
        {{2000, 1, 1, 14, 0, 9}, "2000年1月1日14时0分9秒"},
        {{2023, 12, 31, 23, 59, 59}, "2023年12月31日23时59分59秒"},
        {{100, 2, 3, 0, 0, 0}, "100年2月3日"},
        {{9999, 10, 9, 8, 0, 0}, "9999年10月9日8时"},
    };
    for (const auto& c : cases) EXPECT_EQ(DateTimeToText(c.dateTime), c.text);
    // The same text as code page 936 bytes.
    EXPECT_EQ(DateTimeToText({2000, 1, 1, 14, 0, 0}), "2000\xC4\xEA" "1\xD4\xC2" "1\xC8\xD5" "14\xCA\xB1");
}

}  // namespace
