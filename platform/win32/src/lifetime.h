// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// Every way the window closes (the program's own, Alt+F4 or another program's WM_CLOSE, the end of the
// session) runs the query-unload handler once, destroys it and ends the loop; no handler is raised after.
#pragma once

#include <windows.h>

#include <optional>

#include "vostrel/platform/runtime.h"

namespace vostrel::platform::win32 {

struct WindowControls;

class Lifetime {
 public:
  Lifetime(WindowEvents& events, const WindowControls& controls) : events_(events), controls_(controls) {}

  void Close(UnloadReason reason);
  [[nodiscard]] bool IsClosed() const { return closed_; }

  // Whether a field may take `message` (WM_CLOSE, WM_DESTROY, WM_NCDESTROY), which ends it: only as part of
  // the window's own end.
  [[nodiscard]] bool FieldMayEnd(UINT message) const { return message != WM_CLOSE && closed_; }

  // The window's messages about its end: the answer where `message` is one.
  [[nodiscard]] std::optional<LRESULT> Handle(UINT message, WPARAM wParam);

 private:
  WindowEvents& events_;
  const WindowControls& controls_;
  bool closing_ = false;
  bool closed_ = false;
};

}  // namespace vostrel::platform::win32
