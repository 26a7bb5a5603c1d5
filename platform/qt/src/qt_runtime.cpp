#include "vostrel/platform/qt/qt_runtime.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDropEvent>
#include <QFontInfo>
#include <QIcon>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QStyleHints>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <bit>
#include <cmath>

#include "vostrel/platform/qt/icon.h"
#include "vostrel/platform/qt/text.h"

namespace vostrel::platform::qt {
namespace {

using core::FieldIndex;

QRect PixelRect(const TwipsRect& twips) {
  return {twips.left / kTwipsPerPixel, twips.top / kTwipsPerPixel, twips.width / kTwipsPerPixel,
          twips.height / kTwipsPerPixel};
}

QColor ToQColor(const Rgb& rgb) {
  return {rgb.red, rgb.green, rgb.blue};
}

std::int16_t ButtonCode(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return kLeftButton;
    case Qt::RightButton:
      return kRightButton;
    case Qt::MiddleButton:
      return kMiddleButton;
    default:
      return 0;
  }
}

std::int16_t ShiftCode(Qt::KeyboardModifiers modifiers) {
  std::int16_t shift = 0;
  if (modifiers & Qt::ShiftModifier) shift |= kShiftMask;
  if (modifiers & Qt::ControlModifier) shift |= kCtrlMask;
  if (modifiers & Qt::AltModifier) shift |= kAltMask;
  return shift;
}

// One typed key is one key code: its UTF-16 unit. A text of any other length (a character outside 16 bits, a
// multi-character commit) is one key as well, and one that no field takes.
core::KeyCode KeyCodeFor(const QString& text) {
  const char16_t unit = text.size() == 1 ? text.front().unicode() : u'\uFFFD';
  return std::bit_cast<core::KeyCode>(unit);
}

QFont WindowFont(const WindowDescription& description) {
  // Qt takes the first of these families that is installed, else its own fallback; naming them spares
  // enumerating every installed font at start-up.
  QStringList families;
  for (const std::string_view family : description.fontFamilies) {
    families << QString::fromUtf8(family.data(), static_cast<qsizetype>(family.size()));
  }
  QFont font;
  font.setFamilies(families);
  font.setPixelSize(description.fontHeight / kTwipsPerPixel);
  // The font's own hinting rather than the auto-hinter, whose survey of the CJK
  // glyphs pages in some 2.5 MB of the font file at start-up.
  font.setHintingPreference(QFont::PreferFullHinting);
  // One of our fonts holds every character the window shows: then no fallback fonts need looking up, the
  // costliest part of start-up after the font database itself. Without any of them, Qt may merge fonts.
  font.setStyleStrategy(QFont::NoFontMerging);
  if (!families.contains(QFontInfo(font).family())) font.setStyleStrategy(QFont::PreferDefault);
  return font;
}

}  // namespace

class QtRuntime::MainWindow final : public QWidget {
 public:
  explicit MainWindow(QtRuntime& runtime) : runtime_(runtime) {}

 protected:
  void mousePressEvent(QMouseEvent* event) override { runtime_.MouseButton(std::nullopt, *event, true); }
  // A second press soon after the first comes as a double click; it is a press all the same.
  void mouseDoubleClickEvent(QMouseEvent* event) override {
    runtime_.MouseButton(std::nullopt, *event, true);
  }
  void mouseReleaseEvent(QMouseEvent* event) override { runtime_.MouseButton(std::nullopt, *event, false); }
  void mouseMoveEvent(QMouseEvent* event) override { runtime_.MouseMoved(*event); }
  void closeEvent(QCloseEvent* event) override {
    runtime_.Closing(event->spontaneous());
    event->accept();
  }

 private:
  QtRuntime& runtime_;
};

class QtRuntime::CaptionLabel final : public QLabel {
 public:
  CaptionLabel(QtRuntime& runtime, FieldIndex index, QWidget* parent)
      : QLabel(parent), runtime_(runtime), index_(index) {}

 protected:
  // Handled here and not passed on to the window: the caption's handlers call the window's themselves.
  void mousePressEvent(QMouseEvent* event) override { runtime_.MouseButton(index_, *event, true); }
  void mouseDoubleClickEvent(QMouseEvent* event) override { runtime_.MouseButton(index_, *event, true); }
  void mouseReleaseEvent(QMouseEvent* event) override { runtime_.MouseButton(index_, *event, false); }
  void mouseMoveEvent(QMouseEvent* event) override { runtime_.MouseMoved(*event); }

 private:
  QtRuntime& runtime_;
  FieldIndex index_;
};

