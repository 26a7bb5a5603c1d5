// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The floor that Windows itself sets: a frameless window of the program's size with three captions and three
// fields, shown above the others, and nothing else.
#include <windows.h>

namespace {

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"Win32Floor";
  RegisterClassExW(&windowClass);
  const HWND window = CreateWindowExW(WS_EX_APPWINDOW, L"Win32Floor", L"Win32Floor", WS_POPUP, 100, 100, 505,
                                      18, nullptr, nullptr, instance, nullptr);
  const int left[] = {6, 124, 242};
  for (const int x : left) {
    CreateWindowExW(0, L"STATIC", L"label", WS_CHILD | WS_VISIBLE, x, 3, 48, 15, window, nullptr, instance,
                    nullptr);
    CreateWindowExW(0, L"EDIT", L"0", WS_CHILD | WS_VISIBLE, x + 48, 0, 65, 18, window, nullptr, instance,
                    nullptr);
  }
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
