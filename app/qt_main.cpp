// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include <QApplication>
#include <memory>

#include "vostrel/forms/frmMain.h"
#include "vostrel/platform/qt/qt_runtime.h"
#include "vostrel/platform/qt/qt_settings_store.h"
#include "vostrel/platform/qt/start_up.h"

int main(int argc, char* argv[]) {
  QApplication::setApplicationName(QStringLiteral("Vostrel"));
  QApplication::setApplicationVersion(QStringLiteral("1.00"));
  if (const auto exitStatus = vostrel::platform::qt::PrepareApplication(argc, argv)) return *exitStatus;
  QApplication application(argc, argv);
  vostrel::platform::qt::InstallTranslations(application);

  vostrel::platform::qt::QtRuntime runtime(std::make_unique<vostrel::platform::qt::QtSettingsStore>());
  vostrel::forms::frmMain form(runtime);
  vostrel::platform::qt::CloseOnTerminationSignals(runtime);
  runtime.Load(vostrel::forms::frmMain::Description(), form);
  return QApplication::exec();
}
