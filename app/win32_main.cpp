// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include <windows.h>

#include <memory>

#include "vostrel/forms/frmMain.h"
#include "vostrel/platform/win32/registry_store.h"
#include "vostrel/platform/win32/win32_runtime.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int show) {
  using vostrel::platform::win32::kProductName;
  vostrel::platform::win32::Win32Runtime runtime(std::make_unique<vostrel::platform::win32::RegistryStore>(
      vostrel::core::Text(kProductName.begin(), kProductName.end())));
  vostrel::forms::frmMain form(runtime);
  if (!runtime.Load(vostrel::forms::frmMain::Description(), form, show)) return 1;
  return runtime.Run();
}
