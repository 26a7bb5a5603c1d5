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
  // Until the pointer leaves the drag distance the press may still be a click: its release ends it here.
  POINT pressed{};
  GetCursorPos(&pressed);
  if (!DragDetect(window, pressed)) return;
  // The window catches up with the pointer, so that the point pressed stays under it as the move goes on.
  POINT now{};
  GetCursorPos(&now);
  RECT frame{};
  GetWindowRect(window, &frame);
  SetWindowPos(window, nullptr, frame.left + now.x - pressed.x, frame.top + now.y - pressed.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ReleaseCapture();
  SendMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

}  // namespace vostrel::platform::win32
