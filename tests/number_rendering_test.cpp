// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "vostrel/core/number_rendering.h"

#include <gtest/gtest.h>

#include "case_name.h"
#include "owned_texts.h"

#include <optional>

namespace vostrel::core {
namespace {

using testing::FormatHexText;
using testing::PadHexDigits;
using testing::RenderBinary;

struct ParseCase {
  const char* name;
  TextView text;
  std::optional<Value> expected;
};

void PrintTo(const ParseCase& c, std::ostream* os) {
  *os << c.name;
}

class ParseDecimalTextTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseDecimalTextTest, ReadsOnlyWholeNumbersInRange) {
  EXPECT_EQ(ParseDecimalText(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseDecimalTextTest,
    ::testing::Values(
        ParseCase{"Zero", u"0", 0}, ParseCase{"LeadingZeros", u"007", 7},
        ParseCase{"ManyLeadingZeros", u"000000000002147483647", 2147483647},
        ParseCase{"Negative", u"-300", -300}, ParseCase{"NegativeZero", u"-0", 0},
        ParseCase{"Max", u"2147483647", 2147483647}, ParseCase{"Min", u"-2147483648", INT32_MIN},
        ParseCase{"JustAboveMax", u"2147483648", std::nullopt},
        ParseCase{"JustBelowMin", u"-2147483649", std::nullopt},
        ParseCase{"TenNines", u"9999999999", std::nullopt},
        ParseCase{"ElevenDigits", u"10000000000", std::nullopt},
        ParseCase{"WrapsModulo2To32", u"4294967297", std::nullopt}, ParseCase{"Empty", u"", std::nullopt},
        ParseCase{"OnlyMinus", u"-", std::nullopt}, ParseCase{"BlanksAround", u" \t42\t ", 42},
        ParseCase{"OnlyBlanks", u"  ", std::nullopt}, ParseCase{"BlankAfterMinus", u"- 5", std::nullopt},
        ParseCase{"InnerBlank", u"4 2", std::nullopt}, ParseCase{"Plus", u"+5", std::nullopt},
        ParseCase{"DoubleMinus", u"--5", std::nullopt}, ParseCase{"Fraction", u"1.5", std::nullopt},
        ParseCase{"Exponent", u"1e3", std::nullopt}, ParseCase{"GroupSeparator", u"1,000", std::nullopt},
        ParseCase{"HexPrefix", u"0x10", std::nullopt}, ParseCase{"Letters", u"abc", std::nullopt},
        ParseCase{"TrailingLetter", u"12a", std::nullopt},
        ParseCase{"FullWidthDigit", u"\uFF11", std::nullopt},
        ParseCase{"ArabicIndicDigit", u"\u0661", std::nullopt},
        // Units whose low byte is a digit, inside a run of four and in the tail after it.
        ParseCase{"LookAlikeInsideFour", u"12\u01303", std::nullopt},
        ParseCase{"FullWidthInTheTail", u"1234\uFF15", std::nullopt},
        ParseCase{"ColonInsideFour", u"123:5678", std::nullopt},
        ParseCase{"SlashInsideFour", u"12345/78", std::nullopt},
        ParseCase{"NulInside",
                  TextView(u"1\0"
                           "2",
                           3),
                  std::nullopt},
        ParseCase{"NewlineAround", u"\n5", std::nullopt}),
    testing::CaseName());

class ParseHexTextTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseHexTextTest, ReadsA32BitPattern) {
  EXPECT_EQ(ParseHexText(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseHexTextTest,
    ::testing::Values(
        ParseCase{"AllOnes", u"FFFFFFFF", -1}, ParseCase{"TopBitOnly", u"80000000", INT32_MIN},
        ParseCase{"Max", u"7FFFFFFF", INT32_MAX}, ParseCase{"Zero", u"0", 0},
        ParseCase{"PaddedByte", u"00FF", 255}, ParseCase{"Byte", u"FF", 255},
        ParseCase{"ThreeDigits", u"ABC", 2748}, ParseCase{"SeventeenBits", u"10000", 65536},
        ParseCase{"Word8000IsPlain", u"8000", 32768}, ParseCase{"WordFFFFIsPlain", u"FFFF", 65535},
        ParseCase{"PaddedWordIsPlain", u"0000FFFF", 65535}, ParseCase{"LowerCase", u"abcdef", 0xABCDEF},
        ParseCase{"MixedCase", u"aBc", 2748}, ParseCase{"LeadingZerosBeyondEight", u"00000000FF", 255},
        ParseCase{"LeadingZerosBeforeTopBit", u"0080000000", INT32_MIN},
        ParseCase{"NineDigits", u"100000000", std::nullopt}, ParseCase{"Empty", u"", std::nullopt},
        ParseCase{"LowerPrefix", u"0x1F", 31}, ParseCase{"UpperPrefix", u"0X1f", 31},
        ParseCase{"PrefixAndBlanks", u"\t 0xFFFFFFFF ", -1}, ParseCase{"PrefixOnly", u"0x", std::nullopt},
        ParseCase{"DoublePrefix", u"0x0x1", std::nullopt}, ParseCase{"BasicPrefix", u"&H1F", std::nullopt},
        ParseCase{"HashPrefix", u"#1F", std::nullopt}, ParseCase{"Suffix", u"1Fh", std::nullopt},
        ParseCase{"Minus", u"-1", std::nullopt}, ParseCase{"LetterG", u"G", std::nullopt},
        ParseCase{"InnerBlank", u"F F", std::nullopt}, ParseCase{"FullWidthLetter", u"\uFF21", std::nullopt}),
    testing::CaseName());

struct FormatHexCase {
  const char* name;
  TextView decimal;
  std::optional<Text> expected;
};

void PrintTo(const FormatHexCase& c, std::ostream* os) {
  *os << c.name;
}

class FormatHexTextTest : public ::testing::TestWithParam<FormatHexCase> {};

TEST_P(FormatHexTextTest, WritesUpperCaseWithoutLeadingZeros) {
  EXPECT_EQ(FormatHexText(GetParam().decimal), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, FormatHexTextTest,
                         ::testing::Values(FormatHexCase{"Zero", u"0", u"0"},
                                           FormatHexCase{"Byte", u"255", u"FF"},
                                           FormatHexCase{"SeventeenBits", u"65536", u"10000"},
                                           FormatHexCase{"Max", u"2147483647", u"7FFFFFFF"},
                                           FormatHexCase{"MinusOne", u"-1", u"FFFFFFFF"},
                                           FormatHexCase{"Min", u"-2147483648", u"80000000"},
                                           FormatHexCase{"LeadingZeros", u"0010", u"A"},
                                           FormatHexCase{"AboveMax", u"2147483648", std::nullopt},
                                           FormatHexCase{"NotANumber", u"12x", std::nullopt},
                                           FormatHexCase{"Empty", u"", std::nullopt}),
                         testing::CaseName());

struct TextCase {
  const char* name;
  TextView input;
  TextView expected;
};

void PrintTo(const TextCase& c, std::ostream* os) {
  *os << c.name;
}

class PadHexDigitsTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(PadHexDigitsTest, FillsAByteAWordOrADoubleWord) {
  EXPECT_EQ(PadHexDigits(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, PadHexDigitsTest,
                         ::testing::Values(TextCase{"Empty", u"", u""}, TextCase{"One", u"A", u"0A"},
                                           TextCase{"Two", u"AB", u"AB"}, TextCase{"Three", u"ABC", u"0ABC"},
                                           TextCase{"Four", u"ABCD", u"ABCD"},
                                           TextCase{"Five", u"12345", u"00012345"},
                                           TextCase{"Six", u"123456", u"00123456"},
                                           TextCase{"Seven", u"1234567", u"01234567"},
                                           TextCase{"Eight", u"12345678", u"12345678"},
                                           TextCase{"Nine", u"123456789", u"123456789"}),
                         testing::CaseName());

struct BinaryCase {
  const char* name;
  Value value;
  TextView expected;
};

void PrintTo(const BinaryCase& c, std::ostream* os) {
  *os << c.name;
}

class RenderBinaryTest : public ::testing::TestWithParam<BinaryCase> {};

TEST_P(RenderBinaryTest, GroupsTheTwosComplementPattern) {
  EXPECT_EQ(RenderBinary(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RenderBinaryTest,
    ::testing::Values(BinaryCase{"Zero", 0, u"00000000"}, BinaryCase{"One", 1, u"00000001"},
                      BinaryCase{"ByteMax", 255, u"11111111"},
                      BinaryCase{"NineBits", 256, u"00000001,00000000"},
                      BinaryCase{"TwelveBits", 2748, u"00001010,10111100"},
                      BinaryCase{"WordMax", 65535, u"11111111,11111111"},
                      BinaryCase{"SeventeenBitsTakeThirtyTwo", 65536, u"00000000,00000001,00000000,00000000"},
                      BinaryCase{"TwentyFiveBits", 16777216, u"00000001,00000000,00000000,00000000"},
                      BinaryCase{"Max", INT32_MAX, u"01111111,11111111,11111111,11111111"},
                      BinaryCase{"MinusOne", -1, u"11111111,11111111,11111111,11111111"},
                      BinaryCase{"MinusTwo", -2, u"11111111,11111111,11111111,11111110"},
                      BinaryCase{"Minus256", -256, u"11111111,11111111,11111111,00000000"},
                      BinaryCase{"Min", INT32_MIN, u"10000000,00000000,00000000,00000000"}),
    testing::CaseName());

TEST(FormatDecimalTextTest, WritesSignAndDigitsOnly) {
  EXPECT_EQ(FormatDecimalText(-1), u"-1");
  EXPECT_EQ(FormatDecimalText(0), u"0");
  EXPECT_EQ(FormatDecimalText(INT32_MIN), u"-2147483648");
  EXPECT_EQ(FormatDecimalText(INT32_MAX), u"2147483647");
}

}  // namespace
}  // namespace vostrel::core
