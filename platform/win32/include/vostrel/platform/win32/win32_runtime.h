// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The runtime on the Win32 API: a small façade over the rooms in src/.
#pragma once

#include <windows.h>

#include <memory>
#include <string_view>

#include "vostrel/platform/runtime.h"
#include "vostrel/platform/window_description.h"

namespace vostrel::platform::win32 {

// Names the settings and the window class, by which the installer finds a running strip to close before it
// upgrades (resources/windows/vostrel.nsi): the two change together.
inline constexpr std::wstring_view kProductName = L"Vostrel";

struct LoadedWindow;

class Win32Runtime final : public Runtime {
 public:
  explicit Win32Runtime(std::unique_ptr<SettingsStore> store);
  ~Win32Runtime() override;

  // Builds the window (hidden, "0" in each field, no handler run) and raises Form_Load, which shows it as
  // `showCommand` asks (the start-up setting: a shortcut's "Run: Minimised"). False when it could not be
  // made.
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
  void Beep() override { MessageBeep(MB_OK); }
  void DoEvents() override;
  [[nodiscard]] ScreenSize PrimaryScreenSize() const override;
  [[nodiscard]] SettingsStore& Settings() override { return *store_; }

 private:
  std::unique_ptr<SettingsStore> store_;
  std::unique_ptr<LoadedWindow> window_;
  int showCommand_ = SW_SHOWNORMAL;
};

}  // namespace vostrel::platform::win32
