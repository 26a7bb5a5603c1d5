// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "input_router.h"

#include <algorithm>
#include <bit>
#include <utility>

#include "lifetime.h"
#include "twips.h"
#include "vostrel/core/key_filter.h"
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

}  // namespace

std::optional<wchar_t> InputRouter::Typed(core::FieldIndex index, wchar_t unit) {
  if (lifetime_.IsClosed()) return std::nullopt;
  auto typed = static_cast<char16_t>(unit);
  if (IS_LOW_SURROGATE(typed) && std::exchange(lowSurrogateDue_, false)) return std::nullopt;
  lowSurrogateDue_ = IS_HIGH_SURROGATE(typed);
  // A character beyond 16 bits is one typed key, and one that no field takes.
  if (IS_HIGH_SURROGATE(typed) || IS_LOW_SURROGATE(typed)) typed = u'\uFFFD';

  auto keyCode = std::bit_cast<core::KeyCode>(typed);
  events_.txt_KeyPress(index, keyCode);
  // The handler may have closed the window (Esc): the field is gone then.
  if (lifetime_.IsClosed() || keyCode == core::kKeyNone) return std::nullopt;
  // Nothing is typed into a read-only field; Backspace there changes nothing either.
  if (controls_.readOnly.at(static_cast<std::size_t>(index))) return std::nullopt;
  return static_cast<wchar_t>(std::bit_cast<char16_t>(keyCode));
}

bool InputRouter::IsEditShortcut(WPARAM virtualKey) {
  // Not with Alt: Ctrl+Alt is AltGr, which types characters.
  return virtualKey >= 'A' && virtualKey <= 'Z' && KeyDown(VK_CONTROL) && !KeyDown(VK_MENU);
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

bool InputRouter::TabKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB) return false;
  const core::FieldIndex from = controls_.FieldOf(message.hwnd);
  if (from < 0 || KeyDown(VK_CONTROL) || KeyDown(VK_MENU)) return false;
  const auto& order = controls_.tabOrder;
  const auto at = static_cast<std::size_t>(std::ranges::find(order, from) - order.begin());
  const std::size_t next =
      KeyDown(VK_SHIFT) ? (at + order.size() - 1) % order.size() : (at + 1) % order.size();
  FocusField(order.at(next));
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
  const auto caption = CaptionAt(point);
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
}

}  // namespace vostrel::platform::win32
