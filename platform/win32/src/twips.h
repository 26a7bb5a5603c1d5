// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The one conversion between twips and pixels: 1440 twips to the logical inch, rounded to the nearest pixel,
// halves away from zero (7575 twips are 505 pixels at 96 dpi, 758 at 144).
#pragma once

#include <windows.h>

#include <cmath>

#include "vostrel/platform/window_description.h"

namespace vostrel::platform::win32 {

inline constexpr int kTwipsPerInch = 1440;

[[nodiscard]] inline int ToPixels(double twips, UINT dpi) {
  return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

[[nodiscard]] inline RECT ToPixels(const TwipsRect& twips, UINT dpi) {
  const int left = ToPixels(twips.left, dpi);
  const int top = ToPixels(twips.top, dpi);
  return {left, top, left + ToPixels(twips.width, dpi), top + ToPixels(twips.height, dpi)};
}

[[nodiscard]] inline float ToTwips(double pixels, UINT dpi) {
  return static_cast<float>(pixels * kTwipsPerInch / dpi);
}

}  // namespace vostrel::platform::win32
