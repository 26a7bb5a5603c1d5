// Main of the Qt tests: one QApplication for the whole run, named and versioned as the program is.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char* argv[]) {
  // Listing the cases needs an application too, and no display.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vostrel"));
  QApplication::setApplicationVersion(QStringLiteral("1.00"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