class QtRuntime::FieldEdit final : public QLineEdit {
 public:
  FieldEdit(QtRuntime& runtime, FieldIndex index, QWidget* parent)
      : QLineEdit(parent), runtime_(runtime), index_(index) {
    // Text reaches a field only through the key rule and the context menu: a drop would skip both.
    setAcceptDrops(false);
    QObject::connect(&caretBlink_, &QTimer::timeout, this, [this] {
      caretOn_ = !caretOn_;
      update();
    });
    QObject::connect(this, &QLineEdit::cursorPositionChanged, this, [this] { RestartCaret(); });
  }

 protected:
  bool event(QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress:
        if (runtime_.KeyPressed(index_, *static_cast<QKeyEvent*>(event))) return true;
        break;
      case QEvent::InputMethod:
        if (runtime_.InputMethodCommitted(index_, *static_cast<QInputMethodEvent*>(event))) return true;
        break;
      case QEvent::FocusIn: {
        // Let the field settle its own focus handling first, so the selection made on focus stays.
        const bool handled = QLineEdit::event(event);
        RestartCaret();
        runtime_.FieldFocused(index_);
        return handled;
      }
      case QEvent::FocusOut:
        caretBlink_.stop();
        caretOn_ = false;
        break;
      default:
        break;
    }
    return QLineEdit::event(event);
  }

  void dragEnterEvent(QDragEnterEvent* event) override { event->ignore(); }
  void dragMoveEvent(QDragMoveEvent* event) override { event->ignore(); }
  void dropEvent(QDropEvent* event) override { event->ignore(); }

  // A read-only line edit draws no caret; the output-only field still shows where its caret is, blinking as
  // the platform's carets do.
  void paintEvent(QPaintEvent* event) override {
    QLineEdit::paintEvent(event);
    if (!caretOn_ || !isReadOnly()) return;
    // Qt's cursor rectangle reaches a few pixels either side of the caret, which lies at its centre.
    const QRect around = cursorRect();
    QPainter painter(this);
    painter.fillRect(QRect((around.left() + around.right() + 1) / 2, around.top(), 1, around.height()),
                     palette().color(QPalette::Text));
  }

 private:
  void RestartCaret() {
    if (!isReadOnly() || !hasFocus()) return;
    caretOn_ = true;
    const int flashTime = QGuiApplication::styleHints()->cursorFlashTime();
    if (flashTime > 0) caretBlink_.start(flashTime / 2);
    update();
  }

  QtRuntime& runtime_;
  FieldIndex index_;
  QTimer caretBlink_;
  bool caretOn_ = false;
};

QtRuntime::QtRuntime(std::unique_ptr<SettingsStore> store) : store_(std::move(store)) {}

QtRuntime::~QtRuntime() = default;

void QtRuntime::Load(const WindowDescription& description, WindowEvents& events) {
  events_ = &events;
  auto window = std::make_unique<MainWindow>(*this);
  window_ = window.get();
  windowHolder_ = std::move(window);

  window_->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  window_->setWindowTitle(ToQString(description.title));
  window_->setAccessibleName(ToQString(description.title));
  window_->setWindowIcon(ProgramIcon());
  window_->setFixedSize(description.width / kTwipsPerPixel, description.height / kTwipsPerPixel);
  window_->setFont(WindowFont(description));
  QPalette palette = window_->palette();
  palette.setColor(QPalette::Window, ToQColor(description.background));
  palette.setColor(QPalette::WindowText, ToQColor(description.captionText));
  window_->setPalette(palette);
  window_->setAutoFillBackground(true);

  // Captions first, so that the fields, created later, lie on top where they overlap.
  for (FieldIndex i = 0; i < core::kFieldCount; ++i) {
    const CaptionDescription& caption = description.captions[static_cast<std::size_t>(i)];
    auto* label = new CaptionLabel(*this, i, window_);
    label->setText(ToQString(caption.caption));
    label->setGeometry(PixelRect(caption.geometry));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setAutoFillBackground(true);
    label->setFocusPolicy(Qt::NoFocus);
    captions_[static_cast<std::size_t>(i)] = label;
  }
  for (FieldIndex i = 0; i < core::kFieldCount; ++i) {
    const FieldDescription& field = description.fields[static_cast<std::size_t>(i)];
    auto* edit = new FieldEdit(*this, i, window_);
    edit->setGeometry(PixelRect(field.geometry));
    edit->setFrame(false);
    edit->setPalette(QApplication::palette(edit));  // the platform's own colours for editable text
    edit->setText(ToQString(field.initialText));
    edit->setReadOnly(field.readOnly);
    edit->setAccessibleName(QCoreApplication::translate("frmMain", field.accessibleName));
    edit->setAccessibleDescription(QCoreApplication::translate("frmMain", field.accessibleDescription));
    edit->setFocusPolicy(Qt::StrongFocus);
    captions_[static_cast<std::size_t>(i)]->setBuddy(edit);
    fields_[static_cast<std::size_t>(i)] = edit;
    // Connected after the first text is set: opening the window runs no conversion.
    QObject::connect(edit, &QLineEdit::textChanged, edit, [this, i] {
      if (!closed_) events_->txt_Change(i);
    });
  }

  std::array<FieldEdit*, core::kFieldCount> tabOrder = fields_;
  std::ranges::sort(tabOrder, {}, [&](FieldEdit* edit) {
    return description.fields[static_cast<std::size_t>(std::ranges::find(fields_, edit) - fields_.begin())]
        .tabIndex;
  });
  for (std::size_t i = 1; i < tabOrder.size(); ++i) QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
  tabOrder.front()->setFocus(Qt::OtherFocusReason);

  // A session manager's save request (commitDataRequest) is not a close: it comes for every checkpoint and
  // for a logout the user may still cancel. The real end of the session arrives as a quit.
  QObject::connect(qApp, &QCoreApplication::aboutToQuit, window_,
                   [this] { CloseFor(UnloadReason::kSessionEnd); });

  events_->Form_Load();
}

