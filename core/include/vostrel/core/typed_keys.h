// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// Typed text as the key codes the key rule decides: one key per typed character, in the order typed.
#pragma once

#include <bit>
#include <optional>
#include <vector>

#include "vostrel/core/vocabulary.h"

namespace vostrel::core {

// The key that a character beyond 16 bits types: one key, and one that no field takes.
inline constexpr KeyCode kKeyBeyond16Bits = std::bit_cast<KeyCode>(u'\uFFFD');

// UTF-16 units as they arrive one by one (a keyboard's or an input method's characters), turned into keys.
class TypedKeys {
 public:
  // The key that `unit` types, or none for the second half of a surrogate pair, whose first half typed the
  // pair's one key. A lone half is a key of its own, of a character beyond 16 bits.
  [[nodiscard]] std::optional<KeyCode> Next(char16_t unit);

 private:
  bool lowSurrogateDue_ = false;
};

// The keys of a text typed at once, as an input method commits it: a commit of several characters is that
// many typed characters, each through the key rule in turn, each refused one beeping once.
[[nodiscard]] std::vector<KeyCode> KeysOf(TextView text);

}  // namespace vostrel::core
