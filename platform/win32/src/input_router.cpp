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

struct Button {
  std::int16_t code;
  bool pressed;
};

std::optional<Button> ButtonOf(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
      return Button{kLeftButton, true};
    case WM_LBUTTONUP:
      return Button{kLeftButton, false};
    case WM_RBUTTONDOWN:
      return Button{kRightButton, true};
    case WM_RBUTTONUP:
      return Button{kRightButton, false};
    case WM_MBUTTONDOWN:
      return Button{kMiddleButton, true};
    case WM_MBUTTONUP:
      return Button{kMiddleButton, false};
    default:
      return std::nullopt;
  }
}

std::int16_t ShiftCode(WPARAM keys) {
  std::int16_t shift = 0;
  if (keys & MK_SHIFT) shift |= kShiftMask;
  if (keys & MK_CONTROL) shift |= kCtrlMask;
  if (GetKeyState(VK_MENU) < 0) shift |= kAltMask;
  return shift;
}

bool KeyDown(int virtualKey) {
  return GetKeyState(virtualKey) < 0;
}

// Whether another program's text for a field is one the field converts: a number of its kind, or nothing.
bool ConvertsInField(core::FieldIndex index, const wchar_t* text) {
  const core::Text value = ToText(text != nullptr ? std::wstring_view(text) : std::wstring_view());
  if (value.empty()) return true;
  return index == core::kDecimalField ? core::ParseDecimalText(value).has_value()
                                      : core::ParseHexText(value).has_value();
}

}  // namespace

std::optional<LRESULT> InputRouter::FieldMessage(core::FieldIndex index, UINT message, WPARAM wParam,
                                                 LPARAM lParam) {
  const bool readOnly = controls_.readOnly.at(static_cast<std::size_t>(index));
  switch (message) {
    case WM_CHAR:
    case WM_IME_CHAR:  // an input method's characters, handed over one by one
      // The character of a Tab key that has moved the focus already.
      if (std::exchange(tabCharacterDue_, false) && wParam == L'\t') return 0;
      return Typed(index, static_cast<wchar_t>(wParam), lParam);
    case WM_UNICHAR:
      // Another program's character as a code point: typed like any other, as its UTF-16 units.
      if (wParam == UNICODE_NOCHAR) return TRUE;
      if (wParam <= 0xFFFF) {
        Typed(index, static_cast<wchar_t>(wParam), 1);
      } else if (wParam <= 0x10FFFF) {
        Typed(index, static_cast<wchar_t>(0xD800 + ((wParam - 0x10000) >> 10)), 1);
        Typed(index, static_cast<wchar_t>(0xDC00 + (wParam & 0x3FF)), 1);
      } else {
        Typed(index, L'\uFFFD', 1);  // no character at all: a key that no field takes
      }
      return FALSE;
    case WM_KEYDOWN:
      if (TabKey(index, wParam)) return 0;
      // Ctrl with a letter: the edit control's own shortcuts (Ctrl+A selects all) would act on the key
      // itself, while the control character it types goes through the key rule like any other. Not with Alt:
      // Ctrl+Alt is AltGr, which types characters.
      if (wParam >= 'A' && wParam <= 'Z' && KeyDown(VK_CONTROL) && !KeyDown(VK_MENU)) return 0;
      return std::nullopt;
    case WM_IME_STARTCOMPOSITION:
    case WM_IME_COMPOSITION:
    case WM_IME_ENDCOMPOSITION:
      // Composed in the input method's own window, the result arrives as WM_IME_CHAR, character by character,
      // through the key rule; the field itself would take it whole.
      return DefWindowProcW(controls_.fields.at(static_cast<std::size_t>(index)), message, wParam, lParam);
    case WM_SETTEXT:
      if (writingField_) return std::nullopt;
      // Another program's text: an editable field takes a number, as if it were pasted there; the read-only
      // field and a text that is no number leave the fields as they were.
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
    case WM_RBUTTONDOWN: {
      // The field owns the release of its right press (it captures its left presses itself): a release over
      // the window's background must not reach the window, which would close.
      const HWND field = controls_.fields.at(static_cast<std::size_t>(index));
      if (GetCapture() != field) SetCapture(field);
      return std::nullopt;
    }
    case WM_RBUTTONUP:
      return FieldButtonReleased(index, wParam, lParam);
    default:
      return std::nullopt;
  }
}

