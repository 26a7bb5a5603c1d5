// An independent reading of the conversions, from std::to_chars and bit operations, for sweeping many values.
#pragma once

#include <array>
#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

#include "vostrel/core/number_rendering.h"

namespace vostrel::testing {

inline core::Text Widen(std::string_view narrow) {
  return core::Text(narrow.begin(), narrow.end());
}

inline bool SameText(core::TextView wide, std::string_view narrow) {
  if (wide.size() != narrow.size()) return false;
  for (std::size_t i = 0; i < wide.size(); ++i) {
    if (wide[i] != static_cast<unsigned char>(narrow[i])) return false;
  }
  return true;
}

// The expected texts of one value, built without the code under test.
struct OracleTexts {
  std::array<char, 12> decimalBuffer{};
  std::array<char, 8> hexBuffer{};
  std::array<char, 8> lowerHexBuffer{};
  std::array<char, 35> binaryBuffer{};
  std::string_view decimal, hex, lowerHex, binary;

  explicit OracleTexts(std::int32_t value) {
    decimal = {decimalBuffer.data(),
               static_cast<std::size_t>(std::to_chars(decimalBuffer.begin(), decimalBuffer.end(), value).ptr -
                                        decimalBuffer.data())};
    const auto pattern = static_cast<std::uint32_t>(value);
    int digits = 1;
    while (digits < 8 && (pattern >> (4 * digits)) != 0) ++digits;
    for (int i = 0; i < digits; ++i) {
      const unsigned nibble = (pattern >> (4 * (digits - 1 - i))) & 0xFU;
      hexBuffer[static_cast<std::size_t>(i)] = "0123456789ABCDEF"[nibble];
      lowerHexBuffer[static_cast<std::size_t>(i)] = "0123456789abcdef"[nibble];
    }
    hex = {hexBuffer.data(), static_cast<std::size_t>(digits)};
    lowerHex = {lowerHexBuffer.data(), static_cast<std::size_t>(digits)};

    const int width = value < 0 ? 32 : value < 256 ? 8 : value < 65536 ? 16 : 32;
    std::size_t length = 0;
    for (int bit = width - 1; bit >= 0; --bit) {
      binaryBuffer[length++] = (pattern >> bit) & 1U ? '1' : '0';
      if (bit > 0 && bit % 8 == 0) binaryBuffer[length++] = ',';
    }
    binary = {binaryBuffer.data(), length};
  }
};

// Empty when every conversion of `value` agrees with the oracle in both directions, else what disagreed.
inline std::string CheckConversions(std::int32_t value) {
  const OracleTexts expected(value);
  const core::Text decimal = Widen(expected.decimal);
  const core::Text hex = Widen(expected.hex);

  std::string failures;
  const auto expect = [&](bool ok, const char* what) {
    if (!ok) failures += std::string(what) + " ";
  };
  expect(SameText(core::FormatDecimalText(value), expected.decimal), "FormatDecimalText");
  expect(core::ParseDecimalText(decimal) == value, "ParseDecimalText");
  const auto formattedHex = core::FormatHexText(decimal);
  expect(formattedHex && SameText(*formattedHex, expected.hex), "FormatHexText");
  expect(core::ParseHexText(hex) == value, "ParseHexText");
  expect(core::ParseHexText(Widen(expected.lowerHex)) == value, "ParseHexText(lower)");
  expect(core::ParseHexText(core::PadHexDigits(hex)) == value, "ParseHexText(padded)");
  expect(SameText(core::RenderBinary(value), expected.binary), "RenderBinary");
  return failures.empty() ? failures : std::string(expected.decimal) + ": " + failures;
}

}  // namespace vostrel::testing
