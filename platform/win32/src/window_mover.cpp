// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "window_mover.h"

namespace vostrel::platform::win32 {
namespace {

// How long a press waits for a release that comes with it.
constexpr DWORD kTapMilliseconds = 40;

// Whether the left button's release has come, or comes within a tap's time.
bool ReleasedAtOnce() {
  // The asynchronous state names the physical button: the left button is the right one when they are swapped.
  const int physical = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
  const DWORD until = GetTickCount() + kTapMilliseconds;
  for (;;) {
    MSG release;
    if (PeekMessageW(&release, nullptr, WM_LBUTTONUP, WM_LBUTTONUP, PM_NOREMOVE)) return true;
    if (GetAsyncKeyState(physical) >= 0) return true;
    const DWORD now = GetTickCount();
    if (static_cast<LONG>(until - now) <= 0) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, until - now, QS_MOUSEBUTTON);
  }
}

}  // namespace

void StartSystemMove(HWND window) {
  if (ReleasedAtOnce()) return;
  ReleaseCapture();
  SendMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

}  // namespace vostrel::platform::win32
