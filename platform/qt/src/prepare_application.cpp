#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "vostrel/platform/qt/qt_runtime.h"

namespace vostrel::platform::qt {
namespace {

std::string_view Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string_view{} : std::string_view{value};
}

bool CanReachXServer() {
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  const bool reached = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return reached;
}

}  // namespace

bool PrepareApplication() {
  const std::string_view chosen = Environment("QT_QPA_PLATFORM");
  const bool x11 = !Environment("DISPLAY").empty();
  const bool wayland = !Environment("WAYLAND_DISPLAY").empty();

  if (chosen.empty()) {
    if (wayland && x11) {
      // A Wayland client can neither place its window nor keep it on top; through XWayland it can.
      setenv("QT_QPA_PLATFORM", "xcb", 1);
    } else if (wayland) {
      std::fprintf(
          stderr,
          "vostrel: running as a native Wayland client: the window opens where the compositor puts it, "
          "its position is not remembered and it is not kept above other windows\n");
    }
  }

  const bool onXcb = chosen == "xcb" || (chosen.empty() && !(wayland && !x11));
  if (onXcb && (!x11 || !CanReachXServer())) {
    std::fprintf(stderr, "vostrel: cannot open the display%s%s: the window needs a graphical desktop\n",
                 x11 ? " " : " (DISPLAY is not set)", x11 ? Environment("DISPLAY").data() : "");
    return false;
  }
  return true;
}

}  // namespace vostrel::platform::qt
