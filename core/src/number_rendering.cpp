#include "vostrel/core/number_rendering.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <limits>
#include <system_error>

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

constexpr bool IsDecimalDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

constexpr bool IsHexDigit(char16_t c) {
  return IsDecimalDigit(c) || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

// Reads a non-empty run of digits of the given base as an unsigned 32-bit number. Leading zeros are dropped
// first, so any number of them is fine; the rest must fit in 32 bits.
template <int Base>
std::optional<std::uint32_t> ParseDigits(TextView digits) {
  constexpr auto kIsDigit = Base == 10 ? IsDecimalDigit : IsHexDigit;
  if (digits.empty()) return std::nullopt;
  for (char16_t c : digits) {
    if (!kIsDigit(c)) return std::nullopt;
  }
  const auto firstSignificant = digits.find_first_not_of(u'0');
  if (firstSignificant == TextView::npos) return 0U;
  digits.remove_prefix(firstSignificant);

  constexpr std::size_t kMaxDigits = Base == 10 ? 10 : 8;
  if (digits.size() > kMaxDigits) return std::nullopt;
  std::array<char, kMaxDigits> narrow{};
  for (std::size_t i = 0; i < digits.size(); ++i) narrow[i] = static_cast<char>(digits[i]);

  std::uint32_t value = 0;
  const char* end = narrow.data() + digits.size();
  const auto [stop, error] = std::from_chars(narrow.data(), end, value, Base);
  if (error != std::errc{} || stop != end) return std::nullopt;
  return value;
}

Text Widen(const char* first, const char* last) {
  return Text(first, last);
}

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

Text FormatDecimalText(Value value) {
  std::array<char, 12> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return Widen(buffer.data(), result.ptr);
}

std::optional<Text> FormatHexText(TextView decimalText) {
  const auto value = ParseDecimalText(decimalText);
  if (!value) return std::nullopt;
  std::array<char, 8> buffer{};
  const auto result =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::bit_cast<std::uint32_t>(*value), 16);
  Text hex = Widen(buffer.data(), result.ptr);
  for (char16_t& c : hex) {
    if (c >= u'a' && c <= u'f') c = static_cast<char16_t>(c - (u'a' - u'A'));
  }
  return hex;
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

Text PadHexDigits(TextView text) {
  HexDigitsBuffer buffer;
  return Text(PadHexDigits(text, buffer));
}

TextView RenderBinary(Value value, BinaryTextBuffer& buffer) {
  const auto pattern = std::bit_cast<std::uint32_t>(value);
  // Negative values need all 32 bits; others the smallest of 8, 16 or 32 that holds their bits.
  const auto bits = static_cast<int>(std::bit_width(pattern));
  const int width = bits <= 8 ? 8 : bits <= 16 ? 16 : 32;

  std::size_t length = 0;
  for (int group = width / 8 - 1; group >= 0; --group) {
    if (length != 0) buffer[length++] = u',';
    const auto byte = static_cast<unsigned>(pattern >> (group * 8));
    for (int bit = 7; bit >= 0; --bit) buffer[length++] = static_cast<char16_t>(u'0' + ((byte >> bit) & 1U));
  }
  return {buffer.data(), length};
}

Text RenderBinary(Value value) {
  BinaryTextBuffer buffer;
  return Text(RenderBinary(value, buffer));
}

}  // namespace vostrel::core
