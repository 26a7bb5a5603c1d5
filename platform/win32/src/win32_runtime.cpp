// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "vostrel/platform/win32/win32_runtime.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "loaded_window.h"
#include "primary_density.h"
#include "text.h"
#include "twips.h"
#include "window_mover.h"

namespace vostrel::platform::win32 {
namespace {

// Restores the flag that tells the program's own field writes from other programs' on leaving.
class OwnWrite {
 public:
  explicit OwnWrite(bool& flag) : flag_(flag), before_(std::exchange(flag, true)) {}
  ~OwnWrite() { flag_ = before_; }
  OwnWrite(const OwnWrite&) = delete;
  OwnWrite& operator=(const OwnWrite&) = delete;

 private:
  bool& flag_;
  bool before_;
};

}  // namespace

Win32Runtime::Win32Runtime(std::unique_ptr<SettingsStore> store, UINT (*primaryDpi)())
    : store_(std::move(store)), primaryDpi_(primaryDpi != nullptr ? primaryDpi : &PrimaryDpi) {}

Win32Runtime::~Win32Runtime() {
  Detach();
}

void Win32Runtime::Detach() {
  // A window still there (a start that failed half way, a second Load) goes without raising a handler: the
  // fields get their own procedures back and no procedure finds the runtime any more.
  if (!window_ || !IsWindow(window_->controls.window)) return;
  for (std::size_t i = 0; i < window_->controls.fields.size(); ++i) {
    const HWND field = window_->controls.fields.at(i);
    if (field == nullptr) continue;
    SetWindowLongPtrW(field, GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(window_->controls.editProcedures.at(i)));
    SetWindowLongPtrW(field, GWLP_USERDATA, 0);
  }
  SetWindowLongPtrW(window_->controls.window, GWLP_USERDATA, 0);
}

void Win32Runtime::Beep() {
  MessageBeep(MB_OK);
}

bool Win32Runtime::Load(const WindowDescription& description, WindowEvents& events, int showCommand) {
  showCommand_ = showCommand;
  Detach();
  window_ = std::make_unique<LoadedWindow>(description, events);
  if (!BuildWindow(description, window_.get(), WindowProcedure, FieldProcedure, window_->controls))
    return false;
  events.Form_Load();
  // Shown without becoming active (started from a program in the background): the focus is set all the same.
  if (!IsClosed() && !window_->input.FocusedField()) window_->input.WindowActivated();
  return true;
}

int Win32Runtime::Run() {
  MSG message{};
  BOOL got = 0;
  while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return got == 0 ? static_cast<int>(message.wParam) : 1;
}

void Win32Runtime::DoEvents() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));  // for the message loop, which ends on it
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

core::Text Win32Runtime::FieldText(core::FieldIndex index) const {
  const HWND field = window_->controls.fields.at(static_cast<std::size_t>(index));
  std::vector<wchar_t> text(static_cast<std::size_t>(GetWindowTextLengthW(field)) + 1);
  const int length = GetWindowTextW(field, text.data(), static_cast<int>(text.size()));
  return ToText(std::wstring_view(text.data(), static_cast<std::size_t>(std::max(length, 0))));
}

void Win32Runtime::SetFieldText(core::FieldIndex index, core::TextView text) {
  // The field reports a change for every write; only a changed text is one.
  if (FieldText(index) == text) return;
  const OwnWrite own(window_->writingField);
  SetWindowTextW(window_->controls.fields.at(static_cast<std::size_t>(index)), ToWide(text).c_str());
}

std::optional<core::FieldIndex> Win32Runtime::ActiveField() const {
  return window_->input.FocusedField();
}

void Win32Runtime::SetFocus(core::FieldIndex index) {
  window_->input.FocusField(index);
}

std::int32_t Win32Runtime::SelectionLength(core::FieldIndex index) const {
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(window_->controls.fields.at(static_cast<std::size_t>(index)), EM_GETSEL,
               reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return end > start ? static_cast<std::int32_t>(end - start) : 0;
}

void Win32Runtime::SetSelection(core::FieldIndex index, std::int32_t start, std::int32_t length) {
  const HWND field = window_->controls.fields.at(static_cast<std::size_t>(index));
  const std::int32_t size = GetWindowTextLengthW(field);
  const std::int32_t from = std::clamp(start, 0, size);
  const std::int32_t to = from + std::clamp(length, 0, size - from);
  SendMessageW(field, EM_SETSEL, static_cast<WPARAM>(from), static_cast<LPARAM>(to));
}

WindowGeometry Win32Runtime::Geometry() const {
  RECT rect{};
  GetWindowRect(window_->controls.window, &rect);
  return GeometryInTwips(rect, primaryDpi_());
}

WindowState Win32Runtime::State() const {
  if (IsIconic(window_->controls.window)) return WindowState::kMinimised;
  if (IsZoomed(window_->controls.window)) return WindowState::kMaximised;
  return WindowState::kNormal;
}

void Win32Runtime::MoveWindow(float left, float top) {
  const POINT at = PositionInPixels(left, top, primaryDpi_());
  SetWindowPos(window_->controls.window, nullptr, at.x, at.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Runtime::CloseWindow() {
  if (window_) window_->lifetime.Close(UnloadReason::kCode);
}

bool Win32Runtime::IsClosed() const {
  return window_ && window_->lifetime.IsClosed();
}

void Win32Runtime::StartInteractiveMove() {
  StartSystemMove(window_->controls.window);
}

void Win32Runtime::MakeTopmostAndShow() {
  const HWND window = window_->controls.window;
  // Started minimised (a shortcut's Run setting, start /min): topmost all the same, shown on the taskbar
  // only. Other start-up settings (maximised, hidden) make no sense for the strip, which shows as it is.
  switch (showCommand_) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE:
      SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
      ShowWindow(window, SW_SHOWMINNOACTIVE);
      return;
    default:
      break;
  }
  // Above every other window from now on, shown where it was placed (flags 0x0043).
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
  SetForegroundWindow(window);
}

ScreenSize Win32Runtime::PrimaryScreenSize() const {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor)) return {0, 0};
  return ScreenInTwips(monitor.rcMonitor, primaryDpi_());
}

}  // namespace vostrel::platform::win32
