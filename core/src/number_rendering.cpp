// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "vostrel/core/number_rendering.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>

namespace vostrel::core {
namespace {

constexpr bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t';
}

TextView TrimBlanks(TextView text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The value of each ASCII character as a hexadecimal digit, or 16 for a character that is none.
constexpr auto kDigitValues = [] {
  std::array<std::uint8_t, 128> values{};
  values.fill(16);
  for (int i = 0; i < 10; ++i) values[static_cast<std::size_t>('0' + i)] = static_cast<std::uint8_t>(i);
  for (int i = 0; i < 6; ++i) {
    values[static_cast<std::size_t>('A' + i)] = static_cast<std::uint8_t>(10 + i);
    values[static_cast<std::size_t>('a' + i)] = static_cast<std::uint8_t>(10 + i);
  }
  return values;
}();

constexpr unsigned DigitValue(char16_t c) {
  return c < kDigitValues.size() ? kDigitValues[c] : 16U;
}

// The value of up to ten decimal digits, or nullopt at the first unit that is no digit. Where the machine
// stores the low byte first, four digits at a time: four UTF-16 units checked and combined as one 64-bit
// word.
std::optional<std::uint64_t> DecimalDigitsValue(TextView digits) {
  std::uint64_t value = 0;
  std::size_t i = 0;
  if constexpr (std::endian::native == std::endian::little) {
    constexpr std::uint64_t kHighBits = 0x8000'8000'8000'8000;
    for (; i + 4 <= digits.size(); i += 4) {
      std::uint64_t units = 0;  // the first unit in the low 16 bits
      std::memcpy(&units, digits.data() + i, sizeof units);
      // Below 0x8000 each unit's sum stays within its 16 bits; the high bit then tells "at least '0'" and
      // "beyond '9'".
      const std::uint64_t atLeastZero = units + 0x7FD0'7FD0'7FD0'7FD0;
      const std::uint64_t beyondNine = units + 0x7FC6'7FC6'7FC6'7FC6;
      if ((units & kHighBits) != 0 || (atLeastZero & ~beyondNine & kHighBits) != kHighBits)
        return std::nullopt;
      const std::uint64_t each = units - 0x0030'0030'0030'0030;
      const std::uint64_t pairs = (each * 10 + (each >> 16)) & 0x0000'FFFF'0000'FFFF;
      value = value * 10000 + ((pairs * 100 + (pairs >> 32)) & 0xFFFF'FFFF);
    }
  }
  for (; i < digits.size(); ++i) {
    const unsigned digit = static_cast<unsigned>(digits[i]) - u'0';
    if (digit > 9) return std::nullopt;
    value = value * 10 + digit;
  }
  return value;
}

// The value of up to eight hexadecimal digits of either case, or nullopt at the first unit that is none.
std::optional<std::uint64_t> HexDigitsValue(TextView digits) {
  std::uint64_t value = 0;
  for (const char16_t c : digits) {
    const unsigned digit = DigitValue(c);
    if (digit >= 16) return std::nullopt;
    value = value * 16 + digit;
  }
  return value;
}

// Reads a non-empty run of digits of the given base as an unsigned 32-bit number. Leading zeros are fine in
// any number; the rest must fit in 32 bits.
template <unsigned Base>
std::optional<std::uint32_t> ParseDigits(TextView digits) {
  if (digits.empty()) return std::nullopt;
  std::size_t zeros = 0;
  while (zeros < digits.size() && digits[zeros] == u'0') ++zeros;
  digits.remove_prefix(zeros);
  // Ten decimal or eight hexadecimal digits fit a 64-bit sum; more cannot fit 32 bits.
  if (digits.size() > (Base == 10 ? 10U : 8U)) return std::nullopt;
  const auto value = Base == 10 ? DecimalDigitsValue(digits) : HexDigitsValue(digits);
  if (!value || *value > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
  return static_cast<std::uint32_t>(*value);
}

// "00" to "99": the two decimal digits of every number below 100.
constexpr auto kDigitPairs = [] {
  std::array<char16_t, 200> pairs{};
  for (std::size_t i = 0; i < 100; ++i) {
    pairs[2 * i] = static_cast<char16_t>(u'0' + i / 10);
    pairs[2 * i + 1] = static_cast<char16_t>(u'0' + i % 10);
  }
  return pairs;
}();

constexpr std::array<char16_t, 16> kHexDigits{u'0', u'1', u'2', u'3', u'4', u'5', u'6', u'7',
                                              u'8', u'9', u'A', u'B', u'C', u'D', u'E', u'F'};

// The two hexadecimal and the eight binary digits of every byte, most significant first.
constexpr auto kHexOfByte = [] {
  std::array<std::array<char16_t, 2>, 256> hex{};
  for (std::size_t b = 0; b < 256; ++b) hex[b] = {kHexDigits[b >> 4], kHexDigits[b & 0xFU]};
  return hex;
}();
constexpr auto kBitsOfByte = [] {
  std::array<std::array<char16_t, 8>, 256> bits{};
  for (std::size_t b = 0; b < 256; ++b) {
    for (std::size_t i = 0; i < 8; ++i) bits[b][i] = (b >> (7 - i)) & 1U ? u'1' : u'0';
  }
  return bits;
}();

}  // namespace

std::optional<Value> ParseDecimalText(TextView text) {
  text = TrimBlanks(text);
  const bool negative = !text.empty() && text.front() == u'-';
  if (negative) text.remove_prefix(1);
  const auto magnitude = ParseDigits<10>(text);
  if (!magnitude) return std::nullopt;

  constexpr auto kMaxMagnitude = static_cast<std::uint32_t>(std::numeric_limits<Value>::max());
  if (!negative) {
    if (*magnitude > kMaxMagnitude) return std::nullopt;
    return static_cast<Value>(*magnitude);
  }
  if (*magnitude > kMaxMagnitude + 1U) return std::nullopt;
  // Negating in unsigned arithmetic and converting back is exact for 0..2^31 (C++20 defines the conversion).
  return static_cast<Value>(0U - *magnitude);
}

std::optional<Value> ParseHexText(TextView text) {
  text = TrimBlanks(text);
  if (text.size() >= 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) text.remove_prefix(2);
  const auto pattern = ParseDigits<16>(text);
  if (!pattern) return std::nullopt;
  return std::bit_cast<Value>(*pattern);
}

TextView FormatDecimalText(Value value, DecimalTextBuffer& buffer) {
  // Digits from the right, two at a time.
  std::uint32_t magnitude =
      value < 0 ? 0U - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
  std::size_t first = buffer.size();
  while (magnitude >= 100) {
    const std::size_t pair = 2 * (magnitude % 100);
    magnitude /= 100;
    buffer[--first] = kDigitPairs[pair + 1];
    buffer[--first] = kDigitPairs[pair];
  }
  if (magnitude >= 10) {
    buffer[--first] = kDigitPairs[2 * magnitude + 1];
    buffer[--first] = kDigitPairs[2 * magnitude];
  } else {
    buffer[--first] = static_cast<char16_t>(u'0' + magnitude);
  }
  if (value < 0) buffer[--first] = u'-';
  return {buffer.data() + first, buffer.size() - first};
}

Text FormatDecimalText(Value value) {
  DecimalTextBuffer buffer;
  return Text(FormatDecimalText(value, buffer));
}

std::optional<TextView> FormatHexText(TextView decimalText, HexDigitsBuffer& buffer) {
  const auto value = ParseDecimalText(decimalText);
  if (!value) return std::nullopt;
  const auto pattern = std::bit_cast<std::uint32_t>(*value);
  for (std::size_t byte = 0; byte < 4; ++byte) {
    std::copy_n(kHexOfByte[(pattern >> (24 - 8 * byte)) & 0xFFU].begin(), 2, buffer.begin() + 2 * byte);
  }
  // No leading zeros: as many digits as the pattern's bits need, and one for zero.
  const std::size_t digits = std::max<std::size_t>(1, (std::bit_width(pattern) + 3) / 4);
  return TextView(buffer.data() + buffer.size() - digits, digits);
}

namespace {

std::size_t HexPaddingFor(std::size_t length) {
  switch (length) {
    case 1:
    case 3:
    case 7:
      return 1;
    case 5:
      return 3;
    case 6:
      return 2;
    default:
      return 0;
  }
}

}  // namespace

TextView PadHexDigits(TextView text, HexDigitsBuffer& buffer) {
  const std::size_t zeros = HexPaddingFor(text.size());
  if (zeros == 0) return text;
  const auto afterZeros = std::fill_n(buffer.begin(), zeros, u'0');
  std::copy(text.begin(), text.end(), afterZeros);
  return {buffer.data(), zeros + text.size()};
}

TextView RenderBinary(Value value, BinaryTextBuffer& buffer) {
  const auto pattern = std::bit_cast<std::uint32_t>(value);
  // Negative values need all 32 bits; others the smallest of 8, 16 or 32 that holds their bits.
  const auto bits = static_cast<int>(std::bit_width(pattern));
  const int width = bits <= 8 ? 8 : bits <= 16 ? 16 : 32;

  std::size_t length = 0;
  for (int group = width / 8 - 1; group >= 0; --group) {
    if (length != 0) buffer[length++] = u',';
    const auto byte = static_cast<std::size_t>(pattern >> (group * 8)) & 0xFFU;
    std::copy_n(kBitsOfByte[byte].begin(), 8, buffer.begin() + static_cast<std::ptrdiff_t>(length));
    length += 8;
  }
  return {buffer.data(), length};
}

}  // namespace vostrel::core
