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

void StartSystemMove(HWND window, POINT press) {
  if (ReleasedAtOnce()) return;
  // The move may follow the pointer from the last message's position, past the press when a caption's press
  // handled what waited: the window is first shifted by the pointer's travel since the press.
  const DWORD last = GetMessagePos();
  const POINTS from = MAKEPOINTS(last);
  RECT rect{};
  if ((from.x != press.x || from.y != press.y) && !IsZoomed(window) && GetWindowRect(window, &rect))
    SetWindowPos(window, nullptr, rect.left + from.x - press.x, rect.top + from.y - press.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ReleaseCapture();
  SendMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(from.x, from.y));
}

}  // namespace vostrel::platform::win32
