// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The runtime on Qt 6 Widgets: a small façade over the rooms in src/, which build the window
// (window_builder), turn Qt's input into the handlers' calls (input_router), move the window (window_mover)
// and close it (lifetime).
#pragma once

#include <functional>
#include <memory>

#include "vostrel/platform/runtime.h"
#include "vostrel/platform/window_description.h"

class QLabel;
class QLineEdit;
class QWidget;

namespace vostrel::platform::qt {

class QtRuntime final : public Runtime {
 public:
  // `beep` sounds the system beep; tests pass one they can count.
  explicit QtRuntime(std::unique_ptr<SettingsStore> store, std::function<void()> beep = SystemBeep);
  ~QtRuntime() override;
  QtRuntime(const QtRuntime&) = delete;
  QtRuntime& operator=(const QtRuntime&) = delete;

  // Builds the window and its controls (hidden, "0" in each field, no handler run), wires their events to
  // `events`, gives the first field of the tab order the focus and raises Form_Load, which shows the window.
  void Load(const WindowDescription& description, WindowEvents& events);

  // The widgets, for tests that drive them.
  [[nodiscard]] QWidget* Window() const;
  [[nodiscard]] QLineEdit* Field(core::FieldIndex index) const;
  [[nodiscard]] QLabel* Caption(core::FieldIndex index) const;

  [[nodiscard]] core::Text FieldText(core::FieldIndex index) const override;
  void SetFieldText(core::FieldIndex index, core::TextView text) override;
  [[nodiscard]] std::optional<core::FieldIndex> ActiveField() const override;
  void SetFocus(core::FieldIndex index) override;
  [[nodiscard]] std::int32_t SelectionLength(core::FieldIndex index) const override;
  void SetSelection(core::FieldIndex index, std::int32_t start, std::int32_t length) override;
  [[nodiscard]] WindowGeometry Geometry() const override;
  [[nodiscard]] bool KnowsWindowPosition() const override;
  [[nodiscard]] WindowState State() const override;
  void MoveWindow(float left, float top) override;
  void CloseWindow() override;
  [[nodiscard]] bool IsClosed() const override;
  void StartInteractiveMove() override;
  void MakeTopmostAndShow() override;
  void Beep() override { beep_(); }
  void DoEvents() override;
  [[nodiscard]] ScreenSize PrimaryScreenSize() const override;
  [[nodiscard]] SettingsStore& Settings() override { return *store_; }

  // Closes the window for a reason from outside the window (a termination signal).
  void CloseFromOutside(UnloadReason reason);

  static void SystemBeep();

 private:
  // The window once loaded: its widgets, and what routes its input, moves it and runs its close.
  struct LoadedWindow;

  std::unique_ptr<SettingsStore> store_;
  std::function<void()> beep_;
  std::unique_ptr<LoadedWindow> window_;
};

// A termination signal (SIGTERM at the end of a session, SIGHUP, SIGINT) closes the window as any other close
// does, so its position is kept. Call before the window is loaded: a signal is acted on in the event loop.
// Where the platform has no such signals, nothing.
void CloseOnTerminationSignals(QtRuntime& runtime);

}  // namespace vostrel::platform::qt
