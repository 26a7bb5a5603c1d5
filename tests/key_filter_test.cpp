// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "vostrel/core/key_filter.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "case_name.h"
#include "vostrel/core/typed_keys.h"

namespace vostrel::core {
namespace {

KeyFilterResult Accept(char16_t c) {
  return {.keyCode = static_cast<KeyCode>(c)};
}
const KeyFilterResult kRefuse{.beep = true};
const KeyFilterResult kSwallowSilently{};
const KeyFilterResult kClose{.close = true};
KeyFilterResult FocusTo(FieldIndex target) {
  return {.focusTarget = target};
}

struct KeyCase {
  const char* name;
  FieldIndex field;
  KeyCode key;
  TextView text;
  std::int32_t selected;
  KeyFilterResult expected;
};

void PrintTo(const KeyCase& c, std::ostream* os) {
  *os << c.name;
}

class FilterKeyTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(FilterKeyTest, DecidesTheKey) {
  const KeyCase& c = GetParam();
  EXPECT_EQ(FilterKey(c.field, c.key, c.text, c.selected), c.expected);
}

constexpr FieldIndex kDec = kDecimalField;
constexpr FieldIndex kHex = kHexField;
constexpr FieldIndex kBin = kBinaryField;

INSTANTIATE_TEST_SUITE_P(
    SpecialKeys, FilterKeyTest,
    ::testing::Values(KeyCase{"BackspaceDecimalAtLimit", kDec, 8, u"2147483647", 0, Accept(8)},
                      KeyCase{"BackspaceHexAtLimit", kHex, 8, u"7FFFFFFF", 0, Accept(8)},
                      KeyCase{"BackspaceOnSingleZero", kDec, 8, u"0", 1, Accept(8)},
                      KeyCase{"BackspaceBinary", kBin, 8, u"00000000", 0, Accept(8)},
                      KeyCase{"EnterDecimalGoesToHex", kDec, 13, u"1", 0, FocusTo(kHex)},
                      KeyCase{"EnterHexGoesToDecimal", kHex, 13, u"1", 0, FocusTo(kDec)},
                      KeyCase{"EnterBinaryGoesToDecimal", kBin, 13, u"1", 0, FocusTo(kDec)},
                      KeyCase{"EscDecimal", kDec, 27, u"", 0, kClose},
                      KeyCase{"EscHex", kHex, 27, u"", 0, kClose},
                      KeyCase{"EscBinary", kBin, 27, u"", 0, kClose}),
    testing::CaseName());

INSTANTIATE_TEST_SUITE_P(
    Characters, FilterKeyTest,
    ::testing::Values(
        KeyCase{"DecimalDigit", kDec, '7', u"12", 0, Accept('7')},
        KeyCase{"DecimalLetterA", kDec, 'A', u"", 0, kRefuse},
        KeyCase{"DecimalLowerA", kDec, 'a', u"", 0, kRefuse},
        KeyCase{"DecimalMinus", kDec, '-', u"", 0, kRefuse},
        KeyCase{"DecimalPoint", kDec, '.', u"1", 0, kRefuse},
        KeyCase{"DecimalSpace", kDec, ' ', u"1", 0, kRefuse},
        KeyCase{"DecimalBelowDigits", kDec, 47, u"", 0, kRefuse},
        KeyCase{"DecimalAboveDigits", kDec, 58, u"", 0, kRefuse},
        KeyCase{"HexUpperFirst", kHex, 65, u"", 0, Accept('A')},
        KeyCase{"HexUpperLast", kHex, 70, u"", 0, Accept('F')},
        KeyCase{"HexLowerFirstUpperCased", kHex, 97, u"", 0, Accept('A')},
        KeyCase{"HexLowerLastUpperCased", kHex, 102, u"", 0, Accept('F')},
        KeyCase{"HexAt", kHex, 64, u"", 0, kRefuse}, KeyCase{"HexG", kHex, 71, u"", 0, kRefuse},
        KeyCase{"HexBacktick", kHex, 96, u"", 0, kRefuse}, KeyCase{"HexLowerG", kHex, 103, u"", 0, kRefuse},
        KeyCase{"HexBelowDigits", kHex, 47, u"", 0, kRefuse},
        KeyCase{"HexAboveDigits", kHex, 58, u"", 0, kRefuse},
        KeyCase{"HexDigit", kHex, '9', u"", 0, Accept('9')},
        KeyCase{"BinaryDigit", kBin, '1', u"", 0, kRefuse},
        KeyCase{"BinaryLetter", kBin, 'A', u"", 0, kRefuse},
        KeyCase{"BinaryBelowDigits", kBin, 47, u"", 0, kRefuse},
        KeyCase{"CtrlCDecimal", kDec, 3, u"1", 0, kRefuse}, KeyCase{"CtrlVHex", kHex, 22, u"1", 0, kRefuse},
        KeyCase{"CtrlXBinary", kBin, 24, u"1", 0, kRefuse},
        KeyCase{"CtrlZDecimal", kDec, 26, u"1", 0, kRefuse},
        KeyCase{"CtrlADecimal", kDec, 1, u"1", 0, kRefuse}, KeyCase{"TabHex", kHex, 9, u"1", 0, kRefuse},
        KeyCase{"NulCode", kDec, 0, u"1", 0, kRefuse},
        KeyCase{"FullWidthDigitOne", kDec, static_cast<KeyCode>(0xFF11), u"", 0, kRefuse},
        KeyCase{"FullWidthLetterA", kHex, static_cast<KeyCode>(0xFF21), u"", 0, kRefuse},
        KeyCase{"HighSurrogate", kHex, static_cast<KeyCode>(0xD83D), u"", 0, kRefuse}),
    testing::CaseName());

INSTANTIATE_TEST_SUITE_P(
    LengthLimit, FilterKeyTest,
    ::testing::Values(KeyCase{"DecimalFullNothingSelected", kDec, '1', u"2147483647", 0, kRefuse},
                      KeyCase{"DecimalFullOneSelected", kDec, '1', u"2147483647", 1, Accept('1')},
                      KeyCase{"DecimalFullAllSelected", kDec, '1', u"2147483647", 10, Accept('1')},
                      KeyCase{"DecimalNineKept", kDec, '1', u"214748364", 0, Accept('1')},
                      KeyCase{"DecimalElevenOneSelected", kDec, '1', u"-2147483648", 1, kRefuse},
                      KeyCase{"DecimalElevenTwoSelected", kDec, '1', u"-2147483648", 2, Accept('1')},
                      KeyCase{"HexFullDigit", kHex, '1', u"7FFFFFFF", 0, kRefuse},
                      KeyCase{"HexFullLowerLetterBeepsOnce", kHex, 'a', u"7FFFFFFF", 0, kRefuse},
                      KeyCase{"HexSevenKept", kHex, 'a', u"7FFFFFF", 0, Accept('A')},
                      KeyCase{"HexFullAllSelected", kHex, 'b', u"7FFFFFFF", 32767, Accept('B')},
                      KeyCase{"NegativeSelectionCountsAsNone", kHex, '1', u"7FFFFFFF", -5, kRefuse}),
    testing::CaseName());

INSTANTIATE_TEST_SUITE_P(
    SingleZero, FilterKeyTest,
    ::testing::Values(KeyCase{"DecimalZeroOnZero", kDec, '0', u"0", 0, kSwallowSilently},
                      KeyCase{"DecimalZeroOnSelectedZero", kDec, '0', u"0", 1, kSwallowSilently},
                      KeyCase{"HexZeroOnZero", kHex, '0', u"0", 0, kSwallowSilently},
                      KeyCase{"HexZeroOnSelectedZero", kHex, '0', u"0", 1, kSwallowSilently},
                      KeyCase{"FiveOnZero", kDec, '5', u"0", 0, Accept('5')},
                      KeyCase{"ZeroOnDoubleZero", kDec, '0', u"00", 0, Accept('0')},
                      KeyCase{"ZeroOnTen", kHex, '0', u"10", 0, Accept('0')},
                      KeyCase{"ZeroOnPaddedZero", kDec, '0', u" 0", 0, Accept('0')},
                      KeyCase{"BinaryZeroOnZeroBeeps", kBin, '0', u"0", 0, kRefuse}),
    testing::CaseName());

// A text typed at once, as an input method commits it: each character is one key, in order, for the key rule
// to decide in turn.
struct CommitCase {
  const char* name;
  TextView text;
  std::vector<KeyCode> keys;
};

void PrintTo(const CommitCase& c, std::ostream* os) {
  *os << c.name;
}

class KeysOfTest : public ::testing::TestWithParam<CommitCase> {};

TEST_P(KeysOfTest, TypesOneKeyPerCharacterInOrder) {
  EXPECT_EQ(KeysOf(GetParam().text), GetParam().keys);
}

INSTANTIATE_TEST_SUITE_P(Commits, KeysOfTest,
                         ::testing::Values(CommitCase{"Nothing", u"", {}},
                                           CommitCase{"DigitsAndLettersAsTyped", u"1a2", {'1', 'a', '2'}},
                                           CommitCase{"ControlCharactersAreKeysToo",
                                                      u"4\b\x1b"
                                                      u"5",
                                                      {'4', kKeyBackspace, kKeyEscape, '5'}},
                                           CommitCase{"ACharacterBeyond16BitsIsOneKey",
                                                      u"1\U0001F6002",
                                                      {'1', kKeyBeyond16Bits, '2'}},
                                           CommitCase{"LoneSurrogatesAreKeysOfTheirOwn",
                                                      u"\xDC00"
                                                      u"5\xD800",
                                                      {kKeyBeyond16Bits, '5', kKeyBeyond16Bits}},
                                           CommitCase{"AHighHalfBeforeALetterIsAKeyOfItsOwn",
                                                      u"\xD800"
                                                      u"a",
                                                      {kKeyBeyond16Bits, 'a'}}),
                         testing::CaseName());

TEST(FilterKeyInvariantTest, EveryCodeInEveryFieldGivesOneConsistentResult) {
  for (FieldIndex field = -1; field <= 3; ++field) {
    for (int code = INT16_MIN; code <= INT16_MAX; ++code) {
      const auto key = static_cast<KeyCode>(code);
      const KeyFilterResult r = FilterKey(field, key, u"12", 0);
      const int actions = int{r.beep} + int{r.focusTarget.has_value()} + int{r.close};
      ASSERT_LE(actions, 1) << field << " " << code;
      if (actions == 1) {
        ASSERT_EQ(r.keyCode, kKeyNone) << field << " " << code;
      }
      if (r.keyCode != kKeyNone && r.keyCode != key) {
        ASSERT_EQ(field, kHexField);
        ASSERT_EQ(r.keyCode, key - 32);
      }
      if (actions == 0) {
        ASSERT_NE(r.keyCode, kKeyNone) << "only the single-zero rule swallows silently";
      }
    }
  }
}

}  // namespace
}  // namespace vostrel::core
