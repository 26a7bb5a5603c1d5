// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "vostrel/core/key_filter.h"

#include <algorithm>

namespace vostrel::core {
namespace {

constexpr bool InRange(KeyCode code, char16_t first, char16_t last) {
  return code >= first && code <= last;
}

KeyFilterResult Refuse() {
  return {.keyCode = kKeyNone, .beep = true};
}

}  // namespace

KeyFilterResult FilterKey(FieldIndex field, KeyCode keyCode, TextView fieldText,
                          std::int32_t selectionLength) {
  const bool editable = field == kDecimalField || field == kHexField;

  switch (keyCode) {
    case kKeyBackspace:
      return {.keyCode = keyCode};
    case kKeyEnter:
      return {.focusTarget = field == kDecimalField ? kHexField : kDecimalField};
    case kKeyEscape:
      return {.close = true};
    default:
      break;
  }

  KeyCode accepted = kKeyNone;
  if (editable && InRange(keyCode, u'0', u'9')) {
    accepted = keyCode;
  } else if (field == kHexField && InRange(keyCode, u'A', u'F')) {
    accepted = keyCode;
  } else if (field == kHexField && InRange(keyCode, u'a', u'f')) {
    accepted = static_cast<KeyCode>(keyCode - (u'a' - u'A'));
  } else {
    return Refuse();
  }

  // The typed character replaces the selection; what stays beside it must leave room for it.
  const auto length = static_cast<std::int32_t>(std::min<std::size_t>(fieldText.size(), INT32_MAX));
  const std::int32_t kept = length - std::clamp(selectionLength, 0, length);
  const std::int32_t limit = field == kDecimalField ? kDecimalFieldLimit : kHexFieldLimit;
  if (kept >= limit) return Refuse();

  if (fieldText == u"0" && accepted == u'0') return {};
  return {.keyCode = accepted};
}

}  // namespace vostrel::core
