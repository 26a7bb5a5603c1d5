// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// Moving the window with the pointer: the system's own move, as for a press on a title bar.
#pragma once

#include <windows.h>

namespace vostrel::platform::win32 {

// Lets go of the mouse and runs the system's move loop, which returns once the left button is released. It
// first waits up to 40 ms for the press's release: a press whose release comes with it (a tap on a touchpad
// sends both at once) moves nothing, for a move started with the button already up would have the window
// follow the pointer until the next click.
void StartSystemMove(HWND window);

}  // namespace vostrel::platform::win32
