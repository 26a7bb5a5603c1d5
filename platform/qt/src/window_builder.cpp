// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "window_builder.h"

#include <QApplication>
#include <QFontInfo>
#include <algorithm>

#include "lifetime.h"
#include "twips.h"
#include "vostrel/platform/qt/program_icon.h"
#include "vostrel/platform/qt/text.h"

namespace vostrel::platform::qt {
namespace {

using core::FieldIndex;

QColor ToQColor(const Rgb& rgb) {
  return {rgb.red, rgb.green, rgb.blue};
}

QFont WindowFont(const WindowDescription& description) {
  // Linux fonts whose Chinese characters are 12 pixels wide and digits 6, as the layout wants. Qt takes the
  // first of these families that is installed, else its own fallback; naming them spares enumerating every
  // installed font at start-up.
  const QStringList families{"WenQuanYi Zen Hei Mono", "Noto Sans Mono CJK SC", "WenQuanYi Micro Hei Mono"};
  QFont font;
  font.setFamilies(families);
  font.setPixelSize(ToPixels(description.fontHeight));
  // The font's own hinting rather than the auto-hinter, whose survey of the CJK
  // glyphs pages in some 2.5 MB of the font file at start-up.
  font.setHintingPreference(QFont::PreferFullHinting);
  // One of our fonts holds every character the window shows: then no fallback fonts need looking up, the
  // costliest part of start-up after the font database itself. Without any of them, Qt may merge fonts.
  font.setStyleStrategy(QFont::NoFontMerging);
  if (!families.contains(QFontInfo(font).family())) font.setStyleStrategy(QFont::PreferDefault);
  return font;
}

}  // namespace

WindowWidgets BuildWindow(const WindowDescription& description, WindowEvents& events, InputRouter& input,
                          Lifetime& lifetime) {
  WindowWidgets widgets{.window = std::make_unique<MainWindow>(input, lifetime)};
  MainWindow* window = widgets.window.get();
  window->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  window->setWindowTitle(ToQString(description.title));
  window->setAccessibleName(ToQString(description.title));
  window->setWindowIcon(ProgramIcon());
  window->setFixedSize(ToPixels(description.width), ToPixels(description.height));
  window->setFont(WindowFont(description));
  QPalette palette = window->palette();
  palette.setColor(QPalette::Window, ToQColor(description.background));
  palette.setColor(QPalette::WindowText, ToQColor(description.captionText));
  window->setPalette(palette);
  window->setAutoFillBackground(true);

  // Captions first, so that the fields, created later, lie on top where they overlap.
  for (FieldIndex i = 0; i < core::kFieldCount; ++i) {
    const CaptionDescription& caption = description.captions.at(static_cast<std::size_t>(i));
    auto* label = new CaptionLabel(input, i, window);
    label->setText(ToQString(caption.caption));
    label->setGeometry(ToPixels(caption.geometry));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setAutoFillBackground(true);
    label->setFocusPolicy(Qt::NoFocus);
    widgets.captions.at(static_cast<std::size_t>(i)) = label;
  }
  for (FieldIndex i = 0; i < core::kFieldCount; ++i) {
    const FieldDescription& field = description.fields.at(static_cast<std::size_t>(i));
    auto* edit = new FieldEdit(input, i, window);
    edit->setGeometry(ToPixels(field.geometry));
    edit->setFrame(false);
    edit->setPalette(QApplication::palette(edit));  // the platform's own colours for editable text
    edit->setText(ToQString(field.initialText));
    edit->setReadOnly(field.readOnly);
    edit->setAccessibleName(QCoreApplication::translate("frmMain", field.accessibleName));
    edit->setAccessibleDescription(QCoreApplication::translate("frmMain", field.accessibleDescription));
    edit->setFocusPolicy(Qt::StrongFocus);
    widgets.captions.at(static_cast<std::size_t>(i))->setBuddy(edit);
    widgets.fields.at(static_cast<std::size_t>(i)) = edit;
    // Connected after the first text is set: opening the window runs no conversion.
    QObject::connect(edit, &QLineEdit::textChanged, edit, [&events, &lifetime, i] {
      if (!lifetime.IsClosed()) events.txt_Change(i);
    });
  }

  std::array<FieldIndex, core::kFieldCount> tabOrder{core::kDecimalField, core::kHexField,
                                                     core::kBinaryField};
  std::ranges::sort(tabOrder, {}, [&](FieldIndex i) {
    return description.fields.at(static_cast<std::size_t>(i)).tabIndex;
  });
  for (std::size_t i = 1; i < tabOrder.size(); ++i) {
    QWidget::setTabOrder(widgets.fields.at(static_cast<std::size_t>(tabOrder.at(i - 1))),
                         widgets.fields.at(static_cast<std::size_t>(tabOrder.at(i))));
  }
  widgets.fields.at(static_cast<std::size_t>(tabOrder.front()))->setFocus(Qt::OtherFocusReason);
  return widgets;
}

}  // namespace vostrel::platform::qt
