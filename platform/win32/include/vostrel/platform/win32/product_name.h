// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The product's name on Windows, in one place.
#pragma once

#include <string_view>

namespace vostrel::platform::win32 {

// Names the settings (HKEY_CURRENT_USER\Software\Vostrel) and the window class. The installer relies on the
// class: it finds a running strip by it (FindWindow in resources/windows/vostrel.nsi) and closes it before it
// upgrades, so the two must change together.
inline constexpr std::wstring_view kProductName = L"Vostrel";

}  // namespace vostrel::platform::win32
