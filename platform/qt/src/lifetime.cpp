// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "lifetime.h"

#include <QCoreApplication>
#include <QWidget>
#include <cstdint>

#include "vostrel/platform/qt/qt_runtime.h"

#if defined(Q_OS_UNIX)
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>
#endif

namespace vostrel::platform::qt {

void Lifetime::Watch(QWidget& window) {
  window_ = &window;
  // A session manager's save request (commitDataRequest) is not a close: it comes for every checkpoint and
  // for a logout the user may still cancel. The real end of the session arrives as a quit.
  QObject::connect(qApp, &QCoreApplication::aboutToQuit, &window,
                   [this] { Close(UnloadReason::kSessionEnd); });
}

void Lifetime::Close(UnloadReason reason) {
  if (closed_ || window_ == nullptr) return;
  reason_ = reason;
  window_->close();
}

void Lifetime::HandleCloseEvent(bool spontaneous) {
  if (closed_) return;
  std::int16_t cancel = 0;
  events_.Form_QueryUnload(cancel, reason_.value_or(spontaneous ? UnloadReason::kUser : UnloadReason::kCode));
  // The window never refuses to close: `cancel` is not consulted.
  closed_ = true;
}

#if defined(Q_OS_UNIX)
namespace {

int signalPipe[2] = {-1, -1};

extern "C" void OnTerminationSignal(int) {
  const char byte = 1;
  // Only async-signal-safe work here: the event loop does the rest.
  [[maybe_unused]] const auto written = write(signalPipe[0], &byte, 1);
}

}  // namespace

void CloseOnTerminationSignals(QtRuntime& runtime) {
  if (signalPipe[0] >= 0 || socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) return;
  auto* notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [&runtime] {
    char byte = 0;
    [[maybe_unused]] const auto read = ::read(signalPipe[1], &byte, 1);
    runtime.CloseFromOutside(UnloadReason::kTerminated);
  });
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : {SIGTERM, SIGHUP, SIGINT}) sigaction(signal, &action, nullptr);
}
#else
// Elsewhere the platform ends a program through its window (the close event) or the session (a quit).
void CloseOnTerminationSignals(QtRuntime&) {}
#endif

}  // namespace vostrel::platform::qt
