// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// Main of the Qt tests: one QApplication for the whole run, named and versioned as the program is.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char* argv[]) {
  // Always the offscreen platform, also for listing the cases: no test opens windows on a real desktop. Its
  // options may come from the environment (several screens from a file).
  if (!qgetenv("QT_QPA_PLATFORM").startsWith("offscreen")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vostrel"));
  QApplication::setApplicationVersion(QStringLiteral("1.00"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