std::optional<LRESULT> InputRouter::WindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      MouseButton(message, wParam, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_ACTIVATE:
      // The system would give the focus to the window itself; it belongs in a field. Not while minimised (the
      // high word): the field takes it when the window is restored.
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
  // Typed into a field without the focus (another program's WM_CHAR): typed as if the user had gone there.
  FocusBeforeEdit(index);
  core::KeyCode keyCode = *key;
  events_.txt_KeyPress(index, keyCode);
  // The handler may have closed the window (Esc): the field is gone then.
  if (lifetime_.IsClosed() || keyCode == core::kKeyNone) return 0;
  // Nothing is typed into a read-only field; Backspace there changes nothing either.
  if (controls_.readOnly.at(static_cast<std::size_t>(index))) return 0;
  return PassOn(index, WM_CHAR, static_cast<WPARAM>(std::bit_cast<char16_t>(keyCode)), lParam);
}

std::optional<LRESULT> InputRouter::FieldButtonReleased(core::FieldIndex index, WPARAM keys, LPARAM lParam) {
  const HWND field = controls_.fields.at(static_cast<std::size_t>(index));
  // A left button still down is the field's own selecting, which keeps the mouse.
  if (GetCapture() == field && (keys & MK_LBUTTON) == 0) ReleaseCapture();
  RECT client{};
  GetClientRect(field, &client);
  // Released outside the field, the press comes to nothing, as when the pointer leaves a button before its
  // release; inside, the field's own (its menu on the right button).
  if (!PtInRect(&client, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) return 0;
  return std::nullopt;
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
  // While another application is active the system moves no focus: the field becomes the window's focused one
  // all the same, and takes the focus when the window is active again.
  FieldFocused(index);
}

void InputRouter::FocusBeforeEdit(core::FieldIndex index) {
  if (focused_ != index) FocusField(index);
}

void InputRouter::WindowActivated() {
  if (lifetime_.IsClosed()) return;
  FocusField(focused_.value_or(controls_.tabOrder.front()));
}

bool InputRouter::TabKey(core::FieldIndex from, WPARAM virtualKey) {
  if (virtualKey != VK_TAB || KeyDown(VK_CONTROL) || KeyDown(VK_MENU) || lifetime_.IsClosed()) return false;
  const auto& order = controls_.tabOrder;
  const auto at = static_cast<std::size_t>(std::ranges::find(order, from) - order.begin());
  const std::size_t next =
      KeyDown(VK_SHIFT) ? (at + order.size() - 1) % order.size() : (at + 1) % order.size();
  FocusField(order.at(next));
  tabCharacterDue_ = true;
  return true;
}

std::optional<core::FieldIndex> InputRouter::CaptionAt(POINT point) const {
  for (core::FieldIndex i = 0; i < core::kFieldCount; ++i) {
    RECT caption{};
    const HWND control = controls_.captions.at(static_cast<std::size_t>(i));
    GetWindowRect(control, &caption);
    MapWindowPoints(HWND_DESKTOP, controls_.window, reinterpret_cast<POINT*>(&caption), 2);
    if (PtInRect(&caption, point)) return i;
  }
  return std::nullopt;
}

void InputRouter::MouseButton(UINT message, WPARAM keys, POINT point) {
  const auto button = ButtonOf(message);
  if (!button || lifetime_.IsClosed()) return;
  std::int16_t code = button->code;
  std::int16_t shift = ShiftCode(keys);
  // The release goes to what was pressed, the window or a caption, wherever the pointer is by then.
  if (button->pressed) {
    pressedCaption_ = CaptionAt(point);
    SetCapture(controls_.window);
  } else if (GetCapture() != controls_.window) {
    pressedCaption_ = CaptionAt(point);  // pressed elsewhere: where it is released
  }
  const auto caption = pressedCaption_;
  POINT origin{};
  if (caption) {
    RECT rect{};
    GetWindowRect(controls_.captions.at(static_cast<std::size_t>(*caption)), &rect);
    origin = {rect.left, rect.top};
    ScreenToClient(controls_.window, &origin);
  }
  // Pointer positions in twips from the pressed control's corner, as the handlers take them.
  const float x = ToTwips(point.x - origin.x, controls_.dpi);
  const float y = ToTwips(point.y - origin.y, controls_.dpi);
  if (caption && button->pressed) {
    events_.lbl_MouseDown(*caption, code, shift, x, y);
  } else if (caption) {
    events_.lbl_MouseUp(*caption, code, shift, x, y);
  } else if (button->pressed) {
    events_.Form_MouseDown(code, shift, x, y);
  } else {
    events_.Form_MouseUp(code, shift, x, y);
  }
  // The last button up: the mouse is free again (a close has let it go already).
  const bool anyDown = (keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0;
  if (!button->pressed && !anyDown && !lifetime_.IsClosed() && GetCapture() == controls_.window)
    ReleaseCapture();
}

}  // namespace vostrel::platform::win32
