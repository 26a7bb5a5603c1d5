// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "vostrel/core/typed_keys.h"

#include <bit>
#include <utility>

namespace vostrel::core {
namespace {

constexpr bool IsHighSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}

constexpr bool IsLowSurrogate(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

std::optional<KeyCode> TypedKeys::Next(char16_t unit) {
  if (IsLowSurrogate(unit) && std::exchange(lowSurrogateDue_, false)) return std::nullopt;
  lowSurrogateDue_ = IsHighSurrogate(unit);
  if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) return kKeyBeyond16Bits;
  return std::bit_cast<KeyCode>(unit);
}

std::vector<KeyCode> KeysOf(TextView text) {
  TypedKeys typed;
  std::vector<KeyCode> keys;
  for (const char16_t unit : text) {
    if (const auto key = typed.Next(unit)) keys.push_back(*key);
  }
  return keys;
}

}  // namespace vostrel::core
