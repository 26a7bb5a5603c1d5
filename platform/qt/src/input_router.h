// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// Qt's input turned into the window's handler calls: keys, input-method commits, mouse buttons and moves, and
// focus. The only place that decides what reaches the key rule: every typed key is filtered once and beeps at
// most once.
#pragma once

#include <optional>

#include "vostrel/platform/runtime.h"

class QInputMethodEvent;
class QString;
class QKeyEvent;
class QLineEdit;
class QMouseEvent;

namespace vostrel::platform::qt {

class Lifetime;
class WindowMover;

class InputRouter {
 public:
  InputRouter(WindowEvents& events, const Lifetime& lifetime, WindowMover& mover)
      : events_(events), lifetime_(lifetime), mover_(mover) {}

  // True when the key was handled here and the field must not see it.
  bool KeyPressed(QLineEdit& field, core::FieldIndex index, QKeyEvent& event);
  // True when the event was handled here; composing text without a commit goes to the field.
  bool InputMethodCommitted(QLineEdit& field, core::FieldIndex index, QInputMethodEvent& event);
  // After the field has taken the focus.
  void FieldFocused(core::FieldIndex index);
  // A press (or double click) on a caption, or on the window's own surface; a release there.
  void MousePressed(std::optional<core::FieldIndex> caption, const QMouseEvent& event);
  void MouseReleased(std::optional<core::FieldIndex> caption, const QMouseEvent& event);
  void MouseMoved(const QMouseEvent& event);

 private:
  // Every character of `text`, in turn, through the key-press handler, and what it leaves into the field.
  void TypeKeys(QLineEdit& field, core::FieldIndex index, const QString& text);

  WindowEvents& events_;
  const Lifetime& lifetime_;
  WindowMover& mover_;
  std::optional<core::FieldIndex> focusedField_;
};

}  // namespace vostrel::platform::qt
