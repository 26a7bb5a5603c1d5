// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The real window in the test's own process, built on its thread by the Win32 runtime from frmMain as the
// program builds it, with its settings under a key of the test's own: never the user's. Closed after each
// case, with nothing left in the thread's queue for the next. The thread is the program's: what it needs (a
// COM apartment for screen readers) the program must make itself, so the fixture makes none.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "vostrel/forms/frmMain.h"
#include "vostrel/platform/win32/registry_store.h"
#include "vostrel/platform/win32/win32_runtime.h"
#include "window_builder.h"  // the controls' identifiers

namespace vostrel::testing {

class Win32WindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &settings_, nullptr),
              ERROR_SUCCESS);
    runtime =
        std::make_unique<platform::win32::Win32Runtime>(std::make_unique<platform::win32::RegistryStore>(
            core::Text(platform::win32::kProductName.begin(), platform::win32::kProductName.end()),
            settings_));
    form = std::make_unique<forms::frmMain>(*runtime);
    ASSERT_TRUE(runtime->Load(forms::frmMain::Description(), *form, showCommand));
    EnumThreadWindows(GetCurrentThreadId(), &FindProgramWindow, reinterpret_cast<LPARAM>(&window));
    ASSERT_NE(window, nullptr);
  }

  void TearDown() override {
    if (window != nullptr) runtime->CloseWindow();
    // The close's WM_QUIT among them.
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    runtime.reset();  // the window goes before the handlers it calls
    form.reset();
    RegCloseKey(settings_);
    RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str());
  }

  [[nodiscard]] HWND Field(core::FieldIndex index) const {
    return GetDlgItem(window, platform::win32::kFieldId + index);
  }

  // The stored position, as text; none where nothing is stored.
  [[nodiscard]] std::optional<std::wstring> Stored(const wchar_t* name) const {
    wchar_t text[64]{};
    DWORD bytes = sizeof text;
    if (RegGetValueW(settings_, L"Software\\Vostrel\\Main", name, RRF_RT_REG_SZ, nullptr, text, &bytes) !=
        ERROR_SUCCESS)
      return std::nullopt;
    return text;
  }

  // How the window is loaded: a test sets it in its constructor.
  int showCommand = SW_SHOWNORMAL;

  std::unique_ptr<platform::win32::Win32Runtime> runtime;
  std::unique_ptr<forms::frmMain> form;
  HWND window = nullptr;

 private:
  static BOOL CALLBACK FindProgramWindow(HWND candidate, LPARAM found) {
    wchar_t name[16] = {};
    GetClassNameW(candidate, name, 16);
    if (name != platform::win32::kProductName) return TRUE;
    *reinterpret_cast<HWND*>(found) = candidate;
    return FALSE;
  }

  const std::wstring key_ = L"Software\\Vostrel tests\\window " + std::to_wstring(GetCurrentProcessId());
  HKEY settings_ = nullptr;
};

}  // namespace vostrel::testing
