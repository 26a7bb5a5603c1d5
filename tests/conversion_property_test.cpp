// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "conversion_oracle.h"
#include "three_field_model.h"

namespace vostrel::testing {
namespace {

constexpr std::int64_t kReach = 65536;

// The oracle's conversions, and what the window shows once the value's decimal text is typed: the hexadecimal
// and binary fields as edit propagation writes them. Empty when everything agreed, else what disagreed.
std::string CheckValue(std::int32_t value) {
  std::string failure = CheckConversions(value);
  const std::string typed = std::to_string(value);
  ThreeFieldModel window;
  window.Focus(core::kDecimalField);
  window.SetFieldText(core::kDecimalField, u"");  // so that typing "0" over the first "0" is a change too
  window.SetFieldText(core::kDecimalField, core::Text(typed.begin(), typed.end()));
  const PatternTexts expected(value);
  if (!SameText(window.FieldText(core::kHexField), expected.PaddedHex()) ||
      !SameText(window.FieldText(core::kBinaryField), expected.Binary())) {
    failure += (failure.empty() ? std::to_string(value) + ":" : std::string()) + " the window's fields";
  }
  return failure;
}

class BoundarySweepTest : public ::testing::TestWithParam<std::int64_t> {};

TEST_P(BoundarySweepTest, EveryValueNearTheBoundaryAgreesWithTheOracle) {
  const std::int64_t centre = GetParam();
  int failures = 0;
  for (std::int64_t v = centre - kReach; v <= centre + kReach && failures < 10; ++v) {
    if (v < INT32_MIN || v > INT32_MAX) {
      // Just outside the range, the decimal text must be refused rather than wrapped.
      const std::string text = std::to_string(v);
      EXPECT_EQ(core::ParseDecimalText(core::Text(text.begin(), text.end())), std::nullopt) << v;
      continue;
    }
    const std::string failure = CheckValue(static_cast<std::int32_t>(v));
    EXPECT_EQ(failure, "");
    failures += failure.empty() ? 0 : 1;
  }
}

INSTANTIATE_TEST_SUITE_P(Boundaries, BoundarySweepTest,
                         ::testing::Values(0, 32768, -32768, 65536, -65536, 16777216, -16777216, INT32_MAX,
                                           INT32_MIN));

TEST(RandomSweepTest, AMillionRandomValuesAgreeWithTheOracle) {
  std::mt19937 generator(20261207);
  std::uniform_int_distribution<std::int32_t> anyValue(INT32_MIN, INT32_MAX);
  int failures = 0;
  for (int i = 0; i < 1'000'000 && failures < 10; ++i) {
    const std::string failure = CheckValue(anyValue(generator));
    EXPECT_EQ(failure, "");
    failures += failure.empty() ? 0 : 1;
  }
}

// The sweeps are only as good as this comparison: any one differing character, at any place of any length the
// conversions write, must be noticed, and so must a difference in length alone.
TEST(SameTextTest, NoticesAnyOneDifferingCharacter) {
  const core::Text text = u"01234567,89ABCDEF,01234567,89ABCDE";
  for (std::size_t length = 1; length <= text.size(); ++length) {
    const core::TextView original(text.data(), length);
    const core::Text copy(original);
    EXPECT_TRUE(SameText(original, copy)) << length;
    EXPECT_FALSE(SameText(original, core::TextView(copy).substr(1))) << length;
    for (std::size_t at = 0; at < length; ++at) {
      core::Text changed = copy;
      changed[at] = u'x';
      EXPECT_FALSE(SameText(original, changed)) << length << " at " << at;
    }
  }
}

}  // namespace
}  // namespace vostrel::testing
