// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include <QCoreApplication>
#include <cstdio>

#include "command_line.h"
#include "vostrel/platform/qt/start_up.h"

#if defined(VOSTREL_HAS_XCB)
#include <xcb/xcb.h>
#endif

namespace vostrel::platform::qt {
namespace {

#if defined(VOSTREL_HAS_XCB)
bool CanReachXServer(const QByteArray& display) {
  xcb_connection_t* connection = xcb_connect(display.constData(), nullptr);
  const bool reached = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return reached;
}
#endif

void Say(const QString& text) {
  std::fprintf(stderr, "vostrel: %s\n", text.toLocal8Bit().constData());
}

}  // namespace

std::optional<int> PrepareApplication(int argc, char* argv[]) {
  // What is said here is translated: a QCoreApplication of its own holds the translations until the window's
  // QApplication exists. It is made only when there is something to read or say, so a plain start pays
  // nothing.
  std::optional<QCoreApplication> messages;
  const auto readyToSay = [&] {
    if (QCoreApplication::instance() != nullptr) return;
    messages.emplace(argc, argv);
    InstallTranslations(*messages);
  };

  QtOptions qtOptions;
  if (argc > 1) {
    readyToSay();
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    if (const auto status = AnswerCommandLine(arguments, qtOptions)) return status;
  }

  // Qt's own options on the command line stand before its environment variables.
  const QByteArray chosen =
      qtOptions.platform.isEmpty() ? qgetenv("QT_QPA_PLATFORM") : qtOptions.platform.toLocal8Bit();
  const QByteArray display =
      qtOptions.display.isEmpty() ? qgetenv("DISPLAY") : qtOptions.display.toLocal8Bit();
  const bool x11 = !display.isEmpty();
  const bool wayland = !qgetenv("WAYLAND_DISPLAY").isEmpty();
  if (chosen.isEmpty()) {
    if (wayland && x11) {
      // A Wayland client can neither place its window nor keep it on top; through XWayland it can.
      qputenv("QT_QPA_PLATFORM", "xcb");
    } else if (wayland) {
      readyToSay();
      Say(QCoreApplication::translate("vostrel",
                                      "running as a native Wayland client: the window opens where the "
                                      "compositor puts it, its position is "
                                      "not remembered and it is not kept above other windows"));
    }
  }

#if defined(VOSTREL_HAS_XCB)
  // The platform's name comes before any of its options ("xcb:...").
  const bool onXcb = chosen.split(':').constFirst() == "xcb" || (chosen.isEmpty() && !(wayland && !x11));
  if (onXcb && (!x11 || !CanReachXServer(display))) {
    readyToSay();
    Say(x11 ? QCoreApplication::translate("vostrel",
                                          "cannot open the display %1: the window needs a graphical desktop")
                  .arg(QString::fromLocal8Bit(display))
            : QCoreApplication::translate(
                  "vostrel",
                  "cannot open the display (DISPLAY is not set): the window needs a graphical desktop"));
    return 1;
  }
#endif
  return std::nullopt;
}

}  // namespace vostrel::platform::qt
