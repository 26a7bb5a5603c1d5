// An independent reading of the conversions, from printf and bitset, for sweeping many values.
#pragma once

#include <bitset>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <string>

#include "vostrel/core/number_rendering.h"

namespace vostrel::testing {

inline core::Text Widen(const std::string& narrow) {
  return core::Text(narrow.begin(), narrow.end());
}

inline std::string Printf(const char* format, auto value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

inline std::string OracleBinary(std::int32_t value) {
  const std::size_t width = value < 0 ? 32 : value < 256 ? 8 : value < 65536 ? 16 : 32;
  const std::string bits = std::bitset<32>(static_cast<std::uint32_t>(value)).to_string().substr(32 - width);
  std::string grouped;
  for (std::size_t i = 0; i < bits.size(); i += 8) {
    if (i != 0) grouped += ',';
    grouped += bits.substr(i, 8);
  }
  return grouped;
}

// Empty when every conversion of `value` agrees with the oracle in both directions, else what disagreed.
inline std::string CheckConversions(std::int32_t value) {
  const std::string decimal = Printf("%d", value);
  const std::string hex = Printf("%X", static_cast<unsigned>(value));
  std::string lowerHex = hex;
  for (char& c : lowerHex) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));

  std::string failures;
  const auto expect = [&](bool ok, const char* what) {
    if (!ok) failures += std::string(what) + " ";
  };
  expect(core::FormatDecimalText(value) == Widen(decimal), "FormatDecimalText");
  expect(core::ParseDecimalText(Widen(decimal)) == value, "ParseDecimalText");
  expect(core::FormatHexText(Widen(decimal)) == Widen(hex), "FormatHexText");
  expect(core::ParseHexText(Widen(hex)) == value, "ParseHexText");
  expect(core::ParseHexText(Widen(lowerHex)) == value, "ParseHexText(lower)");
  expect(core::ParseHexText(core::PadHexDigits(Widen(hex))) == value, "ParseHexText(padded)");
  expect(core::RenderBinary(value) == Widen(OracleBinary(value)), "RenderBinary");
  return failures.empty() ? failures : Printf("%d: ", value) + failures;
}

}  // namespace vostrel::testing
