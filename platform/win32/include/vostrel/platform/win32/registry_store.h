// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The per-user settings: entry (application, section, key) is the REG_SZ value `key` of
// HKEY_CURRENT_USER\Software\<application>\<section>.
#pragma once

#include <windows.h>

#include "vostrel/platform/settings_store.h"

namespace vostrel::platform::win32 {

class RegistryStore final : public SettingsStore {
 public:
  // `productName` addresses the entries. `root` holds the Software key; tests pass a key of their own.
  explicit RegistryStore(core::Text productName, HKEY root = HKEY_CURRENT_USER);

  [[nodiscard]] std::optional<core::Text> ProductName() const override;
  // Nullopt when the value exists but is no text (REG_SZ) or cannot be read.
  [[nodiscard]] std::optional<core::Text> ReadSetting(core::TextView application, core::TextView section,
                                                      core::TextView key,
                                                      core::TextView defaultText) override;
  bool SaveSetting(core::TextView application, core::TextView section, core::TextView key,
                   core::TextView text) override;

 private:
  core::Text productName_;
  HKEY root_;
};

}  // namespace vostrel::platform::win32
