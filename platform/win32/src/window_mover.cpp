// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "window_mover.h"

namespace vostrel::platform::win32 {
namespace {

// Whether the left button's release has come, or comes within a tap's time.
bool ReleasedAtOnce() {
  // The asynchronous state names the physical button: the left button is the right one when they are swapped.
  const int physical = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
  const DWORD until = GetTickCount() + 40;  // a tap's time
  for (MSG release; !PeekMessageW(&release, nullptr, WM_LBUTTONUP, WM_LBUTTONUP, PM_NOREMOVE);) {
    const auto left = static_cast<LONG>(until - GetTickCount());
    if (GetAsyncKeyState(physical) >= 0) return true;
    if (left <= 0) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_MOUSEBUTTON);
  }
  return true;
}

}  // namespace

void StartSystemMove(HWND window) {
  if (ReleasedAtOnce()) return;
  ReleaseCapture();
  SendMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

}  // namespace vostrel::platform::win32
