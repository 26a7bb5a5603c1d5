// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "vostrel/platform/win32/win32_runtime.h"

#include <algorithm>
#include <string>

#include "loaded_window.h"
#include "text.h"
#include "twips.h"
#include "window_mover.h"

namespace vostrel::platform::win32 {
namespace {

// Sees what the thread takes from its queue, in the system's own loops too (a move, a menu). Only the system
// sends the messages that carry a pointer: one from the queue was posted by another program, and is dropped.
LRESULT CALLBACK DropPostedPointers(int code, WPARAM removed, LPARAM taken) {
  if (auto* message = reinterpret_cast<MSG*>(taken); code == HC_ACTION && message->message == WM_DPICHANGED)
    message->message = WM_NULL;
  return CallNextHookEx(nullptr, code, removed, taken);
}

bool Minimised(int showCommand) {
  return showCommand == SW_SHOWMINIMIZED || showCommand == SW_MINIMIZE || showCommand == SW_SHOWMINNOACTIVE ||
         showCommand == SW_FORCEMINIMIZE;
}

// Started minimised, or by a program that keeps the user where they are: the focus stays where it is.
bool LeavesFocusAlone(int showCommand) {
  return Minimised(showCommand) || showCommand == SW_SHOWNOACTIVATE || showCommand == SW_SHOWNA;
}

}  // namespace

Win32Runtime::Win32Runtime(std::unique_ptr<SettingsStore> store) : store_(std::move(store)) {}

Win32Runtime::~Win32Runtime() = default;

bool Win32Runtime::Load(const WindowDescription& description, WindowEvents& events, int showCommand) {
  showCommand_ = showCommand;
  window_.reset();  // the window of an earlier Load goes before another is made
  window_ = std::make_unique<LoadedWindow>(description, events);
  if (!BuildWindow(description, window_.get(), WindowProcedure, FieldProcedure, window_->controls))
    return false;
  window_->controls.queueHook =
      SetWindowsHookExW(WH_GETMESSAGE, DropPostedPointers, nullptr, GetCurrentThreadId());
  events.Form_Load();
  if (IsClosed() || window_->input.FocusedField()) return true;
  // Left in the background, the window's focused field takes the focus when the user comes to the window.
  if (LeavesFocusAlone(showCommand))
    window_->input.FieldFocused(window_->controls.tabOrder.front());
  else
    window_->input.WindowActivated();  // also where the window did not become active
  return true;
}

int Win32Runtime::Run() {
  MSG message{};
  BOOL got = 0;
  // Until the window has closed: a loop of the system's own (a move's) may take the WM_QUIT its end posts.
  while (!IsClosed() && (got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
    if (IsDialogMessageW(window_->controls.window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return got < 0 ? 1 : 0;
}

void Win32Runtime::DoEvents() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) return PostQuitMessage(static_cast<int>(message.wParam));  // for Run
    if (IsDialogMessageW(window_->controls.window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

core::Text Win32Runtime::FieldText(core::FieldIndex index) const {
  const HWND field = window_->controls.fields.at(static_cast<std::size_t>(index));
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      std::max(GetWindowTextW(field, text.data(), static_cast<int>(text.size())), 0)));
  return ToText(text);
}

void Win32Runtime::SetFieldText(core::FieldIndex index, core::TextView text) {
  // The field reports a change for every write; only a changed text is one.
  if (FieldText(index) == text) return;
  // The field takes the text before it reports the change, whose handler may write other fields.
  window_->input.writingField = true;
  SetWindowTextW(window_->controls.fields.at(static_cast<std::size_t>(index)), ToWide(text).c_str());
  window_->input.writingField = false;
}

std::optional<core::FieldIndex> Win32Runtime::ActiveField() const {
  return window_->input.FocusedField();
}

void Win32Runtime::SetFocus(core::FieldIndex index) {
  window_->input.FocusField(index);
}

std::int32_t Win32Runtime::SelectionLength(core::FieldIndex index) const {
  // Its start and end in the low and high words: an edit holds far fewer than 65,536 characters.
  const auto selection =
      SendMessageW(window_->controls.fields.at(static_cast<std::size_t>(index)), EM_GETSEL, 0, 0);
  return HIWORD(selection) - LOWORD(selection);
}

void Win32Runtime::SetSelection(core::FieldIndex index, std::int32_t start, std::int32_t length) {
  // The field shortens a selection that runs past its text.
  SendMessageW(window_->controls.fields.at(static_cast<std::size_t>(index)), EM_SETSEL,
               static_cast<WPARAM>(std::max(start, 0)),
               static_cast<LPARAM>(std::max(start, 0) + std::max(length, 0)));
}

WindowGeometry Win32Runtime::Geometry() const {
  RECT rect{};
  GetWindowRect(window_->controls.window, &rect);
  const UINT dpi = window_->controls.primaryDpi;
  return {ToTwips(rect.left, dpi), ToTwips(rect.top, dpi), ToTwips(rect.right - rect.left, dpi),
          ToTwips(rect.bottom - rect.top, dpi)};
}

WindowState Win32Runtime::State() const {
  if (IsIconic(window_->controls.window)) return WindowState::kMinimised;
  if (IsZoomed(window_->controls.window)) return WindowState::kMaximised;
  return WindowState::kNormal;
}

void Win32Runtime::MoveWindow(float left, float top) {
  const UINT dpi = window_->controls.primaryDpi;
  SetWindowPos(window_->controls.window, nullptr, ToPixels(left, dpi), ToPixels(top, dpi), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Runtime::CloseWindow() {
  if (window_) window_->lifetime.Close(UnloadReason::kCode);
}

bool Win32Runtime::IsClosed() const {
  return window_ && window_->lifetime.IsClosed();
}

void Win32Runtime::StartInteractiveMove() {
  StartSystemMove(window_->controls.window, window_->input.pressedAt);
}

void Win32Runtime::MakeTopmostAndShow() {
  const HWND window = window_->controls.window;
  // Above every other window from now on, shown where it was placed (flags 0x0043, with SWP_NOACTIVATE where
  // it leaves the focus alone); started minimised, on the taskbar only. Maximised makes no sense for the
  // strip.
  const bool minimised = Minimised(showCommand_);
  const bool activates = !LeavesFocusAlone(showCommand_);
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | (minimised ? 0 : SWP_SHOWWINDOW) | (activates ? 0 : SWP_NOACTIVATE));
  if (minimised) {
    ShowWindow(window, SW_SHOWMINNOACTIVE);
  } else if (activates) {
    SetForegroundWindow(window);
  }
}

ScreenSize Win32Runtime::PrimaryScreenSize() const {
  const UINT dpi = window_->controls.primaryDpi;
  return {ToTwips(GetSystemMetrics(SM_CXSCREEN), dpi), ToTwips(GetSystemMetrics(SM_CYSCREEN), dpi)};
}

}  // namespace vostrel::platform::win32
