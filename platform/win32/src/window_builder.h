// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// Building the window and its controls from frmMain's description, and laying them out at a density.
#pragma once

#include <windows.h>

#include <array>

#include "vostrel/platform/window_description.h"

namespace vostrel::platform::win32 {

[[nodiscard]] inline COLORREF ToColorRef(const Rgb& rgb) {
  return RGB(rgb.red, rgb.green, rgb.blue);
}

// Control identifiers: a field's is kFieldId + its index, a caption's kCaptionId + its index.
inline constexpr int kFieldId = 100;
inline constexpr int kCaptionId = 200;

struct WindowControls {
  HWND window = nullptr;
  std::array<HWND, core::kFieldCount> captions{};
  std::array<HWND, core::kFieldCount> fields{};
  // Each field's own window procedure, which the field procedure passes on to.
  std::array<WNDPROC, core::kFieldCount> editProcedures{};
  // Which fields are read-only, as described: a field's own style can be changed from outside.
  std::array<bool, core::kFieldCount> readOnly{};
  // The fields in the order Tab goes round them.
  std::array<core::FieldIndex, core::kFieldCount> tabOrder{};
  HFONT font = nullptr;
  // The window class's brush, which lives as long as the class: the class goes with the window.
  HBRUSH background = nullptr;
  // The window's icons, at its density.
  HICON bigIcon = nullptr;
  HICON smallIcon = nullptr;
  bool classRegistered = false;
  UINT dpi = USER_DEFAULT_SCREEN_DPI;

  WindowControls() = default;
  WindowControls(const WindowControls&) = delete;
  WindowControls& operator=(const WindowControls&) = delete;
  ~WindowControls();

  // The field `control` is, or -1.
  [[nodiscard]] core::FieldIndex FieldOf(HWND control) const;
};

// Makes the window, hidden, with its captions and fields as described and their first texts: captions and
// fields in the order of their tab indexes, the fields handing their messages to `fieldProcedure`, the window
// and the fields carrying `owner` as their user data. Laid out at the density of the monitor the window is
// on. False when the window could not be made.
[[nodiscard]] bool BuildWindow(const WindowDescription& description, void* owner, WNDPROC windowProcedure,
                               WNDPROC fieldProcedure, WindowControls& controls);

// WM_DPICHANGED: the window moved to a monitor of another density. It takes the rectangle Windows suggests
// and is laid out at the density the message names; another program's message (from another thread) is not
// trusted, and the window is laid out at its own density from where it is.
void ChangeDensity(const WindowDescription& description, WPARAM wParam, LPARAM lParam,
                   WindowControls& controls);

// Places and sizes the controls for `dpi`, with a font and icons made for it. The window takes `bounds` when
// they are given, else the described size with its top-left corner where it is.
void LayOut(const WindowDescription& description, UINT dpi, const RECT* bounds, WindowControls& controls);

}  // namespace vostrel::platform::win32
