// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// Conversions between the texts of the three fields and the one signed 32-bit value behind them. None of them
// allocates but FormatDecimalText's text: the keystroke path writes into buffers the caller holds, and each
// text returned as a view is valid while its buffer lives.
#pragma once

#include <array>
#include <optional>

#include "vostrel/core/vocabulary.h"

namespace vostrel::core {

using DecimalTextBuffer = std::array<char16_t, 11>;
using HexDigitsBuffer = std::array<char16_t, 8>;
using BinaryTextBuffer = std::array<char16_t, 35>;

// Reads a decimal text: an optional "-" followed by one or more ASCII digits (leading zeros allowed), with
// surrounding spaces and tabs ignored. Fails (nullopt) for the empty text, for any other character, and for a
// value outside -2147483648..2147483647.
[[nodiscard]] std::optional<Value> ParseDecimalText(TextView text);

// Reads a hexadecimal text: one or more hexadecimal digits of either case, optionally behind "0x" or "0X",
// with surrounding spaces and tabs ignored. The digits are a 32-bit pattern read as two's complement, so
// "FFFFFFFF" is -1 and "80000000" is -2147483648, while "FFFF" is 65535. Leading zeros are allowed. Fails for
// the empty text, any other character, and a pattern wider than 32 bits.
[[nodiscard]] std::optional<Value> ParseHexText(TextView text);

// The plain decimal text of a value: optional "-", no leading zeros, no separators.
[[nodiscard]] TextView FormatDecimalText(Value value, DecimalTextBuffer& buffer);
[[nodiscard]] Text FormatDecimalText(Value value);

// Reads `decimalText` as ParseDecimalText does and writes the value's 32-bit pattern in upper-case
// hexadecimal without leading zeros: "255" gives "FF", "-1" gives "FFFFFFFF". Fails where ParseDecimalText
// fails.
[[nodiscard]] std::optional<TextView> FormatHexText(TextView decimalText, HexDigitsBuffer& buffer);

// Prepends zeros so that a hexadecimal text of 1 to 8 digits fills a byte, a 16-bit word or a 32-bit word
// (lengths 1 and 3 gain one zero, 5 to 7 go to 8). Other lengths come back unchanged: then the result is
// `text` itself, else it lies in `buffer`.
[[nodiscard]] TextView PadHexDigits(TextView text, HexDigitsBuffer& buffer);

// The 32-bit two's-complement pattern of a value in groups of eight bits separated by ",", most significant
// first, padded to 8, 16 or 32 bits: 8, 17 or 35 characters. Negative values always take 32 bits.
[[nodiscard]] TextView RenderBinary(Value value, BinaryTextBuffer& buffer);

}  // namespace vostrel::core
