// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// Moving the window with the pointer: the window manager's own move where it offers one, else the window
// follows the pointer itself until the left button comes up.
#pragma once

#include <QPoint>

class QMouseEvent;
class QWidget;

namespace vostrel::platform::qt {

class WindowMover {
 public:
  // Where the left button went down, on the screen: the window keeps that point under the pointer, even when
  // the pointer has moved on before the move starts. A new press means any earlier move is over.
  void Pressed(QPoint global) {
    pressedAt_ = global;
    systemMoved_ = nullptr;
    awaitingDrag_ = nullptr;
  }
  // Returns at once; the move goes on while the left button is held. On X11 the window manager is asked only
  // once the pointer moves with the button down: a tap (press and release at once, as touchpads send them)
  // then asks for nothing, which some window managers (xfwm4) would take as a move that no release ends.
  void Start(QWidget& window);
  // A pointer move over the window or a caption, while the window may be following the pointer.
  void PointerMoved(const QMouseEvent& event);
  // The left button came up over the window or a caption. A window manager that takes a move grabs the
  // pointer: a release that still reaches the window came before it did, and the move asked for is called
  // off.
  void Released();

 private:
  // The window manager's move, or the window following the pointer where there is none.
  void Move(QWidget& window);
  void Follow(QWidget& window);

  QWidget* following_ = nullptr;     // the window that follows the pointer, or none
  QWidget* systemMoved_ = nullptr;   // the window whose move the window manager was asked for, or none
  QWidget* awaitingDrag_ = nullptr;  // the window to move once the pointer moves with the left button down
  QPoint pressedAt_;
  QPoint offset_;
};

}  // namespace vostrel::platform::qt
