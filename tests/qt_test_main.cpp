// Main of the Qt tests: one QApplication for the whole run, named and versioned as the program is.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vostrel"));
  QApplication::setApplicationVersion(QStringLiteral("1.00"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