QWidget* QtRuntime::Window() const {
  return window_;
}

QLineEdit* QtRuntime::Field(FieldIndex index) const {
  return fields_.at(static_cast<std::size_t>(index));
}

QLabel* QtRuntime::Caption(FieldIndex index) const {
  return captions_.at(static_cast<std::size_t>(index));
}

core::Text QtRuntime::FieldText(FieldIndex index) const {
  return ToText(Field(index)->text());
}

void QtRuntime::SetFieldText(FieldIndex index, core::TextView text) {
  Field(index)->setText(ToQString(text));
}

std::optional<FieldIndex> QtRuntime::ActiveField() const {
  const QWidget* focused = window_ ? window_->focusWidget() : nullptr;
  for (FieldIndex i = 0; i < core::kFieldCount; ++i) {
    if (focused == Field(i)) return i;
  }
  return std::nullopt;
}

void QtRuntime::SetFocus(FieldIndex index) {
  Field(index)->setFocus(Qt::OtherFocusReason);
}

std::int32_t QtRuntime::SelectionLength(FieldIndex index) const {
  return static_cast<std::int32_t>(Field(index)->selectedText().size());
}

void QtRuntime::SetSelection(FieldIndex index, std::int32_t start, std::int32_t length) {
  QLineEdit* field = Field(index);
  const auto size = static_cast<std::int32_t>(field->text().size());
  const std::int32_t from = std::clamp(start, 0, size);
  field->setSelection(from, std::clamp(length, 0, size - from));
}

WindowGeometry QtRuntime::Geometry() const {
  const QRect frame = window_->frameGeometry();
  const QPoint origin = QGuiApplication::primaryScreen()->geometry().topLeft();
  constexpr auto kTwips = static_cast<float>(kTwipsPerPixel);
  return {static_cast<float>(frame.x() - origin.x()) * kTwips,
          static_cast<float>(frame.y() - origin.y()) * kTwips, static_cast<float>(frame.width()) * kTwips,
          static_cast<float>(frame.height()) * kTwips};
}

