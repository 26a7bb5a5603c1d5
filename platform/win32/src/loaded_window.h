// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The window once loaded, reached from its procedures through the windows' user data.
#pragma once

#include <windows.h>

#include "field_accessibility.h"
#include "input_router.h"
#include "lifetime.h"
#include "vostrel/platform/runtime.h"
#include "vostrel/platform/window_description.h"
#include "window_builder.h"

namespace vostrel::platform::win32 {

struct LoadedWindow {
  LoadedWindow(const WindowDescription& windowDescription, WindowEvents& windowEvents)
      : description(windowDescription),
        events(windowEvents),
        lifetime(windowEvents, controls),
        input(windowEvents, lifetime, controls) {}

  const WindowDescription& description;
  WindowEvents& events;
  WindowControls controls;
  Lifetime lifetime;
  InputRouter input;
  // Last: it goes first, and takes the annotations off the fields while the window is whole.
  FieldAnnotations annotations;
};

// The two window procedures: the window's own, and the one every field hands its messages to first.
LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK FieldProcedure(HWND field, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace vostrel::platform::win32
