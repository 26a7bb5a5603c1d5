// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "vostrel/platform/qt/qt_settings_store.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <memory>

#include "vostrel/platform/qt/text.h"

namespace vostrel::platform::qt {
namespace {

QString EntryKey(core::TextView section, core::TextView key) {
  return ToQString(section) + QLatin1Char('/') + ToQString(key);
}

}  // namespace

QtSettingsStore::QtSettingsStore(std::optional<QString> configRoot) : configRoot_(std::move(configRoot)) {}

std::optional<core::Text> QtSettingsStore::ProductName() const {
  const QString name = QCoreApplication::applicationName();
  if (name.isEmpty()) return std::nullopt;
  return ToText(name);
}

namespace {

std::unique_ptr<QSettings> Open(const std::optional<QString>& configRoot, core::TextView application) {
  const QString name = ToQString(application);
  if (configRoot) {
    return std::make_unique<QSettings>(
        *configRoot + QLatin1Char('/') + name + QLatin1Char('/') + name + QStringLiteral(".conf"),
        QSettings::IniFormat);
  }
  return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, name, name);
}

}  // namespace

std::optional<core::Text> QtSettingsStore::ReadSetting(core::TextView application, core::TextView section,
                                                       core::TextView key, core::TextView defaultText) {
  const auto settings = Open(configRoot_, application);
  NoteIfDamaged(*settings);
  if (!Readable(*settings)) return std::nullopt;
  const QVariant stored = settings->value(EntryKey(section, key));
  if (!stored.isValid()) return core::Text(defaultText);
  // An entry that is not one plain text (a list, say) is not one of ours: treat it as unreadable.
  if (stored.typeId() != QMetaType::QString) return std::nullopt;
  return ToText(stored.toString());
}

bool QtSettingsStore::SaveSetting(core::TextView application, core::TextView section, core::TextView key,
                                  core::TextView text) {
  auto settings = Open(configRoot_, application);
  NoteIfDamaged(*settings);
  if (IsDamaged(*settings)) {
    // A file that cannot be parsed is replaced whole: writing into it would keep whatever Qt made of it.
    const QString damaged = settings->fileName();
    settings.reset();
    if (QFileInfo(damaged).isFile() && !QFile::remove(damaged)) return false;
    damagedFiles_.remove(damaged);
    settings = Open(configRoot_, application);
  }
  if (settings->status() != QSettings::NoError || !settings->isWritable()) return false;
  settings->setValue(EntryKey(section, key), ToQString(text));
  // sync() writes a new file and renames it into place under a lock file, so a crash or a second copy closing
  // at the same moment leaves a whole file.
  settings->sync();
  return settings->status() == QSettings::NoError;
}

void QtSettingsStore::NoteIfDamaged(const QSettings& settings) {
  // Remembered, so that every read of this run gives the same answer.
  if (settings.status() == QSettings::FormatError) damagedFiles_.insert(settings.fileName());
}

bool QtSettingsStore::IsDamaged(const QSettings& settings) const {
  return damagedFiles_.contains(settings.fileName());
}

bool QtSettingsStore::Readable(const QSettings& settings) const {
  return !IsDamaged(settings) && settings.status() == QSettings::NoError;
}

}  // namespace vostrel::platform::qt
