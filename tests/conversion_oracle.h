// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// An independent reading of the conversions, from tables and plain arithmetic, for sweeping many values: the
// expected texts of a value are built without the code under test, and each conversion is compared with them.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>

#include "vostrel/core/number_rendering.h"

namespace vostrel::testing {

// The two upper-case hexadecimal digits and the eight binary digits of every byte.
inline constexpr auto kHexOfByte = [] {
  std::array<std::array<char16_t, 2>, 256> table{};
  for (std::size_t b = 0; b < 256; ++b) {
    for (std::size_t i = 0; i < 2; ++i) {
      const std::size_t nibble = (b >> (4 * (1 - i))) & 0xF;
      table[b][i] = static_cast<char16_t>(nibble < 10 ? u'0' + nibble : u'A' + nibble - 10);
    }
  }
  return table;
}();
inline constexpr auto kBitsOfByte = [] {
  std::array<std::array<char16_t, 8>, 256> table{};
  for (std::size_t b = 0; b < 256; ++b) {
    for (std::size_t i = 0; i < 8; ++i) table[b][i] = (b >> (7 - i)) & 1 ? u'1' : u'0';
  }
  return table;
}();

// The decimal text of a run of consecutive magnitudes, one step at a time: the last digit moves on and
// carries.
class DecimalOdometer {
 public:
  DecimalOdometer(std::uint32_t magnitude, bool negative) : negative_(negative) {
    first_ = digits_.size();
    do {
      digits_[--first_] = static_cast<char16_t>(u'0' + magnitude % 10);
      magnitude /= 10;
    } while (magnitude != 0);
    digits_[first_ - 1] = u'-';
  }

  void Advance() {
    std::size_t i = digits_.size();
    while (i-- > first_) {
      if (digits_[i] != u'9') {
        ++digits_[i];
        return;
      }
      digits_[i] = u'0';
    }
    digits_[--first_] = u'1';
    digits_[first_ - 1] = u'-';
  }

  [[nodiscard]] core::TextView Text() const {
    const std::size_t start = negative_ ? first_ - 1 : first_;
    return {digits_.data() + start, digits_.size() - start};
  }

 private:
  std::array<char16_t, 12> digits_{};  // a sign and up to ten digits, right-aligned
  std::size_t first_;
  bool negative_;
};

// The hexadecimal text of a 32-bit pattern without leading zeros, and its binary text in groups of eight.
struct PatternTexts {
  std::array<char16_t, 8> hexDigits;
  std::array<char16_t, 35> binaryDigits;
  core::TextView hex, binary;

  explicit PatternTexts(std::int32_t value) {
    const auto pattern = std::bit_cast<std::uint32_t>(value);
    for (std::size_t byte = 0; byte < 4; ++byte) {
      const std::size_t bits = (pattern >> (8 * (3 - byte))) & 0xFFU;
      hexDigits[2 * byte] = kHexOfByte[bits][0];
      hexDigits[2 * byte + 1] = kHexOfByte[bits][1];
      for (std::size_t i = 0; i < 8; ++i) binaryDigits[9 * byte + i] = kBitsOfByte[bits][i];
      if (byte < 3) binaryDigits[9 * byte + 8] = u',';
    }
    std::size_t significant = 8;
    while (significant > 1 && hexDigits[8 - significant] == u'0') --significant;
    hex = {hexDigits.data() + 8 - significant, significant};
    // Negative values take all four bytes; others one, two or four.
    const std::size_t bytes = value < 0 || value >= 65536 ? 4 : value >= 256 ? 2 : 1;
    binary = core::TextView(binaryDigits.data(), binaryDigits.size()).substr(9 * (4 - bytes));
  }
};

// Whether two texts hold the same characters, compared as bytes.
inline bool SameText(core::TextView a, core::TextView b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0;
}

// The conversions of `value`, whose decimal text is `decimal`, that disagree with the oracle in either
// direction, one bit each; 0 when all agree.
inline unsigned FailedConversions(std::int32_t value, core::TextView decimal) {
  const PatternTexts expected(value);
  core::DecimalTextBuffer decimalBuffer;
  core::HexDigitsBuffer hexBuffer;
  core::BinaryTextBuffer binaryBuffer;
  const auto hex = core::FormatHexText(decimal, hexBuffer);
  return (SameText(core::FormatDecimalText(value, decimalBuffer), decimal) ? 0U : 1U) |
         (core::ParseDecimalText(decimal) == value ? 0U : 2U) |
         (hex && SameText(*hex, expected.hex) ? 0U : 4U) |
         (core::ParseHexText(expected.hex) == value ? 0U : 8U) |
         (SameText(core::RenderBinary(value, binaryBuffer), expected.binary) ? 0U : 16U);
}

// What disagreed, in words; empty when everything agreed.
inline std::string DescribeFailures(std::int32_t value, unsigned failed) {
  if (failed == 0) return {};
  std::string said = std::to_string(value) + ":";
  const char* names[] = {"FormatDecimalText", "ParseDecimalText",    "FormatHexText",       "ParseHexText",
                         "RenderBinary",      "ParseHexText(lower)", "ParseHexText(padded)"};
  for (unsigned bit = 0; bit < std::size(names); ++bit) {
    if (failed & (1U << bit)) said += std::string(" ") + names[bit];
  }
  return said;
}

// The same for a value alone, and the hexadecimal forms that only pasting brings: lower case, and the text
// padded as the decimal field's edits pad it. Empty when everything agreed, else what disagreed.
inline std::string CheckConversions(std::int32_t value) {
  const bool negative = value < 0;
  const auto pattern = std::bit_cast<std::uint32_t>(value);
  const DecimalOdometer decimal(negative ? 0U - pattern : pattern, negative);
  unsigned failed = FailedConversions(value, decimal.Text());

  const PatternTexts expected(value);
  core::Text lower(expected.hex);
  for (char16_t& c : lower) c = c >= u'A' ? static_cast<char16_t>(c - u'A' + u'a') : c;
  core::HexDigitsBuffer padded;
  failed |= core::ParseHexText(lower) == value ? 0U : 32U;
  failed |= core::ParseHexText(core::PadHexDigits(expected.hex, padded)) == value ? 0U : 64U;
  return DescribeFailures(value, failed);
}

}  // namespace vostrel::testing
