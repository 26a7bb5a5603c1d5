// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// Building the window and its controls from frmMain's description.
#pragma once

#include <array>
#include <memory>

#include "vostrel/platform/runtime.h"
#include "vostrel/platform/window_description.h"
#include "widgets.h"

namespace vostrel::platform::qt {

struct WindowWidgets {
  std::unique_ptr<MainWindow> window;
  std::array<CaptionLabel*, core::kFieldCount> captions{};  // owned by the window
  std::array<FieldEdit*, core::kFieldCount> fields{};       // owned by the window
};

// The window, hidden, with its captions and fields as described, each field holding its first text (no
// handler runs for it). From then on every change of a field's text raises txt_Change, until the window
// closes. The first field of the tab order has the focus.
[[nodiscard]] WindowWidgets BuildWindow(const WindowDescription& description, WindowEvents& events,
                                        InputRouter& input, Lifetime& lifetime);

}  // namespace vostrel::platform::qt
