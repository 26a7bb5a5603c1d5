#include <QApplication>
#include <memory>

#include "vostrel/forms/frmMain.h"
#include "vostrel/platform/qt/qt_runtime.h"
#include "vostrel/platform/qt/qt_settings_store.h"

int main(int argc, char* argv[]) {
  if (!vostrel::platform::qt::PrepareApplication()) return 1;
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vostrel"));
  QApplication::setApplicationVersion(QStringLiteral("1.00"));

  vostrel::platform::qt::QtRuntime runtime(std::make_unique<vostrel::platform::qt::QtSettingsStore>());
  vostrel::forms::frmMain form(runtime);
  vostrel::platform::qt::CloseOnTerminationSignals(runtime);
  runtime.Load(vostrel::forms::frmMain::Description(), form);
  return QApplication::exec();
}
