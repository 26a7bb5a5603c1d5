// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The conversions that write into buffers, returning texts of their own instead: easier to compare in tests.
#pragma once

#include <optional>

#include "vostrel/core/number_rendering.h"

namespace vostrel::testing {

[[nodiscard]] inline std::optional<core::Text> FormatHexText(core::TextView decimalText) {
  core::HexDigitsBuffer buffer;
  const auto hex = core::FormatHexText(decimalText, buffer);
  return hex ? std::optional<core::Text>(*hex) : std::nullopt;
}

[[nodiscard]] inline core::Text PadHexDigits(core::TextView text) {
  core::HexDigitsBuffer buffer;
  return core::Text(core::PadHexDigits(text, buffer));
}

[[nodiscard]] inline core::Text RenderBinary(core::Value value) {
  core::BinaryTextBuffer buffer;
  return core::Text(core::RenderBinary(value, buffer));
}

}  // namespace vostrel::testing
