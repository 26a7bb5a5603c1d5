// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The window once loaded: its controls and the rooms that serve it, reached from its window procedures
// through the windows' user data.
#pragma once

#include <windows.h>

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
        input(windowEvents, lifetime, controls, writingField) {}

  const WindowDescription& description;
  WindowEvents& events;
  WindowControls controls;
  // True while the program itself writes a field's text, so that the write is told from a foreign one.
  bool writingField = false;
  Lifetime lifetime;
  InputRouter input;
};

// The two window procedures: the window's own, and the one every field hands its messages to first.
LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK FieldProcedure(HWND field, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace vostrel::platform::win32
