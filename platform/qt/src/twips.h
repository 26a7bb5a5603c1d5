// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The one conversion between twips and Qt's device-independent pixels. 15 twips make a pixel (1440 to the
// inch at 96 dots per inch); Qt's high-dpi scaling does the rest. Twips become whole pixels by rounding to
// the nearest pixel, halves away from zero, so 22 twips (1.47 px) is 1 pixel, 23 (1.53 px) is 2 and -23 is
// -2.
#pragma once

#include <QRect>
#include <cmath>

#include "vostrel/platform/window_description.h"

namespace vostrel::platform::qt {

[[nodiscard]] inline int ToPixels(double twips) {
  return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

[[nodiscard]] inline QRect ToPixels(const TwipsRect& twips) {
  return {ToPixels(twips.left), ToPixels(twips.top), ToPixels(twips.width), ToPixels(twips.height)};
}

[[nodiscard]] inline float ToTwips(double pixels) {
  return static_cast<float>(pixels * kTwipsPerPixel);
}

}  // namespace vostrel::platform::qt
