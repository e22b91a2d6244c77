// Conversions between control text and numbers, and the double-byte aware scans.
#include "engine/Text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace lumorra {
namespace {

TEST(TextToNumber, ReadsTheLongestLeadingDecimalNumber) {
    const struct {
        const char* text;
        double number;
    } cases[] = {
        {"", 0},
        {"abc", 0},
        {"  12abc", 12},
        {"\t\r\n\v\f-3.5e2x", -350},
        {"+7", 7},
        {".5", 0.5},
        {"5.", 5},
        {"-.5", -0.5},
        {"1e", 1}, // an exponent needs digits
        {"1e+", 1},
        {"2E-1", 0.2},
        {".", 0},
        {"-", 0},
        {"0x1A", 0}, // no hexadecimal
        {"inf", 0},  // no words
        {"1-2", 1},
        {"007", 7},
        {"\xA3\xB7", 7},          // full-width 7
        {"\xA3\xAD\xA3\xB3", -3}, // full-width -3
        {"\xA1\xA1"
         "5",
         5}, // ideographic space, then 5
        {"\xA3\xB1\xA3\xB2\xA3\xAE\xA3\xB5", 12.5},
        {"\xB0\xA1"
         "5",
         0}, // a Chinese character before the number
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(TextToNumber(c.text), c.number) << '"' << c.text << '"';
}

TEST(TextToNumber, OverflowReadsAsInfinity) {
    EXPECT_TRUE(std::isinf(TextToNumber("1e400")));
    EXPECT_LT(TextToNumber("-1e400"), 0);
}

TEST(TextToNumber, FullWidthMappingDoesNotSplitOtherCharacters) {
    // 0xA3 as the trail byte of another character must not start a full-width form.
    EXPECT_DOUBLE_EQ(TextToNumber("\x81\xA3\xB7"), 0);
}

TEST(RealToText, WritesLikePercentPoint13g) {
    const struct {
        double number;
        const char* text;
    } cases[] = {
        {6.0, "6"},
        {3.5, "3.5"},
        {-0.5, "-0.5"},
        {-1, "-1"},
        {1234567890123.0, "1234567890123"},
        {1e13, "1e+013"},
        {0.0001, "0.0001"},
        {0.00001, "1e-005"},
        {1e300, "1e+300"},
        {2147483648.0, "2147483648"},
        {0.1 + 0.2, "0.3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RealToText(c.number), c.text) << c.number;
}

TEST(WholeToText, PlainDecimal) {
    EXPECT_EQ(WholeToText(0), "0");
    EXPECT_EQ(WholeToText(-42), "-42");
    EXPECT_EQ(WholeToText(2147483647), "2147483647");
}

TEST(CutToInt32, CutsTowardZeroAndClamps) {
    EXPECT_EQ(CutToInt32(2.9), 2);
    EXPECT_EQ(CutToInt32(-2.9), -2);
    EXPECT_EQ(CutToInt32(3e9), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(CutToInt32(-3e9), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(CutToInt32(std::numeric_limits<double>::infinity()), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(CutToInt32(std::nan("")), 0);
}

TEST(Tolerance, ComparesWithinOneTenMillionth) {
    EXPECT_TRUE(IsZero(0.0000001));
    EXPECT_TRUE(IsZero(-0.0000001));
    EXPECT_FALSE(IsZero(0.0000002));
    EXPECT_FALSE(IsPositive(0.0000001));
    EXPECT_TRUE(IsPositive(0.0000002));
    EXPECT_FALSE(IsGreater(1.00000001, 1));
    EXPECT_TRUE(IsGreater(1.0000002, 1));
}

TEST(FindText, StepsOverDoubleByteCharacters) {
    EXPECT_EQ(FindText("abc http://x", "http://"), 5);
    EXPECT_EQ(FindText("http://", "http://"), 1);
    EXPECT_EQ(FindText("HTTP://x", "http://"), -1);
    // The 'h' is the trail byte of 0x81: a match may not start inside that character.
    EXPECT_EQ(FindText("\x81http://a", "http://"), -1);
    EXPECT_EQ(FindText("\x81\x40http://a", "http://"), 3);
    EXPECT_EQ(FindText("", "http://"), -1);
}

TEST(ReplaceText, ReplacesLeftToRightOutsideDoubleByteCharacters) {
    EXPECT_EQ(ReplaceText("a*b**", "*", "\r\n"), "a\r\nb\r\n\r\n");
    EXPECT_EQ(ReplaceText("\x81*x*", "*", "-"), "\x81*x-");
    EXPECT_EQ(ReplaceText("\xFF", "*", "-"), "\xFF"); // a lead byte at the very end
}

} // namespace
} // namespace lumorra
