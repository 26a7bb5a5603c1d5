// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// Moving the window with the pointer: the window manager's own move where it offers one, else the window
// follows the pointer itself until the left button comes up.
#pragma once

#include <QPointF>

class QMouseEvent;
class QWidget;

namespace vostrel::platform::qt {

class WindowMover {
 public:
  // Where the left button went down in the window (its scene position, which Qt keeps unrounded at any
  // scale): the window keeps that point under the pointer. A new press means any earlier move is over.
  void Pressed(QPointF grabbed) {
    grabbed_ = grabbed;
    systemMoved_ = nullptr;
    awaitingDrag_ = nullptr;
  }
  // Returns at once. The move begins once the press has become a drag: the pointer past the desktop's drag
  // distance with the left button still down. A click whose pointer slips a pixel, or a tap (press and
  // release at once, as touchpads send them), asks for nothing: a move asked for as the button comes up races
  // the release, and some window managers (xfwm4, kwin_x11) then keep moving the window with the button up.
  void Start(QWidget& window);
  // A pointer move over the window or a caption, while the window may be following the pointer.
  void PointerMoved(const QMouseEvent& event);
  // The left button came up over the window or a caption. A window manager that takes a move grabs the
  // pointer: a release that still reaches the window came before it did, and the move asked for is called
  // off.
  void Released();

 private:
  // Whether the pointer at `inWindow` has left the drag distance.
  [[nodiscard]] bool Dragged(QPointF inWindow) const;
  // The move of the window awaiting a drag: asked of an X11 window manager, or Qt's own (a touch, another
  // platform).
  void Begin(bool touch);
  // Qt's own move, or the window following the pointer where there is none.
  void Move(QWidget& window);
  void Follow(QWidget& window);

  QWidget* following_ = nullptr;     // the window that follows the pointer, or none
  QWidget* systemMoved_ = nullptr;   // the window whose move the window manager was asked for, or none
  QWidget* awaitingDrag_ = nullptr;  // the window to move once the press has become a drag
  QPointF grabbed_;
};

}  // namespace vostrel::platform::qt
