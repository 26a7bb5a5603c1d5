// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The icon as a Windows .ico file: the two drawn sizes and 48 and 64 pixels as 16-colour bitmaps with their
// transparency masks, and 256 pixels as a PNG.
#pragma once

#include <cstdint>
#include <vector>

namespace vostrel::resources {

[[nodiscard]] std::vector<std::uint8_t> IcoFile();

}  // namespace vostrel::resources
