// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// An independent reading of the conversions, from tables and plain arithmetic, for sweeping many values: the
// expected texts of a value are built without the code under test, and each conversion is compared with them.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
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

// The decimal text of a run of magnitudes, one step at a time: the digit of the step's place moves on and
// carries, as on an odometer.
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

  // Moves the magnitude on by 10^place.
  void Advance(std::size_t place = 0) {
    std::size_t i = digits_.size() - place;  // one past the digit that moves
    if (first_ >= i) {
      // A shorter number first gains zeros up to that digit.
      while (first_ >= i) digits_[--first_] = u'0';
      digits_[first_ - 1] = u'-';
    }
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

// The hexadecimal text of a 32-bit pattern without leading zeros and as the window shows it, padded to a
// whole byte, 16-bit word or 32-bit word, and its binary text in groups of eight.
class PatternTexts {
 public:
  explicit PatternTexts(std::int32_t value) {
    const auto pattern = std::bit_cast<std::uint32_t>(value);
    for (std::size_t byte = 0; byte < 4; ++byte) {
      const std::size_t bits = (pattern >> (8 * (3 - byte))) & 0xFFU;
      std::copy_n(kHexOfByte[bits].begin(), 2, hexDigits_.begin() + static_cast<std::ptrdiff_t>(2 * byte));
      std::copy_n(kBitsOfByte[bits].begin(), 8,
                  binaryDigits_.begin() + static_cast<std::ptrdiff_t>(9 * byte));
      if (byte < 3) binaryDigits_[9 * byte + 8] = u',';
    }
    hexStart_ = 0;
    while (hexStart_ < 7 && hexDigits_[hexStart_] == u'0') ++hexStart_;
    const std::size_t digits = 8 - hexStart_;
    paddedStart_ = digits <= 2 ? 6 : digits <= 4 ? 4 : 0;
    // Negative values take all four bytes; others one, two or four.
    const std::size_t bytes = value < 0 || value >= 65536 ? 4 : value >= 256 ? 2 : 1;
    binaryStart_ = 9 * (4 - bytes);
  }

  [[nodiscard]] core::TextView Hex() const { return {hexDigits_.data() + hexStart_, 8 - hexStart_}; }
  [[nodiscard]] core::TextView PaddedHex() const {
    return {hexDigits_.data() + paddedStart_, 8 - paddedStart_};
  }
  [[nodiscard]] core::TextView Binary() const {
    return {binaryDigits_.data() + binaryStart_, binaryDigits_.size() - binaryStart_};
  }

 private:
  std::array<char16_t, 8> hexDigits_;
  std::array<char16_t, 35> binaryDigits_;
  std::size_t hexStart_;
  std::size_t paddedStart_;
  std::size_t binaryStart_;
};

// Whether two texts hold the same characters: eight at a time as two 64-bit words, the last eight (or four)
// overlapping the ones before where the length is no multiple of eight.
inline bool SameText(core::TextView a, core::TextView b) {
  const std::size_t length = a.size();
  if (length != b.size()) return false;
  if (length < 4) return a == b;
  const auto differ = [&](std::size_t at) {
    std::uint64_t x = 0;
    std::uint64_t y = 0;
    std::memcpy(&x, a.data() + at, sizeof x);
    std::memcpy(&y, b.data() + at, sizeof y);
    return x ^ y;
  };
  if (length < 8) return (differ(0) | differ(length - 4)) == 0;
  std::uint64_t differs = differ(length - 8) | differ(length - 4);
  for (std::size_t at = 0; at + 8 < length; at += 8) differs |= differ(at) | differ(at + 4);
  return differs == 0;
}

// The conversions of one value, run on the oracle's texts, with the buffers they write into: the five, and
// the hexadecimal text padded as the window shows it.
struct Conversions {
  // The results are views into the buffers: a copy would point into the original's.
  Conversions() = default;
  Conversions(const Conversions&) = delete;
  Conversions& operator=(const Conversions&) = delete;

  core::DecimalTextBuffer decimalBuffer;
  core::HexDigitsBuffer hexBuffer;
  core::HexDigitsBuffer paddedBuffer;
  core::BinaryTextBuffer binaryBuffer;
  core::TextView decimal, binary, padded;
  std::optional<core::TextView> hex;
  std::optional<core::Value> fromDecimal, fromHex;

  void Run(std::int32_t value, core::TextView decimalText, const PatternTexts& expected) {
    decimal = core::FormatDecimalText(value, decimalBuffer);
    fromDecimal = core::ParseDecimalText(decimalText);
    hex = core::FormatHexText(decimalText, hexBuffer);
    padded = hex ? core::PadHexDigits(*hex, paddedBuffer) : core::TextView();
    fromHex = core::ParseHexText(expected.Hex());
    binary = core::RenderBinary(value, binaryBuffer);
  }

  // Those that disagree with the oracle in either direction, one bit each; 0 when all agree.
  [[nodiscard]] unsigned Failed(std::int32_t value, core::TextView decimalText,
                                const PatternTexts& expected) const {
    return (SameText(decimal, decimalText) ? 0U : 1U) | (fromDecimal == value ? 0U : 2U) |
           (hex && SameText(*hex, expected.Hex()) ? 0U : 4U) | (fromHex == value ? 0U : 8U) |
           (SameText(binary, expected.Binary()) ? 0U : 16U) |
           (SameText(padded, expected.PaddedHex()) ? 0U : 128U);
  }
};

// The conversions of `value`, whose decimal text is `decimal`, that disagree with the oracle.
inline unsigned FailedConversions(std::int32_t value, core::TextView decimal) {
  const PatternTexts expected(value);
  Conversions conversions;
  conversions.Run(value, decimal, expected);
  return conversions.Failed(value, decimal, expected);
}

// What disagreed, in words; empty when everything agreed.
inline std::string DescribeFailures(std::int32_t value, unsigned failed) {
  if (failed == 0) return {};
  std::string said = std::to_string(value) + ":";
  const char* names[] = {"FormatDecimalText", "ParseDecimalText",    "FormatHexText",        "ParseHexText",
                         "RenderBinary",      "ParseHexText(lower)", "ParseHexText(padded)", "PadHexDigits"};
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
  core::Text lower(expected.Hex());
  for (char16_t& c : lower) c = c >= u'A' ? static_cast<char16_t>(c - u'A' + u'a') : c;
  core::HexDigitsBuffer padded;
  failed |= core::ParseHexText(lower) == value ? 0U : 32U;
  failed |= core::ParseHexText(core::PadHexDigits(expected.Hex(), padded)) == value ? 0U : 64U;
  return DescribeFailures(value, failed);
}

}  // namespace vostrel::testing
