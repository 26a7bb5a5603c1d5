// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The window description's English texts (context "frmMain") in the user's language, from the catalogue the
// Qt runtime reads too: Simplified Chinese where the user's language is Chinese, else the English itself.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace vostrel::platform::win32 {

// `english` in `language`; the English where the catalogue has no translation for it.
[[nodiscard]] std::wstring Translated(LANGID language, std::string_view english);

// `english` in the user's interface language.
[[nodiscard]] std::wstring Translated(std::string_view english);

}  // namespace vostrel::platform::win32
