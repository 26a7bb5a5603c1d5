// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The core's 16-bit characters and Windows' wide characters are the same UTF-16 units.
#pragma once

#include <string>

#include "vostrel/core/vocabulary.h"

namespace vostrel::platform::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");

[[nodiscard]] inline std::wstring ToWide(core::TextView text) {
  return {text.begin(), text.end()};
}

[[nodiscard]] inline core::Text ToText(std::wstring_view text) {
  return {text.begin(), text.end()};
}

}  // namespace vostrel::platform::win32
