// The runtime on Qt 6 Widgets: builds the window from its description, turns Qt's events into the window's
// handlers, and carries out what the handlers ask of the platform.
#pragma once

#include <QPoint>
#include <array>
#include <memory>

#include "vostrel/platform/runtime.h"
#include "vostrel/platform/window_description.h"

class QWidget;
class QLabel;
class QLineEdit;
class QKeyEvent;
class QInputMethodEvent;
class QMouseEvent;

namespace vostrel::platform::qt {

// A termination signal (SIGTERM at the end of a session, SIGHUP, SIGINT) closes the window as any other close
// does, so its position is kept. Call before the window is loaded: a signal is acted on in the event loop.
class QtRuntime;
void CloseOnTerminationSignals(QtRuntime& runtime);

class QtRuntime final : public Runtime {
 public:
  explicit QtRuntime(std::unique_ptr<SettingsStore> store);
  ~QtRuntime() override;
  QtRuntime(const QtRuntime&) = delete;
  QtRuntime& operator=(const QtRuntime&) = delete;

  // Builds the window and its controls (hidden, "0" in each field, no handler run), wires their events to
  // `events`, gives the first field of the tab order the focus and raises Form_Load, which shows the window.
  void Load(const WindowDescription& description, WindowEvents& events);

  // The widgets, for tests that drive them.
  [[nodiscard]] QWidget* Window() const;
  [[nodiscard]] QLineEdit* Field(core::FieldIndex index) const;
  [[nodiscard]] QLabel* Caption(core::FieldIndex index) const;

  [[nodiscard]] core::Text FieldText(core::FieldIndex index) const override;
  void SetFieldText(core::FieldIndex index, core::TextView text) override;
  [[nodiscard]] std::optional<core::FieldIndex> ActiveField() const override;
  void SetFocus(core::FieldIndex index) override;
  [[nodiscard]] std::int32_t SelectionLength(core::FieldIndex index) const override;
  void SetSelection(core::FieldIndex index, std::int32_t start, std::int32_t length) override;
  [[nodiscard]] WindowGeometry Geometry() const override;
  [[nodiscard]] bool KnowsWindowPosition() const override;
  [[nodiscard]] WindowState State() const override;
  void MoveWindow(float left, float top) override;
  void CloseWindow() override;
  [[nodiscard]] bool IsClosed() const override { return closed_; }
  void StartInteractiveMove() override;
  void MakeTopmostAndShow() override;
  void Beep() override;
  void DoEvents() override;
  [[nodiscard]] ScreenSize PrimaryScreenSize() const override;
  [[nodiscard]] SettingsStore& Settings() override { return *store_; }

  // Closes the window for a reason from outside: the end of the session, a termination signal.
  void CloseFor(UnloadReason reason);

 private:
  class MainWindow;
  class CaptionLabel;
  class FieldEdit;

  // Event plumbing from the widgets.
  bool KeyPressed(core::FieldIndex index, QKeyEvent& event);
  bool InputMethodCommitted(core::FieldIndex index, QInputMethodEvent& event);
  void FieldFocused(core::FieldIndex index);
  // A press (or double click) or a release on a caption, or on the window's own surface.
  void MouseButton(std::optional<core::FieldIndex> caption, const QMouseEvent& event, bool pressed);
  void MouseMoved(const QMouseEvent& event);
  void Closing(bool spontaneous);
  void Apply(core::FieldIndex index, core::KeyCode keyCode);

  std::unique_ptr<SettingsStore> store_;
  WindowEvents* events_ = nullptr;
  MainWindow* window_ = nullptr;  // owned by window_ holder below
  std::unique_ptr<QWidget> windowHolder_;
  std::array<CaptionLabel*, core::kFieldCount> captions_{};
  std::array<FieldEdit*, core::kFieldCount> fields_{};
  std::optional<core::FieldIndex> focusedField_;
  std::optional<UnloadReason> closeReason_;
  bool closed_ = false;
  // Where the window manager cannot move the window, it follows the pointer by this offset.
  bool followingPointer_ = false;
  QPoint pointerOffset_;
};

}  // namespace vostrel::platform::qt
