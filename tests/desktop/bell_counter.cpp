// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// Counts the bells the X server rings (XkbBellNotify), so that the desktop tests can count beeps.
// Prints "ready" once listening, then "bell" for every bell as it comes. A line "sync" on standard input
// makes it finish a round trip with the server (XSync), read every event that came before the answer, and
// print "synced N", N being all the bells counted so far: every bell the server rang before it read the
// request is in N. It exits at the end of its input.
// A line "pointer" is answered "pointer free", or "pointer held" while another client holds the pointer.
// It also prints "moveresize" for every move a client asks of the window manager (_NET_WM_MOVERESIZE_MOVE,
// sent to the root window, where every client listening for substructure changes sees it too).
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

namespace {

long bells = 0;
Atom moveResize = None;

// Handles every event the connection holds, read or waiting in the socket.
void drain(Display* display, int xkbEvent) {
  while (XPending(display) > 0) {
    XEvent next;
    XNextEvent(display, &next);
    if (next.type == ClientMessage && next.xclient.message_type == moveResize &&
        next.xclient.data.l[2] == 8) {
      std::printf("moveresize\n");
      std::fflush(stdout);
    }
    if (next.type != xkbEvent) continue;
    const auto* xkb = reinterpret_cast<const XkbAnyEvent*>(&next);
    if (xkb->xkb_type != XkbBellNotify) continue;
    ++bells;
    std::printf("bell\n");
    std::fflush(stdout);
  }
}

}  // namespace

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
  moveResize = XInternAtom(display, "_NET_WM_MOVERESIZE", False);
  XSelectInput(display, XDefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, False);  // selected before "ready": nothing after it is missed
  std::printf("ready\n");
  std::fflush(stdout);

  std::string input;
  for (;;) {
    drain(display, event);
    pollfd fds[] = {{XConnectionNumber(display), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return 1;
    }
    // Events are read by drain() at the top of the loop (a lost connection ends the program in Xlib).
    if (fds[1].revents == 0) continue;
    char buffer[256];
    ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
    if (got <= 0) return 0;  // the test went away
    input.append(buffer, static_cast<size_t>(got));
    for (size_t end; (end = input.find('\n')) != std::string::npos; input.erase(0, end + 1)) {
      if (input.compare(0, end, "pointer") == 0) {
        // Whether another client holds the pointer (a window manager still moving a window): asked by taking
        // it.
        const int taken = XGrabPointer(display, XDefaultRootWindow(display), False, 0, GrabModeAsync,
                                       GrabModeAsync, None, None, CurrentTime);
        if (taken == GrabSuccess) XUngrabPointer(display, CurrentTime);
        XSync(display, False);
        std::printf("pointer %s\n", taken == GrabSuccess ? "free" : "held");
        std::fflush(stdout);
        continue;
      }
      if (input.compare(0, end, "sync") != 0) {
        std::printf("unknown command %s\n", input.substr(0, end).c_str());
        std::fflush(stdout);
        continue;
      }
      XSync(display, False);
      drain(display, event);
      std::printf("synced %ld\n", bells);
      std::fflush(stdout);
    }
  }
}
