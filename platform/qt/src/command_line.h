// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The program's command line, read before the window's QApplication exists.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace vostrel::platform::qt {

// Qt's own options that matter before QApplication exists: where the window will be shown.
struct QtOptions {
  QString platform;  // -platform, as QT_QPA_PLATFORM
  QString display;   // -display, as DISPLAY
};

// Answers --help and --version on standard output, and refuses an option or argument the program does not
// take on standard error. Returns the exit status when the program must end now. Qt's own options (-platform,
// -style, ...) pass: QApplication takes them; the platform and the display are noted in `qtOptions`.
[[nodiscard]] std::optional<int> AnswerCommandLine(const QStringList& arguments, QtOptions& qtOptions);

}  // namespace vostrel::platform::qt
