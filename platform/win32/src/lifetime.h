// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The window's lifetime: every way it closes runs the query-unload handler once, destroys the window and ends
// the message loop, and from then on no handler is raised. The ways: the program's own close, the platform's
// (Alt+F4, the taskbar, another program's WM_CLOSE) and the end of the Windows session.
#pragma once

#include <windows.h>

#include "vostrel/platform/runtime.h"

namespace vostrel::platform::win32 {

struct WindowControls;

class Lifetime {
 public:
  Lifetime(WindowEvents& events, const WindowControls& controls) : events_(events), controls_(controls) {}

  void Close(UnloadReason reason);
  [[nodiscard]] bool IsClosed() const { return closed_; }

  // Whether a field may take `message` (WM_CLOSE, WM_DESTROY, WM_NCDESTROY), which ends it: only as part of
  // the window's own end, never on its own or from another program.
  [[nodiscard]] bool FieldMayEnd(UINT message) const { return message != WM_CLOSE && closed_; }

  // The window's messages about its end; true when `message` was one, its answer in `result`.
  bool Handle(UINT message, WPARAM wParam, LRESULT& result);

 private:
  WindowEvents& events_;
  const WindowControls& controls_;
  bool closing_ = false;
  bool closed_ = false;
};

}  // namespace vostrel::platform::win32