bool QtRuntime::KnowsWindowPosition() const {
  // A Wayland client is never told where its window is; Qt then reports a made-up position.
  return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

WindowState QtRuntime::State() const {
  const Qt::WindowStates state = window_->windowState();
  if (state & Qt::WindowMinimized) return WindowState::kMinimised;
  if (state & (Qt::WindowMaximized | Qt::WindowFullScreen)) return WindowState::kMaximised;
  return WindowState::kNormal;
}

void QtRuntime::MoveWindow(float left, float top) {
  const QPoint origin = QGuiApplication::primaryScreen()->geometry().topLeft();
  constexpr auto kTwips = static_cast<float>(kTwipsPerPixel);
  window_->move(origin + QPoint(static_cast<int>(std::lround(left / kTwips)),
                                static_cast<int>(std::lround(top / kTwips))));
}

void QtRuntime::CloseWindow() {
  CloseFor(UnloadReason::kCode);
}

void QtRuntime::CloseFor(UnloadReason reason) {
  if (closed_ || window_ == nullptr) return;
  closeReason_ = reason;
  window_->close();
}

void QtRuntime::Closing(bool spontaneous) {
  if (closed_) return;
  std::int16_t cancel = 0;
  const UnloadReason reason = closeReason_.value_or(spontaneous ? UnloadReason::kUser : UnloadReason::kCode);
  events_->Form_QueryUnload(cancel, reason);
  // The window never refuses to close: `cancel` is not consulted.
  closed_ = true;
  followingPointer_ = false;
}

void QtRuntime::StartInteractiveMove() {
  QWindow* handle = window_->windowHandle();
  if (handle != nullptr && handle->startSystemMove()) return;
  // No window manager move here: follow the pointer ourselves until the left button comes up.
  followingPointer_ = true;
  pointerOffset_ = QCursor::pos() - window_->pos();
}

void QtRuntime::MakeTopmostAndShow() {
  // Qt::WindowStaysOnTopHint was set with the window's flags, before it was ever shown.
  window_->show();
  window_->raise();
  window_->activateWindow();
}

void QtRuntime::Beep() {
  QApplication::beep();
}

void QtRuntime::DoEvents() {
  QCoreApplication::processEvents();
}

ScreenSize QtRuntime::PrimaryScreenSize() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return {0, 0};
  const QSize size = screen->geometry().size();
  constexpr auto kTwips = static_cast<float>(kTwipsPerPixel);
  return {static_cast<float>(size.width()) * kTwips, static_cast<float>(size.height()) * kTwips};
}

bool QtRuntime::KeyPressed(FieldIndex index, QKeyEvent& event) {
  // Focus keys and keys that type no character keep the field's standard behaviour.
  const int key = event.key();
  if (key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Delete) return false;
  const QString text = event.text();
  if (text.isEmpty()) return false;

  core::KeyCode keyCode = KeyCodeFor(text);
  events_->txt_KeyPress(index, keyCode);
  if (closed_) return true;
  // A real Backspace key goes to the field as it came, so that its own editing (Ctrl+Backspace) stays.
  if (keyCode == core::kKeyBackspace && key == Qt::Key_Backspace) return false;
  Apply(index, keyCode);
  return true;
}

bool QtRuntime::InputMethodCommitted(FieldIndex index, QInputMethodEvent& event) {
  if (event.commitString().isEmpty()) return false;  // composing only: nothing typed yet
  core::KeyCode keyCode = KeyCodeFor(event.commitString());
  events_->txt_KeyPress(index, keyCode);
  if (closed_) return true;
  // The field gets the composition as it stands and, instead of the committed text, what the handler left.
  event.setCommitString(QString());
  QLineEdit* field = Field(index);
  field->event(&event);
  Apply(index, keyCode);
  return true;
}

void QtRuntime::Apply(FieldIndex index, core::KeyCode keyCode) {
  QLineEdit* field = Field(index);
  if (keyCode == core::kKeyNone || field->isReadOnly()) return;
  if (keyCode == core::kKeyBackspace) {
    field->backspace();
  } else {
    field->insert(QString(QChar(std::bit_cast<char16_t>(keyCode))));
  }
}

void QtRuntime::FieldFocused(FieldIndex index) {
  // The window coming back to the front gives the same field the focus again: that is no focus change.
  if (closed_ || focusedField_ == index) return;
  focusedField_ = index;
  events_->txt_GotFocus(index);
}

void QtRuntime::MouseButton(std::optional<FieldIndex> caption, const QMouseEvent& event, bool pressed) {
  std::int16_t button = ButtonCode(event.button());
  std::int16_t shift = ShiftCode(event.modifiers());
  if (!pressed && button == kLeftButton) followingPointer_ = false;
  if (button == 0 || closed_) return;
  constexpr auto kTwips = static_cast<float>(kTwipsPerPixel);
  const auto x = static_cast<float>(event.position().x()) * kTwips;
  const auto y = static_cast<float>(event.position().y()) * kTwips;
  if (caption && pressed) {
    events_->lbl_MouseDown(*caption, button, shift, x, y);
  } else if (caption) {
    events_->lbl_MouseUp(*caption, button, shift, x, y);
  } else if (pressed) {
    events_->Form_MouseDown(button, shift, x, y);
  } else {
    events_->Form_MouseUp(button, shift, x, y);
  }
}

void QtRuntime::MouseMoved(const QMouseEvent& event) {
  if (!followingPointer_ || closed_) return;
  if (!(event.buttons() & Qt::LeftButton)) {
    followingPointer_ = false;
    return;
  }
  window_->move(event.globalPosition().toPoint() - pointerOffset_);
}

}  // namespace vostrel::platform::qt
