// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "vostrel/platform/qt/start_up.h"

namespace vostrel::platform::qt {
namespace {

void Install(QCoreApplication& application, const QString& catalogue, const QString& folder) {
  auto* translator = new QTranslator(&application);
  // Tries the locale's languages in turn ("zh_CN", then "zh"); none found leaves the source texts.
  if (translator->load(QLocale(), catalogue, QStringLiteral("_"), folder)) {
    QCoreApplication::installTranslator(translator);
  } else {
    delete translator;
  }
}

}  // namespace

void InstallTranslations(QCoreApplication& application) {
  Install(application, QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  Install(application, QStringLiteral("vostrel"), QStringLiteral(":/i18n"));
}

}  // namespace vostrel::platform::qt
