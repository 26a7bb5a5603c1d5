// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The icon as a Windows .ico file: the two drawn sizes and 48 and 64 pixels as 16-colour bitmaps with their
// transparency masks, and 256 pixels as a PNG.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace vostrel::resources {

// The images' sizes in pixels, smallest first: the two drawn ones, then those Windows asks for at higher
// scales.
inline constexpr std::array<unsigned, 5> kIcoSizes{16, 32, 48, 64, 256};

[[nodiscard]] std::vector<std::uint8_t> IcoFile();

}  // namespace vostrel::resources
