// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// Which typed characters a field takes.
#pragma once

#include <cstdint>
#include <optional>

#include "vostrel/core/vocabulary.h"

namespace vostrel::core {

inline constexpr KeyCode kKeyBackspace = 8;
inline constexpr KeyCode kKeyEnter = 13;
inline constexpr KeyCode kKeyEscape = 27;
inline constexpr KeyCode kKeyNone = 0;

inline constexpr std::int32_t kDecimalFieldLimit = 10;
inline constexpr std::int32_t kHexFieldLimit = 8;

// What to do with one typed character. At most one of beep, focusTarget and close is set, and whenever one
// is, keyCode is 0. A keyCode of 0 with none of them set is a "0" swallowed by the single-zero rule.
struct KeyFilterResult {
  KeyCode keyCode = kKeyNone;  // the character the field receives; 0: nothing
  bool beep = false;
  std::optional<FieldIndex> focusTarget;
  bool close = false;

  friend bool operator==(const KeyFilterResult&, const KeyFilterResult&) = default;
};

// Decides the fate of `keyCode` typed into field `field` whose text is `fieldText` with `selectionLength`
// characters selected (the typed character replaces them). Backspace always passes; Enter moves the focus
// between the decimal and hexadecimal fields; Esc closes. The decimal field takes digits up to 10 characters,
// the hexadecimal field digits and A-F (a-f come out upper-case) up to 8, and a field holding exactly "0"
// silently takes no second "0". Everything else is refused with one beep. A field index other than the
// decimal or hexadecimal field behaves as the output-only binary field. Pure: reads nothing else.
[[nodiscard]] KeyFilterResult FilterKey(FieldIndex field, KeyCode keyCode, TextView fieldText,
                                        std::int32_t selectionLength);

}  // namespace vostrel::core
