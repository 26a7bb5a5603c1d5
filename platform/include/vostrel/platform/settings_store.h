// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The per-user settings store and the product name that addresses it.
#pragma once

#include <optional>

#include "vostrel/core/vocabulary.h"

namespace vostrel::platform {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // The application's product name, or nullopt when it cannot be had.
  [[nodiscard]] virtual std::optional<core::Text> ProductName() const = 0;

  // The stored text of (application, section, key); `defaultText` when the entry does not exist; nullopt when
  // the store cannot be read.
  [[nodiscard]] virtual std::optional<core::Text> ReadSetting(core::TextView application,
                                                              core::TextView section, core::TextView key,
                                                              core::TextView defaultText) = 0;

  // Creates or replaces the entry. False when it could not be written; the earlier text then stays.
  virtual bool SaveSetting(core::TextView application, core::TextView section, core::TextView key,
                           core::TextView text) = 0;
};

}  // namespace vostrel::platform
