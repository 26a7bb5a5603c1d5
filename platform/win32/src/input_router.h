// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// Windows' input turned into the handlers' calls. The only place that decides what reaches the key rule: each
// typed key once, one beep at most.
#pragma once

#include <windows.h>

#include <optional>

#include "vostrel/core/typed_keys.h"
#include "vostrel/platform/runtime.h"

namespace vostrel::platform::win32 {

class Lifetime;
struct WindowControls;

class InputRouter {
 public:
  InputRouter(WindowEvents& events, const Lifetime& lifetime, const WindowControls& controls)
      : events_(events), lifetime_(lifetime), controls_(controls) {}

  // True while the program itself writes a field's text, which is then told from another program's.
  bool writingField = false;
  // Where on the screen the last left press on the window or a caption was.
  POINT pressedAt{};

  // A message to field `index`, before the field's own procedure: the answer where it is decided here.
  [[nodiscard]] std::optional<LRESULT> FieldMessage(core::FieldIndex index, UINT message, WPARAM wParam,
                                                    LPARAM lParam);

  // A message to the window: the answer where it is decided here.
  [[nodiscard]] std::optional<LRESULT> WindowMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // After the field has taken the focus, or become the focused field of a window that is not active.
  void FieldFocused(core::FieldIndex index);
  // Gives the field the focus; raises txt_GotFocus when the focus moves.
  void FocusField(core::FieldIndex index);
  // The field that last took the focus, also while another application is active.
  [[nodiscard]] std::optional<core::FieldIndex> FocusedField() const { return focused_; }
  // The window has become active: the focus goes back to its field, at first the first of the tab order.
  void WindowActivated();

 private:
  // A button pressed or released on the window's own surface or a caption; `point` in its client pixels.
  void MouseButton(std::int16_t button, bool pressed, WPARAM keys, POINT point);
  // One typed UTF-16 unit for field `index`, through the key-press handler; the field receives what it left.
  LRESULT Typed(core::FieldIndex index, wchar_t unit, LPARAM lParam);
  // Text that reaches a field other than by typing converts like typing: from the field with the focus.
  void FocusBeforeEdit(core::FieldIndex index);
  [[nodiscard]] LRESULT PassOn(core::FieldIndex index, UINT message, WPARAM wParam, LPARAM lParam) const;

  WindowEvents& events_;
  const Lifetime& lifetime_;
  const WindowControls& controls_;
  std::optional<core::FieldIndex> focused_;
  core::TypedKeys typed_;
  // The caption the last press on the window was on; none for the window's own surface.
  std::optional<core::FieldIndex> pressedCaption_;
  // The buttons pressed on the window whose releases are to come, by their codes' bits.
  std::uint8_t pressed_ = 0;
};

}  // namespace vostrel::platform::win32
