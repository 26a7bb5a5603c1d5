// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "window_mover.h"

namespace vostrel::platform::win32 {
namespace {

bool LeftButtonStillDown() {
  MSG release;
  if (PeekMessageW(&release, nullptr, WM_LBUTTONUP, WM_LBUTTONUP, PM_NOREMOVE)) return false;
  // The asynchronous state names the physical button: the left button is the right one when they are swapped.
  const int physical = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
  return GetAsyncKeyState(physical) < 0;
}

}  // namespace

void StartSystemMove(HWND window) {
  if (!LeftButtonStillDown()) return;
  ReleaseCapture();
  SendMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

}  // namespace vostrel::platform::win32
