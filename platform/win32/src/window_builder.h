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
  // As described: another program can change a field's own style.
  std::array<bool, core::kFieldCount> readOnly{};
  std::array<core::FieldIndex, core::kFieldCount> tabOrder{};  // the fields in the order Tab goes round
  HFONT font = nullptr;
  // The class's brush, which the class deletes when it goes.
  HBRUSH background = nullptr;
  // Big (taskbar, Alt+Tab) and small: the class's at the density the session signed in with, and the window's
  // own once it is laid out at another.
  std::array<HICON, 2> classIcons{};
  std::array<HICON, 2> windowIcons{};
  bool classRegistered = false;
  HHOOK queueHook = nullptr;  // what the thread takes from its queue passes it first
  // The primary monitor's density, found by the window made at its corner: positions, the window's size and
  // the screen are in its twips. The session's sign-in density may be another (a docked laptop).
  UINT primaryDpi = USER_DEFAULT_SCREEN_DPI;

  WindowControls() = default;
  WindowControls(const WindowControls&) = delete;
  WindowControls& operator=(const WindowControls&) = delete;
  ~WindowControls();

  // The field `control` is, or -1.
  [[nodiscard]] core::FieldIndex FieldOf(HWND control) const;
};

// Makes the window, hidden, its controls in tab-index order, the fields subclassed by `fieldProcedure`, the
// window and the fields carrying `owner` as their user data. False when it could not be made.
[[nodiscard]] bool BuildWindow(const WindowDescription& description, void* owner, WNDPROC windowProcedure,
                               WNDPROC fieldProcedure, WindowControls& controls);

// WM_DPICHANGED: the window takes the suggested rectangle and lays out at the density named. Sent from
// another thread (another program), it is not trusted: the window lays out at its own.
void ChangeDensity(const WindowDescription& description, WPARAM wParam, LPARAM lParam,
                   WindowControls& controls);

}  // namespace vostrel::platform::win32
