// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The real window on the offscreen platform, with its settings in a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <utility>
#include <vector>

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

  // A field's context menu as the user opens it (the menu key, or a right click): each entry's text, and
  // whether it can be chosen. The menu is closed again.
  std::vector<std::pair<QString, bool>> ContextMenu(core::FieldIndex index) const {
    QContextMenuEvent open(QContextMenuEvent::Keyboard, QPoint(5, 9),
                           Field(index)->mapToGlobal(QPoint(5, 9)));
    QApplication::sendEvent(Field(index), &open);
    std::vector<std::pair<QString, bool>> entries;
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return entries;
    for (const QAction* action : menu->actions()) {
      if (!action->isSeparator()) entries.emplace_back(action->text(), action->isEnabled());
    }
    menu->close();
    return entries;
  }

  QTemporaryDir settingsFolder;
  int beeps = 0;  // system beeps the window asked for
  std::unique_ptr<platform::qt::QtRuntime> runtime;
  std::unique_ptr<forms::frmMain> form;
};

}  // namespace vostrel::testing
