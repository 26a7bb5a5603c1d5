// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "primary_density.h"

#include <shellscalingapi.h>

namespace vostrel::platform::win32 {

UINT PrimaryDpi() {
  UINT x = 0;
  UINT y = 0;
  const HMONITOR primary = MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
  if (SUCCEEDED(GetDpiForMonitor(primary, MDT_EFFECTIVE_DPI, &x, &y)) && x > 0) return x;
  return GetDpiForSystem();
}

}  // namespace vostrel::platform::win32
