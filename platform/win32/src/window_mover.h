// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// Moving the window with the pointer: the system's own move, as for a press on a title bar.
#pragma once

#include <windows.h>

namespace vostrel::platform::win32 {

// Runs the system's move loop until the left button is up, the pixel pressed at `press` (on the screen)
// kept under the pointer. A press whose release comes with it (a touchpad's tap), seen within 40 ms, moves
// nothing: a move begun with the button up would follow the pointer until the next click.
void StartSystemMove(HWND window, POINT press);

}  // namespace vostrel::platform::win32
