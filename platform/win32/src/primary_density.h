// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// Positions, the window's size and the primary monitor's size all in one measure: twips at the primary
// monitor's own density. Screen coordinates start at its top-left corner. Mixing in the density the session
// signed in with, which the primary's scale may have left since (a docked laptop, a scale changed without
// signing out), puts "centred" off centre and a strip closed at an edge short of it or past it.
#pragma once

#include <windows.h>

#include "twips.h"
#include "vostrel/platform/runtime.h"

namespace vostrel::platform::win32 {

// The primary monitor's own density, or the system's where it cannot be told.
[[nodiscard]] UINT PrimaryDpi();

[[nodiscard]] inline WindowGeometry GeometryInTwips(const RECT& window, UINT primaryDpi) {
  return {ToTwips(window.left, primaryDpi), ToTwips(window.top, primaryDpi),
          ToTwips(window.right - window.left, primaryDpi), ToTwips(window.bottom - window.top, primaryDpi)};
}

[[nodiscard]] inline ScreenSize ScreenInTwips(const RECT& monitor, UINT primaryDpi) {
  return {ToTwips(monitor.right - monitor.left, primaryDpi),
          ToTwips(monitor.bottom - monitor.top, primaryDpi)};
}

[[nodiscard]] inline POINT PositionInPixels(float left, float top, UINT primaryDpi) {
  return {ToPixels(left, primaryDpi), ToPixels(top, primaryDpi)};
}

}  // namespace vostrel::platform::win32
