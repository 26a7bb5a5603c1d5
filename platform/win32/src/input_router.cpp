// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "input_router.h"

#include <windowsx.h>

#include <algorithm>
#include <bit>
#include <utility>

#include "lifetime.h"
#include "text.h"
#include "twips.h"
#include "vostrel/core/key_filter.h"
#include "vostrel/core/number_rendering.h"
#include "window_builder.h"

namespace vostrel::platform::win32 {
namespace {

// The button a mouse message is about, and whether it went down; none for other messages.
std::optional<std::pair<std::int16_t, bool>> ButtonOf(UINT message) {
  if (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP) return {{kLeftButton, message == WM_LBUTTONDOWN}};
  if (message == WM_RBUTTONDOWN || message == WM_RBUTTONUP)
    return {{kRightButton, message == WM_RBUTTONDOWN}};
  if (message == WM_MBUTTONDOWN || message == WM_MBUTTONUP)
    return {{kMiddleButton, message == WM_MBUTTONDOWN}};
  return std::nullopt;
}

std::int16_t ShiftCode(WPARAM keys) {
  return static_cast<std::int16_t>(((keys & MK_SHIFT) != 0 ? kShiftMask : 0) |
                                   ((keys & MK_CONTROL) != 0 ? kCtrlMask : 0) |
                                   (GetKeyState(VK_MENU) < 0 ? kAltMask : 0));
}

// Whether another program's text for a field is one the field converts: a number of its kind, or nothing.
bool ConvertsInField(core::FieldIndex index, const wchar_t* text) {
  const core::Text value = ToText(text != nullptr ? text : L"");
  const auto parse = index == core::kDecimalField ? &core::ParseDecimalText : &core::ParseHexText;
  return value.empty() || parse(value).has_value();
}

}  // namespace

std::optional<LRESULT> InputRouter::FieldMessage(core::FieldIndex index, UINT message, WPARAM wParam,
                                                 LPARAM lParam) {
  const bool readOnly = controls_.readOnly.at(static_cast<std::size_t>(index));
  switch (message) {
    case WM_CHAR:
    case WM_IME_CHAR:  // an input method's characters, handed over one by one
      return Typed(index, static_cast<wchar_t>(wParam), lParam);
    case WM_UNICHAR:
      // Another program's character as a code point, typed as its UTF-16 units; none at all past Unicode, a
      // key that no field takes.
      if (wParam == UNICODE_NOCHAR) return TRUE;
      if (wParam > 0x10FFFF) wParam = 0xFFFD;
      if (wParam > 0xFFFF) Typed(index, static_cast<wchar_t>(0xD7C0 + (wParam >> 10)), 1);
      Typed(index, static_cast<wchar_t>(wParam > 0xFFFF ? 0xDC00 + (wParam & 0x3FF) : wParam), 1);
      return FALSE;
    case WM_KEYDOWN:
      // Ctrl with a letter types a control character, which goes through the key rule: the edit's own
      // shortcut (Ctrl+A) must not act too. Not Ctrl+Alt, which is AltGr.
      if (wParam >= 'A' && wParam <= 'Z' && GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0)
        return 0;
      return std::nullopt;
    case WM_GETDLGCODE:
      // Tab goes round the fields as in a dialog (the message loop's IsDialogMessage), but Enter and Esc are
      // the key rule's, not a dialog's OK and Cancel.
      if (const auto* key = reinterpret_cast<const MSG*>(lParam);
          key != nullptr && (key->wParam == VK_RETURN || key->wParam == VK_ESCAPE))
        return PassOn(index, message, wParam, lParam) | DLGC_WANTMESSAGE;
      return std::nullopt;
    case WM_IME_STARTCOMPOSITION:
    case WM_IME_COMPOSITION:
    case WM_IME_ENDCOMPOSITION:
      // Composed in the input method's own window, it arrives as WM_IME_CHAR, a character at a time; the
      // field itself would take it whole.
      return DefWindowProcW(controls_.fields.at(static_cast<std::size_t>(index)), message, wParam, lParam);
    case WM_SETTEXT:
      if (writingField) return std::nullopt;
      // Another program's text: an editable field takes a number, as if pasted; anything else is refused.
      if (readOnly || !ConvertsInField(index, reinterpret_cast<const wchar_t*>(lParam))) return FALSE;
      FocusBeforeEdit(index);
      return std::nullopt;
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
    case EM_REPLACESEL:
      if (readOnly) return 0;  // only the program writes the read-only field
      FocusBeforeEdit(index);
      return std::nullopt;
    case WM_CONTEXTMENU:  // whose commands paste, cut, delete and undo
      FocusBeforeEdit(index);
      return std::nullopt;
    case EM_SETREADONLY:  // the fields are what they were made: only another program would send this
      return 0;
    default:
      return std::nullopt;
  }
}

std::optional<LRESULT> InputRouter::WindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (const auto button = ButtonOf(message)) {
    MouseButton(button->first, button->second, wParam, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return 0;
  }
  switch (message) {
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
      // A press whose release will never come here, as a push button forgets its own.
      pressed_ = 0;
      return std::nullopt;
    case WM_ACTIVATE:
      // The focus belongs in a field, not the window; while minimised (the high word), once restored.
      if (LOWORD(wParam) == WA_INACTIVE || HIWORD(wParam) != 0) return std::nullopt;
      WindowActivated();
      return 0;
    case WM_SETFOCUS:
      WindowActivated();
      return 0;
    default:
      return std::nullopt;
  }
}

LRESULT InputRouter::Typed(core::FieldIndex index, wchar_t unit, LPARAM lParam) {
  if (lifetime_.IsClosed()) return 0;
  const auto key = typed_.Next(static_cast<char16_t>(unit));
  if (!key) return 0;  // the second half of a character whose key was typed already
  // Another program's WM_CHAR to a field without the focus: as if the user had gone there.
  FocusBeforeEdit(index);
  core::KeyCode keyCode = *key;
  events_.txt_KeyPress(index, keyCode);
  // The handler may have closed the window (Esc): the field is gone then.
  if (lifetime_.IsClosed() || keyCode == core::kKeyNone) return 0;
  // Nothing is typed into a read-only field; Backspace there changes nothing either.
  if (controls_.readOnly.at(static_cast<std::size_t>(index))) return 0;
  return PassOn(index, WM_CHAR, static_cast<WPARAM>(std::bit_cast<char16_t>(keyCode)), lParam);
}

LRESULT InputRouter::PassOn(core::FieldIndex index, UINT message, WPARAM wParam, LPARAM lParam) const {
  const auto at = static_cast<std::size_t>(index);
  return CallWindowProcW(controls_.editProcedures.at(at), controls_.fields.at(at), message, wParam, lParam);
}

void InputRouter::FieldFocused(core::FieldIndex index) {
  // The window coming back to the front gives the same field the focus again: that is no focus change.
  if (lifetime_.IsClosed() || focused_ == index) return;
  focused_ = index;
  events_.txt_GotFocus(index);
}

void InputRouter::FocusField(core::FieldIndex index) {
  if (lifetime_.IsClosed()) return;
  SetFocus(controls_.fields.at(static_cast<std::size_t>(index)));
  // While another application is active the system moves no focus: the field takes it when the window is
  // active again.
  FieldFocused(index);
}

void InputRouter::FocusBeforeEdit(core::FieldIndex index) {
  if (focused_ != index) FocusField(index);
}

void InputRouter::WindowActivated() {
  if (lifetime_.IsClosed()) return;
  FocusField(focused_.value_or(controls_.tabOrder.front()));
}

void InputRouter::MouseButton(std::int16_t button, bool pressed, WPARAM keys, POINT point) {
  if (lifetime_.IsClosed()) return;
  // As push buttons do: the mouse is the window's from a press to its release, and a release counts only when
  // the window saw its press (not a field's, nor another program's).
  const auto bit = static_cast<std::uint8_t>(button);
  if (pressed) {
    // The captions let the mouse through to the window, which finds the one pressed among its children.
    const auto found = std::ranges::find(controls_.captions, ChildWindowFromPoint(controls_.window, point));
    pressedCaption_ = static_cast<core::FieldIndex>(found - controls_.captions.begin());
    if (found == controls_.captions.end()) pressedCaption_.reset();
    pressed_ |= bit;
    if (button == kLeftButton) ClientToScreen(controls_.window, &(pressedAt = point));
    if (GetCapture() != controls_.window)
      SetCapture(controls_.window);  // taken again, it would forget the presses
  } else if ((pressed_ & bit) != 0) {
    pressed_ &= static_cast<std::uint8_t>(~bit);
    if (pressed_ == 0) ReleaseCapture();
  } else {
    return;
  }
  // The release goes to what was pressed, wherever the pointer is by then; the pointer in twips from its
  // corner.
  const auto caption = pressedCaption_;
  if (caption)
    MapWindowPoints(controls_.window, controls_.captions.at(static_cast<std::size_t>(*caption)), &point, 1);
  const UINT dpi = GetDpiForWindow(controls_.window);
  const float x = ToTwips(point.x, dpi);
  const float y = ToTwips(point.y, dpi);
  std::int16_t shift = ShiftCode(keys);
  if (caption) {
    pressed ? events_.lbl_MouseDown(*caption, button, shift, x, y)
            : events_.lbl_MouseUp(*caption, button, shift, x, y);
  } else {
    pressed ? events_.Form_MouseDown(button, shift, x, y) : events_.Form_MouseUp(button, shift, x, y);
  }
}

}  // namespace vostrel::platform::win32
