// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The program's only persistent state: entries of section "Main" under the product name, in the per-user
// store.
#pragma once

#include "vostrel/core/number_rendering.h"
#include "vostrel/platform/settings_store.h"

namespace vostrel::modAppSetting {

// The stored text of `key`, or `defaultText` when the entry is absent or cannot be read. Never fails.
[[nodiscard]] core::Text ReadSetting(platform::SettingsStore& store, core::TextView key,
                                     core::TextView defaultText);

// The stored text of `key` read as a decimal value, or `defaultValue` when the entry is absent, unreadable or
// not a whole number in the signed 32-bit range. Never fails.
[[nodiscard]] core::Value ReadSettingLong(platform::SettingsStore& store, core::TextView key,
                                          core::Value defaultValue);

// Stores `text` under `key`. A write that fails is dropped and the entry keeps its earlier text; nothing is
// reported.
void WriteSetting(platform::SettingsStore& store, core::TextView key, core::TextView text);

}  // namespace vostrel::modAppSetting
