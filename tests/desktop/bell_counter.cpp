// Prints "bell" for every bell the X server rings (XkbBellNotify), so that the desktop tests can count beeps.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

#include <cstdio>

int main() {
  int event = 0;
  int error = 0;
  int major = XkbMajorVersion;
  int minor = XkbMinorVersion;
  Display* display = XkbOpenDisplay(nullptr, &event, &error, &major, &minor, nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "bell_counter: cannot open the display with XKB\n");
    return 1;
  }
  XkbSelectEvents(display, XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask);
  std::printf("ready\n");
  std::fflush(stdout);
  for (;;) {
    XEvent next;
    XNextEvent(display, &next);
    if (next.type == event) {
      const auto* xkb = reinterpret_cast<const XkbAnyEvent*>(&next);
      if (xkb->xkb_type == XkbBellNotify) {
        std::printf("bell\n");
        std::fflush(stdout);
      }
    }
  }
}
