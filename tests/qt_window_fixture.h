// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The real window on the offscreen platform, with its settings in a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "qt_printing.h"
#include "vostrel/forms/frmMain.h"
#include "vostrel/platform/qt/qt_runtime.h"
#include "vostrel/platform/qt/qt_settings_store.h"

namespace vostrel::testing {

class QtWindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    runtime = std::make_unique<platform::qt::QtRuntime>(
        std::make_unique<platform::qt::QtSettingsStore>(settingsFolder.path()), [this] { ++beeps; });
    form = std::make_unique<forms::frmMain>(*runtime);
    runtime->Load(forms::frmMain::Description(), *form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(runtime->Window()));
  }

  void TearDown() override {
    runtime->CloseWindow();
    runtime.reset();  // the widgets go before the handlers they call
  }

  QLineEdit* Field(core::FieldIndex index) const { return runtime->Field(index); }

  QTemporaryDir settingsFolder;
  int beeps = 0;  // system beeps the window asked for
  std::unique_ptr<platform::qt::QtRuntime> runtime;
  std::unique_ptr<forms::frmMain> form;
};

}  // namespace vostrel::testing
