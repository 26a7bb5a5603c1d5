// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "window_mover.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QStyleHints>
#include <QWidget>
#include <QWindow>
#include <utility>

#include "x11_move_request.h"

namespace vostrel::platform::qt {

void WindowMover::Start(QWidget& window) {
  // Its release already handled (the caption's press pumps the events queued behind it): nothing to move.
  if (!(QGuiApplication::mouseButtons() & Qt::LeftButton)) return;
  awaitingDrag_ = &window;
  // A drag the pump took already: the move begins now.
  if (OnX11() && Dragged(window.mapFromGlobal(QCursor::pos()))) Begin(false);
}

bool WindowMover::Dragged(QPointF inWindow) const {
  // The window has not moved yet: the pointer's path in it is its path on the screen.
  return (inWindow - grabbed_).manhattanLength() >= QGuiApplication::styleHints()->startDragDistance();
}

void WindowMover::Begin(bool touch) {
  QWidget& window = *std::exchange(awaitingDrag_, nullptr);
  // A touch is no button the X server holds down: Qt's own move hands the touch to the window manager, as it
  // asks for every move where the window system is not X11.
  if (!OnX11() || touch) {
    Move(window);
    return;
  }
  switch (RequestX11Move(window, grabbed_)) {
    case X11MoveRequest::kAsked:
      systemMoved_ = &window;
      break;
    case X11MoveRequest::kButtonIsUp:
      break;
    case X11MoveRequest::kNobodyToAsk:
      Follow(window);
      break;
  }
}

void WindowMover::Move(QWidget& window) {
  QWindow* handle = window.windowHandle();
  if (handle != nullptr && handle->startSystemMove()) {
    systemMoved_ = &window;
    return;
  }
  Follow(window);
}

void WindowMover::Follow(QWidget& window) {
  // No window manager move here (none runs, or the platform has none): follow the pointer ourselves.
  following_ = &window;
}

void WindowMover::PointerMoved(const QMouseEvent& event) {
  if (awaitingDrag_ != nullptr && (event.buttons() & Qt::LeftButton) && Dragged(event.scenePosition()))
    Begin(event.source() != Qt::MouseEventNotSynthesized);
  if (following_ == nullptr) return;
  if (!(event.buttons() & Qt::LeftButton)) {
    following_ = nullptr;
    return;
  }
  following_->move((event.globalPosition() - grabbed_).toPoint());
}

void WindowMover::Released() {
  following_ = nullptr;
  awaitingDrag_ = nullptr;
  if (systemMoved_ != nullptr) {
    QWidget& window = *std::exchange(systemMoved_, nullptr);
    if (OnX11()) CancelX11Move(window);
  }
}

}  // namespace vostrel::platform::qt
