#pragma once

#include <cstdint>

namespace vostrel::core {

// Index of a field in the window's field array; the caption array uses the same index.
using FieldIndex = std::int16_t;

inline constexpr FieldIndex kDecimalField = 0;
inline constexpr FieldIndex kHexField = 1;
inline constexpr FieldIndex kBinaryField = 2;
inline constexpr int kFieldCount = 3;

}  // namespace vostrel::core
