// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The runtime on the Win32 API: a small façade over the rooms in src/, which build the window
// (window_builder), route its messages (window_procedures), turn input into the handlers' calls
// (input_router), move the window (window_mover) and close it (lifetime).
#pragma once

#include <windows.h>

#include <memory>

#include "vostrel/platform/runtime.h"
#include "vostrel/platform/window_description.h"

namespace vostrel::platform::win32 {

struct LoadedWindow;

class Win32Runtime final : public Runtime {
 public:
  // `primaryDpi` tells the primary monitor's density, which every position and size is measured in; by
  // default the monitor's own. Tests pass one of their own.
  explicit Win32Runtime(std::unique_ptr<SettingsStore> store, UINT (*primaryDpi)() = nullptr);
  ~Win32Runtime() override;
  Win32Runtime(const Win32Runtime&) = delete;
  Win32Runtime& operator=(const Win32Runtime&) = delete;

  // Builds the window and its controls (hidden, "0" in each field, no handler run), wires their events to
  // `events` and raises Form_Load, which shows the window as `showCommand` asks (the program's start-up
  // setting, such as a shortcut's "Run: Minimised"); then the first field of the tab order takes the focus.
  // False when the window could not be made.
  [[nodiscard]] bool Load(const WindowDescription& description, WindowEvents& events,
                          int showCommand = SW_SHOWNORMAL);
  // Handles the window's messages until it has closed; the program's exit status.
  int Run();

  [[nodiscard]] core::Text FieldText(core::FieldIndex index) const override;
  void SetFieldText(core::FieldIndex index, core::TextView text) override;
  [[nodiscard]] std::optional<core::FieldIndex> ActiveField() const override;
  void SetFocus(core::FieldIndex index) override;
  [[nodiscard]] std::int32_t SelectionLength(core::FieldIndex index) const override;
  void SetSelection(core::FieldIndex index, std::int32_t start, std::int32_t length) override;
  [[nodiscard]] WindowGeometry Geometry() const override;
  [[nodiscard]] bool KnowsWindowPosition() const override { return true; }
  [[nodiscard]] WindowState State() const override;
  void MoveWindow(float left, float top) override;
  void CloseWindow() override;
  [[nodiscard]] bool IsClosed() const override;
  void StartInteractiveMove() override;
  void MakeTopmostAndShow() override;
  void Beep() override;
  void DoEvents() override;
  [[nodiscard]] ScreenSize PrimaryScreenSize() const override;
  [[nodiscard]] SettingsStore& Settings() override { return *store_; }

 private:
  // Lets go of the window: its procedures no longer reach the runtime.
  void Detach();

  std::unique_ptr<SettingsStore> store_;
  std::unique_ptr<LoadedWindow> window_;
  int showCommand_ = SW_SHOWNORMAL;
  UINT (*primaryDpi_)();
};

}  // namespace vostrel::platform::win32
