// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// Everything the window's handlers take from the platform, and the events the platform raises in them.
#pragma once

#include <cstdint>
#include <optional>

#include "vostrel/core/vocabulary.h"
#include "vostrel/platform/settings_store.h"

namespace vostrel::platform {

// Mouse button codes and shift-state bits as the mouse events carry them.
inline constexpr std::int16_t kLeftButton = 1;
inline constexpr std::int16_t kRightButton = 2;
inline constexpr std::int16_t kMiddleButton = 4;
inline constexpr std::int16_t kShiftMask = 1;
inline constexpr std::int16_t kCtrlMask = 2;
inline constexpr std::int16_t kAltMask = 4;

enum class WindowState : std::int16_t { kNormal = 0, kMinimised = 1, kMaximised = 2 };

// Why the window is closing, as the query-unload event reports it.
enum class UnloadReason : std::int16_t { kUser = 0, kCode = 1, kSessionEnd = 2, kTerminated = 3 };

// Left, top, width and height in twips from the primary screen's top-left corner.
struct WindowGeometry {
  float left, top, width, height;
};

struct ScreenSize {
  float width, height;  // twips
};

// The handlers of the window and its controls. The runtime raises these, one at a time on the user-interface
// thread, except where a handler's own call raises one nested (a field write, a focus move, the event pump).
class WindowEvents {
 public:
  virtual ~WindowEvents() = default;
  virtual void Form_Load() = 0;
  virtual void Form_QueryUnload(std::int16_t& cancel, UnloadReason reason) = 0;
  virtual void Form_MouseDown(std::int16_t& button, std::int16_t& shift, float x, float y) = 0;
  virtual void Form_MouseUp(std::int16_t& button, std::int16_t& shift, float x, float y) = 0;
  virtual void lbl_MouseDown(core::FieldIndex index, std::int16_t& button, std::int16_t& shift, float x,
                             float y) = 0;
  virtual void lbl_MouseUp(core::FieldIndex index, std::int16_t& button, std::int16_t& shift, float x,
                           float y) = 0;
  virtual void txt_Change(core::FieldIndex index) = 0;
  virtual void txt_GotFocus(core::FieldIndex index) = 0;
  // What the handler leaves in `keyCode` is what the field receives; 0 is nothing.
  virtual void txt_KeyPress(core::FieldIndex index, core::KeyCode& keyCode) = 0;
};

class Runtime {
 public:
  virtual ~Runtime() = default;

  // The per-user settings store and the product name that addresses it.
  [[nodiscard]] virtual SettingsStore& Settings() = 0;

  // Fields. A write raises txt_Change of the written field at once, nested, when the text changes.
  [[nodiscard]] virtual core::Text FieldText(core::FieldIndex index) const = 0;
  virtual void SetFieldText(core::FieldIndex index, core::TextView text) = 0;
  // The field that has the keyboard focus in the window, also while another application is active.
  [[nodiscard]] virtual std::optional<core::FieldIndex> ActiveField() const = 0;
  // Raises txt_GotFocus of the field when the focus actually moves to it.
  virtual void SetFocus(core::FieldIndex index) = 0;
  [[nodiscard]] virtual std::int32_t SelectionLength(core::FieldIndex index) const = 0;
  // A length beyond the text is shortened to the text.
  virtual void SetSelection(core::FieldIndex index, std::int32_t start, std::int32_t length) = 0;

  // The window.
  [[nodiscard]] virtual WindowGeometry Geometry() const = 0;
  // False where the platform never tells a window where it is (a native Wayland client): the left and top of
  // Geometry() are then made up.
  [[nodiscard]] virtual bool KnowsWindowPosition() const = 0;
  [[nodiscard]] virtual WindowState State() const = 0;
  virtual void MoveWindow(float left, float top) = 0;  // keeps the size
  // Raises Form_QueryUnload and destroys the window; the program ends with it.
  virtual void CloseWindow() = 0;
  // True once the window has closed: from then on no handler may touch it.
  [[nodiscard]] virtual bool IsClosed() const = 0;
  // Lets go of the mouse and has the window follow the pointer until the left button is released.
  virtual void StartInteractiveMove() = 0;
  // Keeps the window above all others from now on and shows it where it stands.
  virtual void MakeTopmostAndShow() = 0;

  // System services.
  virtual void Beep() = 0;
  // Handles every event already queued; the window may close in the meantime.
  virtual void DoEvents() = 0;
  [[nodiscard]] virtual ScreenSize PrimaryScreenSize() const = 0;
};

}  // namespace vostrel::platform
