// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// Windows' input turned into the window's handler calls: typed characters, edits from elsewhere, mouse
// buttons, focus and the Tab key. The only place that decides what reaches the key rule: every typed key is
// filtered once and beeps at most once.
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
  // `writingField` is true while the program itself writes a field.
  InputRouter(WindowEvents& events, const Lifetime& lifetime, const WindowControls& controls,
              const bool& writingField)
      : events_(events), lifetime_(lifetime), controls_(controls), writingField_(writingField) {}

  // A message to field `index`, before the field's own procedure sees it: the answer when it is decided here,
  // none when the field's own procedure is to take it as it came.
  [[nodiscard]] std::optional<LRESULT> FieldMessage(core::FieldIndex index, UINT message, WPARAM wParam,
                                                    LPARAM lParam);

  // A message to the window itself: the answer when it is decided here (mouse buttons, activation, focus),
  // none when the system's own handling is to take it.
  [[nodiscard]] std::optional<LRESULT> WindowMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // After the field has taken the focus.
  void FieldFocused(core::FieldIndex index);
  // Gives the field the focus; raises txt_GotFocus when the focus moves.
  void FocusField(core::FieldIndex index);
  // The field that last took the focus: it keeps it while another application is active.
  [[nodiscard]] std::optional<core::FieldIndex> FocusedField() const { return focused_; }
  // The window has become active: the focus goes back to the field that had it, or at first to the first
  // field of the tab order.
  void WindowActivated();

  // A button pressed or released on the window's own surface or on a caption (which lets the mouse through to
  // the window); `point` in the window's client pixels.
  void MouseButton(UINT message, WPARAM keys, POINT point);

 private:
  // One typed UTF-16 unit (WM_CHAR, WM_IME_CHAR, a part of WM_UNICHAR) for field `index`, through the
  // key-press handler; the field receives what the handler left.
  LRESULT Typed(core::FieldIndex index, wchar_t unit, LPARAM lParam);
  // Tab and Shift+Tab go round the fields; true when the key was one of them.
  bool TabKey(core::FieldIndex from, WPARAM virtualKey);
  // Text that reaches a field other than by typing (pasting, cutting, undoing, another program's text)
  // converts like typing: from the field that has the focus.
  void FocusBeforeEdit(core::FieldIndex index);
  // The right button released, pressed on the field.
  [[nodiscard]] std::optional<LRESULT> FieldButtonReleased(core::FieldIndex index, WPARAM keys,
                                                           LPARAM lParam);
  [[nodiscard]] LRESULT PassOn(core::FieldIndex index, UINT message, WPARAM wParam, LPARAM lParam) const;
  [[nodiscard]] std::optional<core::FieldIndex> CaptionAt(POINT point) const;

  WindowEvents& events_;
  const Lifetime& lifetime_;
  const WindowControls& controls_;
  const bool& writingField_;
  std::optional<core::FieldIndex> focused_;
  core::TypedKeys typed_;
  // The caption the last press on the window was on, or none for the window's own surface.
  std::optional<core::FieldIndex> pressedCaption_;
  // The Tab character that follows a Tab key already handled.
  bool tabCharacterDue_ = false;
};

}  // namespace vostrel::platform::win32
