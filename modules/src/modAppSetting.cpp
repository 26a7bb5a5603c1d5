// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "vostrel/modules/modAppSetting.h"

namespace vostrel::modAppSetting {
namespace {

constexpr core::TextView kSection = u"Main";

}  // namespace

core::Text ReadSetting(platform::SettingsStore& store, core::TextView key, core::TextView defaultText) {
  // The application name is asked afresh each time: nothing of the store is cached here.
  const auto application = store.ProductName();
  if (!application) return core::Text(defaultText);
  auto stored = store.ReadSetting(*application, kSection, key, defaultText);
  return stored ? std::move(*stored) : core::Text(defaultText);
}

core::Value ReadSettingLong(platform::SettingsStore& store, core::TextView key, core::Value defaultValue) {
  const core::Text text = ReadSetting(store, key, core::FormatDecimalText(defaultValue));
  return core::ParseDecimalText(text).value_or(defaultValue);
}

void WriteSetting(platform::SettingsStore& store, core::TextView key, core::TextView text) {
  const core::Text copy(text);
  if (const auto application = store.ProductName()) {
    // A failed write leaves the earlier entry; there is nobody to tell.
    static_cast<void>(store.SaveSetting(*application, kSection, key, copy));
  }
}

}  // namespace vostrel::modAppSetting
