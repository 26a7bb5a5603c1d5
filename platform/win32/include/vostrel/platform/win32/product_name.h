// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The product's name on Windows, in one place.
#pragma once

#include <string_view>

namespace vostrel::platform::win32 {

// Names the settings and the window class, by which the installer finds a running strip to close before it
// upgrades (resources/windows/vostrel.nsi): the two change together.
inline constexpr std::wstring_view kProductName = L"Vostrel";

}  // namespace vostrel::platform::win32
