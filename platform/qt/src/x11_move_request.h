// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// Asking an X11 window manager to move the window with the pointer (_NET_WM_MOVERESIZE), and calling such a
// move off. Where the window system is not X11 there is nobody to ask here.
#pragma once

#include <QPoint>

class QWidget;

namespace vostrel::platform::qt {

enum class X11MoveRequest {
  kAsked,        // the window manager now moves the window until the left button comes up
  kButtonIsUp,   // the server has seen the left button come up already: the press was a tap, nothing to move
  kNobodyToAsk,  // not X11, or no window manager that moves windows: the window must follow the pointer
                 // itself
};

// Whether the program runs on X11, where the move is asked for only once the pointer has moved.
[[nodiscard]] bool OnX11();

// Asks the window manager to move `window`, anchored where the left button went down (`pressedAt`, on the
// screen, in Qt's coordinates), so that the point pressed stays under the pointer. Asked only while the X
// server still holds the left button down: a window manager that starts a move after the release waits for a
// release that never comes. A release in the few milliseconds between the question and the window manager
// taking the pointer still leaves such a move, and xfwm4 ignores a request to call it off.
[[nodiscard]] X11MoveRequest RequestX11Move(QWidget& window, QPoint pressedAt);

// Calls off a move asked for (_NET_WM_MOVERESIZE_CANCEL).
void CancelX11Move(QWidget& window);

}  // namespace vostrel::platform::qt
