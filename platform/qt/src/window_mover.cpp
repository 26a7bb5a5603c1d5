// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "window_mover.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace vostrel::platform::qt {

void WindowMover::Start(QWidget& window) {
  QWindow* handle = window.windowHandle();
  if (handle != nullptr && handle->startSystemMove()) return;
  // No window manager move here (none runs, or the platform has none): follow the pointer ourselves.
  following_ = &window;
  offset_ = pressedAt_ - window.pos();
}

void WindowMover::PointerMoved(const QMouseEvent& event) {
  if (following_ == nullptr) return;
  if (!(event.buttons() & Qt::LeftButton)) {
    Stop();
    return;
  }
  following_->move(event.globalPosition().toPoint() - offset_);
}

}  // namespace vostrel::platform::qt
