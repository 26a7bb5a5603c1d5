// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The window's widgets. Each hands its events to the input router or, for the window's close, to the
// lifetime.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include "vostrel/core/vocabulary.h"

namespace vostrel::platform::qt {

class InputRouter;
class Lifetime;

class MainWindow final : public QWidget {
 public:
  MainWindow(InputRouter& input, Lifetime& lifetime) : input_(input), lifetime_(lifetime) {}

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  // A second press soon after the first comes as a double click; it is a press all the same.
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  InputRouter& input_;
  Lifetime& lifetime_;
};

class CaptionLabel final : public QLabel {
 public:
  CaptionLabel(InputRouter& input, core::FieldIndex index, QWidget* parent)
      : QLabel(parent), input_(input), index_(index) {}

 protected:
  // Handled here and not passed on to the window: the caption's handlers call the window's themselves.
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  InputRouter& input_;
  core::FieldIndex index_;
};

// A field. It takes no drops, and when read-only it still shows its caret, blinking as the platform's do.
class FieldEdit final : public QLineEdit {
 public:
  FieldEdit(InputRouter& input, core::FieldIndex index, QWidget* parent);

 protected:
  bool event(QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void RestartCaret();

  InputRouter& input_;
  core::FieldIndex index_;
  QTimer caretBlink_;
  bool caretOn_ = false;
};

}  // namespace vostrel::platform::qt
