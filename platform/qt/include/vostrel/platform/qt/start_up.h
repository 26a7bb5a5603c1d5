// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// What the program settles around the creation of its QApplication.
#pragma once

#include <optional>

class QCoreApplication;

namespace vostrel::platform::qt {

// Before QApplication exists: answers the command line (--help and --version, with or without a display;
// unknown options), chooses the platform plugin and checks that there is a display to show the window on.
// Returns the exit status when the program must end now, having said why: 0 after help or version, 1 with no
// display, 2 for a command line it does not take.
[[nodiscard]] std::optional<int> PrepareApplication(int argc, char* argv[]);

// Qt's own translations for the user's locale (the fields' context menu, the command-line help), where the
// package that holds them is installed, and the program's own.
void InstallTranslations(QCoreApplication& application);

}  // namespace vostrel::platform::qt
