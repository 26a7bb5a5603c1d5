// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The floor that Qt itself sets: an equally sized frameless window with three labels and three line edits,
// and nothing else.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  window.setFixedSize(505, 18);
  const int left[] = {6, 124, 242};
  for (int i = 0; i < 3; ++i) {
    auto* label = new QLabel(QStringLiteral("label"), &window);
    label->setGeometry(left[i], 3, 48, 15);
    auto* edit = new QLineEdit(QStringLiteral("0"), &window);
    edit->setGeometry(left[i] + 48, 0, 65, 18);
  }
  window.show();
  return QApplication::exec();
}
