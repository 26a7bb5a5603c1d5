// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The window's lifetime: every way it closes runs the query-unload handler once, and from then on no handler
// is raised. The ways: the program's own close, the window manager's, the end of the session, and the
// termination signals.
#pragma once

#include <optional>

#include "vostrel/platform/runtime.h"

class QWidget;

namespace vostrel::platform::qt {

class Lifetime {
 public:
  explicit Lifetime(WindowEvents& events) : events_(events) {}

  // From now on closing means closing `window`; the end of the session closes it too.
  void Watch(QWidget& window);

  // Closes the window for a reason of the program's own or from outside.
  void Close(UnloadReason reason);
  // The window is closing, whatever asked it to (its close event).
  void HandleCloseEvent(bool spontaneous);
  [[nodiscard]] bool IsClosed() const { return closed_; }

 private:
  WindowEvents& events_;
  QWidget* window_ = nullptr;
  std::optional<UnloadReason> reason_;
  bool closed_ = false;
};

}  // namespace vostrel::platform::qt
