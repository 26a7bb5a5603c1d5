// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "vostrel/platform/qt/qt_runtime.h"

#include <QApplication>
#include <QLineEdit>
#include <QScreen>
#include <algorithm>

#include "input_router.h"
#include "lifetime.h"
#include "twips.h"
#include "vostrel/platform/qt/text.h"
#include "window_builder.h"
#include "window_mover.h"

namespace vostrel::platform::qt {

using core::FieldIndex;

struct QtRuntime::LoadedWindow {
  LoadedWindow(WindowEvents& events, const WindowDescription& description)
      : lifetime(events),
        input(events, lifetime, mover),
        widgets(BuildWindow(description, events, input, lifetime)) {
    lifetime.Watch(*widgets.window);
  }

  Lifetime lifetime;
  WindowMover mover;
  InputRouter input;
  WindowWidgets widgets;
};

QtRuntime::QtRuntime(std::unique_ptr<SettingsStore> store, std::function<void()> beep)
    : store_(std::move(store)), beep_(std::move(beep)) {}

QtRuntime::~QtRuntime() = default;

void QtRuntime::SystemBeep() {
  QApplication::beep();
}

void QtRuntime::Load(const WindowDescription& description, WindowEvents& events) {
  window_ = std::make_unique<LoadedWindow>(events, description);
  events.Form_Load();
}

QWidget* QtRuntime::Window() const {
  return window_->widgets.window.get();
}

QLineEdit* QtRuntime::Field(FieldIndex index) const {
  return window_->widgets.fields.at(static_cast<std::size_t>(index));
}

QLabel* QtRuntime::Caption(FieldIndex index) const {
  return window_->widgets.captions.at(static_cast<std::size_t>(index));
}

core::Text QtRuntime::FieldText(FieldIndex index) const {
  return ToText(Field(index)->text());
}

void QtRuntime::SetFieldText(FieldIndex index, core::TextView text) {
  Field(index)->setText(ToQString(text));
}

std::optional<FieldIndex> QtRuntime::ActiveField() const {
  // The window's own focus widget: valid also while another application is active.
  const QWidget* focused = Window()->focusWidget();
  for (FieldIndex i = 0; i < core::kFieldCount; ++i) {
    if (focused == Field(i)) return i;
  }
  return std::nullopt;
}

void QtRuntime::SetFocus(FieldIndex index) {
  Field(index)->setFocus(Qt::OtherFocusReason);
}

std::int32_t QtRuntime::SelectionLength(FieldIndex index) const {
  return static_cast<std::int32_t>(Field(index)->selectedText().size());
}

void QtRuntime::SetSelection(FieldIndex index, std::int32_t start, std::int32_t length) {
  QLineEdit* field = Field(index);
  const auto size = static_cast<std::int32_t>(field->text().size());
  const std::int32_t from = std::clamp(start, 0, size);
  field->setSelection(from, std::clamp(length, 0, size - from));
}

namespace {

// The primary screen's area, in pixels. While screens change (a monitor unplugged, a remote session
// reconnecting) there may be none: then the window's own size from the origin, so that a window placed then
// opens at the corner and one closed then still stores where it is.
QRect PrimaryArea(const QWidget& window) {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) return screen->geometry();
  return {QPoint(0, 0), window.frameGeometry().size()};
}

}  // namespace

WindowGeometry QtRuntime::Geometry() const {
  const QRect frame = Window()->frameGeometry();
  const QPoint origin = PrimaryArea(*Window()).topLeft();
  return {ToTwips(frame.x() - origin.x()), ToTwips(frame.y() - origin.y()), ToTwips(frame.width()),
          ToTwips(frame.height())};
}

bool QtRuntime::KnowsWindowPosition() const {
  // A Wayland client is never told where its window is; Qt then reports a made-up position.
  return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

WindowState QtRuntime::State() const {
  const Qt::WindowStates state = Window()->windowState();
  if (state & Qt::WindowMinimized) return WindowState::kMinimised;
  if (state & (Qt::WindowMaximized | Qt::WindowFullScreen)) return WindowState::kMaximised;
  return WindowState::kNormal;
}

void QtRuntime::MoveWindow(float left, float top) {
  const QPoint origin = PrimaryArea(*Window()).topLeft();
  Window()->move(origin + QPoint(ToPixels(left), ToPixels(top)));
}

void QtRuntime::CloseWindow() {
  if (window_) window_->lifetime.Close(UnloadReason::kCode);
}

void QtRuntime::CloseFromOutside(UnloadReason reason) {
  if (window_) window_->lifetime.Close(reason);
}

bool QtRuntime::IsClosed() const {
  return window_ && window_->lifetime.IsClosed();
}

void QtRuntime::StartInteractiveMove() {
  window_->mover.Start(*Window());
}

void QtRuntime::MakeTopmostAndShow() {
  // Qt::WindowStaysOnTopHint was set with the window's flags, before it was ever shown.
  QWidget* window = Window();
  window->show();
  window->raise();
  window->activateWindow();
}

void QtRuntime::DoEvents() {
  QCoreApplication::processEvents();
}

ScreenSize QtRuntime::PrimaryScreenSize() const {
  const QSize size = PrimaryArea(*Window()).size();
  return {ToTwips(size.width()), ToTwips(size.height())};
}

}  // namespace vostrel::platform::qt
