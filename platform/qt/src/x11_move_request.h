// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// Asking an X11 window manager to move the window with the pointer (_NET_WM_MOVERESIZE), and calling such a
// move off. Where the window system is not X11 there is nobody to ask here.
#pragma once

#include <QPointF>

class QWidget;

namespace vostrel::platform::qt {

enum class X11MoveRequest {
  kAsked,        // the window manager now moves the window until the left button comes up
  kButtonIsUp,   // the server has seen the left button come up (or the pointer leave the screen): nothing to
                 // move
  kNobodyToAsk,  // no window manager that moves windows runs: the window must follow the pointer itself
};

// Whether the program runs on X11.
[[nodiscard]] bool OnX11();

// Asks the window manager to move `window`, anchored where the left button went down (`grabbed`, in the
// window, in Qt's coordinates), so that the point pressed stays under the pointer. Asked only while the X
// server still holds the left button down, and only of a window manager running now. (Qt's own
// QWindow::startSystemMove() anchors the move where Qt last saw the pointer, and asks a window manager that
// has exited as long as its _NET_SUPPORTED is left on the root.)
[[nodiscard]] X11MoveRequest RequestX11Move(QWidget& window, QPointF grabbed);

// Calls off a move asked for (_NET_WM_MOVERESIZE_CANCEL); xfwm4 ignores it once its move has begun.
void CancelX11Move(QWidget& window);

}  // namespace vostrel::platform::qt
