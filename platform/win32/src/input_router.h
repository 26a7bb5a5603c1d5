// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// Windows' input turned into the window's handler calls: typed characters, mouse buttons, focus and the Tab
// key. The only place that decides what reaches the key rule: every typed key is filtered once and beeps at
// most once.
#pragma once

#include <windows.h>

#include <optional>

#include "vostrel/platform/runtime.h"

namespace vostrel::platform::win32 {

class Lifetime;
struct WindowControls;

class InputRouter {
 public:
  InputRouter(WindowEvents& events, const Lifetime& lifetime, const WindowControls& controls)
      : events_(events), lifetime_(lifetime), controls_(controls) {}

  // One typed character unit (WM_CHAR, WM_IME_CHAR) for field `index`, through the key-press handler: the
  // character the field is to receive, or nothing.
  [[nodiscard]] std::optional<wchar_t> Typed(core::FieldIndex index, wchar_t unit);
  // Ctrl with a letter: the edit control's own shortcuts (Ctrl+A selects all) would act on the key itself,
  // while the control character it types goes through the key rule like any other.
  [[nodiscard]] static bool IsEditShortcut(WPARAM virtualKey);

  // After the field has taken the focus.
  void FieldFocused(core::FieldIndex index);
  // Gives the field the focus; raises txt_GotFocus when the focus moves.
  void FocusField(core::FieldIndex index);
  // The field that last took the focus: it keeps it while another application is active.
  [[nodiscard]] std::optional<core::FieldIndex> FocusedField() const { return focused_; }
  // Text that reaches a field other than by typing (pasting, cutting, undoing, another program's text)
  // converts like typing: from the field that has the focus.
  void FocusBeforeEdit(core::FieldIndex index);
  // The window has become active: the focus goes back to the field that had it, or at first to the first
  // field of the tab order.
  void WindowActivated();

  // Tab and Shift+Tab in a field go round the fields, before they would become characters; true when
  // `message` was one of them.
  bool TabKey(const MSG& message);

  // A button pressed or released on the window's own surface or on a caption (which lets the mouse through to
  // the window); `point` in the window's client pixels.
  void MouseButton(UINT message, WPARAM keys, POINT point);

 private:
  [[nodiscard]] std::optional<core::FieldIndex> CaptionAt(POINT point) const;

  WindowEvents& events_;
  const Lifetime& lifetime_;
  const WindowControls& controls_;
  std::optional<core::FieldIndex> focused_;
  // The second half of a character beyond 16 bits, whose first half was the typed key.
  bool lowSurrogateDue_ = false;
};

}  // namespace vostrel::platform::win32
