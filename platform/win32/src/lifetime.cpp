// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "lifetime.h"

#include <cstdint>

#include "window_builder.h"

namespace vostrel::platform::win32 {

void Lifetime::Close(UnloadReason reason) {
  // A close that comes while one runs (the end of the session during the handler) is the same close.
  if (closing_ || closed_) return;
  closing_ = true;
  std::int16_t cancel = 0;
  events_.Form_QueryUnload(cancel, reason);
  // The window never refuses to close: `cancel` is not consulted.
  closed_ = true;
  DestroyWindow(controls_.window);
}

std::optional<LRESULT> Lifetime::Handle(UINT message, WPARAM wParam) {
  switch (message) {
    case WM_CLOSE:  // Alt+F4, the taskbar's Close, another program (taskkill without /f)
      Close(UnloadReason::kUser);
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;  // the session may end; the position is stored when it does
    case WM_ENDSESSION:
      // TRUE: the session ends, and the process with it. FALSE: cancelled; nothing is written.
      if (wParam != FALSE) Close(UnloadReason::kSessionEnd);
      return 0;
    case WM_DESTROY:
      // The window's own end ends the program; another program's WM_DESTROY ends nothing.
      if (closed_) PostQuitMessage(0);
      return 0;
    default:
      return std::nullopt;
  }
}

}  // namespace vostrel::platform::win32
