// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "widgets.h"

#include <QCloseEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleHints>

#include "input_router.h"
#include "lifetime.h"

namespace vostrel::platform::qt {
namespace {

// The keys a field's context menu names beside its commands: only those that work in the fields. The standard
// menu names Ctrl+letter keys, which type control characters the key rule refuses.
void NameWorkingShortcuts(QMenu& menu) {
  // A command of the standard menu, known by the name newer Qt gives it, or else by Qt's own words for it.
  static const struct {
    const char* name;
    const char* words;
    QKeySequence keys;
  } kWorking[] = {
      {"edit-copy", QT_TRANSLATE_NOOP("QLineEdit", "&Copy"), QKeySequence(Qt::CTRL | Qt::Key_Insert)},
      {"edit-paste", QT_TRANSLATE_NOOP("QLineEdit", "&Paste"), QKeySequence(Qt::SHIFT | Qt::Key_Insert)},
      {"edit-cut", QT_TRANSLATE_NOOP("QLineEdit", "Cu&t"), QKeySequence(Qt::SHIFT | Qt::Key_Delete)}};
  const bool named = QGuiApplication::styleHints()->showShortcutsInContextMenus();
  for (QAction* action : menu.actions()) {
    QString text = action->text().section(u'\t', 0, 0);
    for (const auto& command : kWorking) {
      if (named && (action->objectName() == QLatin1String(command.name) ||
                    text == QCoreApplication::translate("QLineEdit", command.words))) {
        text += u'\t' + command.keys.toString(QKeySequence::NativeText);
      }
    }
    action->setText(text);
  }
}

}  // namespace

void MainWindow::mousePressEvent(QMouseEvent* event) {
  input_.MousePressed(std::nullopt, *event);
}

void MainWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  input_.MousePressed(std::nullopt, *event);
}

void MainWindow::mouseReleaseEvent(QMouseEvent* event) {
  input_.MouseReleased(std::nullopt, *event);
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
  input_.MouseMoved(*event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  lifetime_.HandleCloseEvent(event->spontaneous());
  event->accept();
}

void CaptionLabel::mousePressEvent(QMouseEvent* event) {
  input_.MousePressed(index_, *event);
}

void CaptionLabel::mouseDoubleClickEvent(QMouseEvent* event) {
  input_.MousePressed(index_, *event);
}

void CaptionLabel::mouseReleaseEvent(QMouseEvent* event) {
  input_.MouseReleased(index_, *event);
}

void CaptionLabel::mouseMoveEvent(QMouseEvent* event) {
  input_.MouseMoved(*event);
}

FieldEdit::FieldEdit(InputRouter& input, core::FieldIndex index, QWidget* parent)
    : QLineEdit(parent), input_(input), index_(index) {
  // Text reaches a field only through the key rule and the context menu: a drop would skip both. The widget
  // that takes no drops is never offered one.
  setAcceptDrops(false);
  QObject::connect(&caretBlink_, &QTimer::timeout, this, [this] {
    caretOn_ = !caretOn_;
    update();
  });
  QObject::connect(this, &QLineEdit::cursorPositionChanged, this, [this] { RestartCaret(); });
}

bool FieldEdit::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
      if (input_.KeyPressed(*this, index_, *static_cast<QKeyEvent*>(event))) return true;
      break;
    case QEvent::InputMethod:
      if (input_.InputMethodCommitted(*this, index_, *static_cast<QInputMethodEvent*>(event))) return true;
      break;
    case QEvent::FocusIn: {
      // The field's own focus handling, a fresh blink of the caret, and the handler (which selects the text).
      const bool handled = QLineEdit::event(event);
      RestartCaret();
      input_.FieldFocused(index_);
      return handled;
    }
    case QEvent::FocusOut:
      caretBlink_.stop();
      caretOn_ = false;
      break;
    default:
      break;
  }
  return QLineEdit::event(event);
}

void FieldEdit::contextMenuEvent(QContextMenuEvent* event) {
  QMenu* menu = createStandardContextMenu();
  NameWorkingShortcuts(*menu);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(event->globalPos());
}

// A read-only line edit draws no caret of its own.
void FieldEdit::paintEvent(QPaintEvent* event) {
  QLineEdit::paintEvent(event);
  if (!caretOn_ || !isReadOnly()) return;
  // Qt's cursor rectangle reaches a few pixels either side of the caret, which lies at its centre.
  const QRect around = cursorRect();
  QPainter painter(this);
  painter.fillRect(QRect((around.left() + around.right() + 1) / 2, around.top(), 1, around.height()),
                   palette().color(QPalette::Text));
}

void FieldEdit::RestartCaret() {
  if (!isReadOnly() || !hasFocus()) return;
  caretOn_ = true;
  const int flashTime = QGuiApplication::styleHints()->cursorFlashTime();
  if (flashTime > 0) caretBlink_.start(flashTime / 2);
  update();
}

}  // namespace vostrel::platform::qt
