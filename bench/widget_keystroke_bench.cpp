// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// One typed character through the real window on the offscreen platform: the key event into the decimal
// field, the key rule, the field's edit, both other fields rewritten and repainted on the next pump. Beside
// it the floor: the same key events into a bare QLineEdit of the decimal field's size.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "vostrel/forms/frmMain.h"
#include "vostrel/platform/qt/qt_runtime.h"
#include "vostrel/platform/qt/qt_settings_store.h"

namespace {

using vostrel::core::kDecimalField;

// Types `key` and takes it back with Backspace, each followed by the event pump that paints what changed.
void TypeAndTakeBack(QWidget& field, Qt::Key key, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(&field, &press);
  QApplication::processEvents();
  QKeyEvent back(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
  QApplication::sendEvent(&field, &back);
  QApplication::processEvents();
}

// The field's own key handling differs when it has the focus: it has, once its window is the active one.
void WaitUntilActive(QWidget& window) {
  for (int pumps = 0; pumps < 1000 && QApplication::activeWindow() != &window; ++pumps) {
    QApplication::processEvents();
  }
}

void BM_WindowKeystroke(benchmark::State& state) {
  QTemporaryDir settings;
  vostrel::platform::qt::QtRuntime runtime(
      std::make_unique<vostrel::platform::qt::QtSettingsStore>(settings.path()), [] {});
  vostrel::forms::frmMain form(runtime);
  runtime.Load(vostrel::forms::frmMain::Description(), form);
  WaitUntilActive(*runtime.Window());
  QLineEdit& decimal = *runtime.Field(kDecimalField);
  decimal.setFocus();
  decimal.setText(QStringLiteral("21474836"));
  decimal.end(false);
  for (auto _ : state) TypeAndTakeBack(decimal, Qt::Key_4, QStringLiteral("4"));
  // Two keystrokes an iteration; each must have reached the other fields.
  state.SetItemsProcessed(2 * state.iterations());
  QLineEdit& hex = *runtime.Field(vostrel::core::kHexField);
  if (hex.text() != QStringLiteral("0147AE14")) {
    const std::string shown = "the hexadecimal field shows " + hex.text().toStdString();
    state.SkipWithError(shown.c_str());
  }
  runtime.CloseWindow();
}
BENCHMARK(BM_WindowKeystroke);

void BM_BareLineEditKeystroke(benchmark::State& state) {
  QLineEdit field;
  field.resize(65, 18);
  field.show();
  field.activateWindow();
  WaitUntilActive(field);
  field.setFocus();
  field.setText(QStringLiteral("21474836"));
  for (auto _ : state) TypeAndTakeBack(field, Qt::Key_4, QStringLiteral("4"));
  state.SetItemsProcessed(2 * state.iterations());
}
BENCHMARK(BM_BareLineEditKeystroke);

}  // namespace

int main(int argc, char** argv) {
  // No desktop needed, and none touched.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
