// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The words every layer shares: the one value, the texts of the fields, typed key codes and field indexes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vostrel::core {

// The one number the window shows. There is no wider arithmetic anywhere.
using Value = std::int32_t;

// Texts are counted strings of 16-bit characters, as the window's fields hold them.
using Text = std::u16string;
using TextView = std::u16string_view;

// The code of one typed character as the key-press event delivers it (its UTF-16 unit).
using KeyCode = std::int16_t;

// Index of a field in the window's field array; the caption array uses the same index.
using FieldIndex = std::int16_t;

inline constexpr FieldIndex kDecimalField = 0;
inline constexpr FieldIndex kHexField = 1;
inline constexpr FieldIndex kBinaryField = 2;
inline constexpr int kFieldCount = 3;

}  // namespace vostrel::core
