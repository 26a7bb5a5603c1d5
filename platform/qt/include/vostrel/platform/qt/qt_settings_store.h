// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The per-user settings store through QSettings: an INI file under the user's configuration folder on Linux,
// the platform's native store elsewhere.
#pragma once

#include <QSet>
#include <QSettings>
#include <QString>
#include <optional>

#include "vostrel/platform/settings_store.h"

namespace vostrel::platform::qt {

class QtSettingsStore final : public SettingsStore {
 public:
  // With `configRoot`, entries live in "<configRoot>/<application>/<application>.conf" whatever the platform:
  // for tests, which must never touch the user's own settings.
  explicit QtSettingsStore(std::optional<QString> configRoot = std::nullopt);

  [[nodiscard]] std::optional<core::Text> ProductName() const override;
  [[nodiscard]] std::optional<core::Text> ReadSetting(core::TextView application, core::TextView section,
                                                      core::TextView key,
                                                      core::TextView defaultText) override;
  bool SaveSetting(core::TextView application, core::TextView section, core::TextView key,
                   core::TextView text) override;

 private:
  // Notes a store file that this QSettings could not parse: Qt says so only to the first reader of a process.
  void NoteIfDamaged(const QSettings& settings);
  // Whether the store's file could not be parsed at any time during this run.
  [[nodiscard]] bool IsDamaged(const QSettings& settings) const;
  // False when the store cannot be read, or is damaged.
  [[nodiscard]] bool Readable(const QSettings& settings) const;

  std::optional<QString> configRoot_;
  QSet<QString> damagedFiles_;
};

}  // namespace vostrel::platform::qt
