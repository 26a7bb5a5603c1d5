// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The icon as a Windows .ico file: both sizes as 16-colour bitmaps with their transparency masks.
#pragma once

#include <cstdint>
#include <vector>

namespace vostrel::resources {

[[nodiscard]] std::vector<std::uint8_t> IcoFile();

}  // namespace vostrel::resources
