// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "input_router.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <bit>

#include "lifetime.h"
#include "twips.h"
#include "vostrel/core/key_filter.h"
#include "vostrel/core/typed_keys.h"
#include "vostrel/platform/qt/text.h"
#include "window_mover.h"

namespace vostrel::platform::qt {
namespace {

std::int16_t ButtonCode(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return kLeftButton;
    case Qt::RightButton:
      return kRightButton;
    case Qt::MiddleButton:
      return kMiddleButton;
    default:
      return 0;
  }
}

std::int16_t ShiftCode(Qt::KeyboardModifiers modifiers) {
  std::int16_t shift = 0;
  if (modifiers & Qt::ShiftModifier) shift |= kShiftMask;
  if (modifiers & Qt::ControlModifier) shift |= kCtrlMask;
  if (modifiers & Qt::AltModifier) shift |= kAltMask;
  return shift;
}

// What the key-press handler left goes into the field: one character, a backspace, or nothing.
void TypeInto(QLineEdit& field, core::KeyCode keyCode) {
  if (keyCode == core::kKeyNone || field.isReadOnly()) return;
  if (keyCode == core::kKeyBackspace) {
    field.backspace();
  } else {
    field.insert(QString(QChar(std::bit_cast<char16_t>(keyCode))));
  }
}

}  // namespace

bool InputRouter::KeyPressed(QLineEdit& field, core::FieldIndex index, QKeyEvent& event) {
  // Focus keys and keys that type no character keep the field's standard behaviour.
  const int key = event.key();
  if (key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Delete) return false;
  const QString text = event.text();
  if (text.isEmpty()) return false;
  if (key == Qt::Key_Backspace && text == QChar(core::kKeyBackspace)) {
    core::KeyCode keyCode = core::kKeyBackspace;
    events_.txt_KeyPress(index, keyCode);
    if (lifetime_.IsClosed()) return true;
    // A real Backspace key goes to the field as it came, so that its own editing (Ctrl+Backspace) stays.
    if (keyCode == core::kKeyBackspace) return false;
    TypeInto(field, keyCode);
    return true;
  }
  TypeKeys(field, index, text);
  return true;
}

bool InputRouter::InputMethodCommitted(QLineEdit& field, core::FieldIndex index, QInputMethodEvent& event) {
  if (event.commitString().isEmpty()) return false;  // composing only: nothing typed yet
  const QString committed = event.commitString();
  // The field gets the composition as it stands and, instead of the committed text, what the handler left of
  // each of its characters.
  event.setCommitString(QString());
  field.event(&event);
  TypeKeys(field, index, committed);
  return true;
}

void InputRouter::TypeKeys(QLineEdit& field, core::FieldIndex index, const QString& text) {
  for (core::KeyCode keyCode : core::KeysOf(ToText(text))) {
    events_.txt_KeyPress(index, keyCode);
    if (lifetime_.IsClosed()) return;  // Esc: the field is gone
    TypeInto(field, keyCode);
  }
}

void InputRouter::FieldFocused(core::FieldIndex index) {
  // The window coming back to the front gives the same field the focus again: that is no focus change.
  if (lifetime_.IsClosed() || focusedField_ == index) return;
  focusedField_ = index;
  events_.txt_GotFocus(index);
}

void InputRouter::MousePressed(std::optional<core::FieldIndex> caption, const QMouseEvent& event) {
  std::int16_t button = ButtonCode(event.button());
  std::int16_t shift = ShiftCode(event.modifiers());
  if (button == kLeftButton) mover_.Pressed(event.scenePosition());
  if (button == 0 || lifetime_.IsClosed()) return;
  const float x = ToTwips(event.position().x());
  const float y = ToTwips(event.position().y());
  if (caption) {
    events_.lbl_MouseDown(*caption, button, shift, x, y);
  } else {
    events_.Form_MouseDown(button, shift, x, y);
  }
}

void InputRouter::MouseReleased(std::optional<core::FieldIndex> caption, const QMouseEvent& event) {
  std::int16_t button = ButtonCode(event.button());
  std::int16_t shift = ShiftCode(event.modifiers());
  if (button == kLeftButton) mover_.Released();
  if (button == 0 || lifetime_.IsClosed()) return;
  const float x = ToTwips(event.position().x());
  const float y = ToTwips(event.position().y());
  if (caption) {
    events_.lbl_MouseUp(*caption, button, shift, x, y);
  } else {
    events_.Form_MouseUp(button, shift, x, y);
  }
}

void InputRouter::MouseMoved(const QMouseEvent& event) {
  if (!lifetime_.IsClosed()) mover_.PointerMoved(event);
}

}  // namespace vostrel::platform::qt
