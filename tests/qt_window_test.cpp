// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The window through its real widgets on the offscreen platform: keys, focus, read-only field, layout,
// colours.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QStyleHints>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

#include "owned_texts.h"
#include "qt_window_fixture.h"
#include "vostrel/platform/qt/text.h"

namespace vostrel::platform::qt {
namespace {

using core::FieldIndex;
using core::kBinaryField;
using core::kDecimalField;
using core::kHexField;

const QColor kNavy(0, 0, 128);

class QtWindowTest : public testing::QtWindowFixture {
 protected:
  QStringList Texts() const {
    return {Field(kDecimalField)->text(), Field(kHexField)->text(), Field(kBinaryField)->text()};
  }

  // A key event that carries exactly this text, as the keyboard delivers control characters.
  void SendKey(FieldIndex index, int key, const QString& text,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(Field(index), &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(Field(index), &release);
  }

  void Commit(FieldIndex index, const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(Field(index), &event);
  }

  // Text dragged from another application and dropped on the field, as the drag-and-drop machinery delivers
  // it: only to a widget that takes drops, and the drop only when the widget accepted the drag.
  void Drop(FieldIndex index, const QString& text) {
    QLineEdit* field = Field(index);
    if (!field->acceptDrops()) return;
    QMimeData data;
    data.setText(text);
    const QPointF at(5, 9);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(field, &enter);
    if (!enter.isAccepted()) return;
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(field, &drop);
  }

  // Whether the three texts show one value, or are all empty.
  bool FieldsAgree() const {
    const QStringList texts = Texts();
    if (texts == QStringList{"", "", ""}) return true;
    const auto value = core::ParseDecimalText(ToText(texts[0]));
    return value && core::ParseHexText(ToText(texts[1])) == value &&
           texts[2] == ToQString(testing::RenderBinary(*value));
  }
};

TEST_F(QtWindowTest, OpensWithZerosAndTheHexFieldsZeroSelected) {
  EXPECT_EQ(Texts(), (QStringList{"0", "0", "0"}));
  EXPECT_EQ(QApplication::focusWidget(), Field(kHexField));
  EXPECT_EQ(Field(kHexField)->selectedText(), "0");
  EXPECT_TRUE(runtime->Window()->isVisible());
}

struct TypingCase {
  const char* name;
  FieldIndex field;
  const char* typed;
  QStringList expected;
};

void PrintTo(const TypingCase& c, std::ostream* os) {
  *os << c.name;
}

class QtTypingTest : public QtWindowTest, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(QtTypingTest, KeysTypedIntoTheFieldRewriteTheOthers) {
  const TypingCase& c = GetParam();
  QTest::mouseClick(Field(c.field), Qt::LeftButton);
  Field(c.field)->selectAll();
  QTest::keyClicks(Field(c.field), QString::fromLatin1(c.typed));
  EXPECT_EQ(Texts(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, QtTypingTest,
    ::testing::Values(
        TypingCase{"Decimal123", kDecimalField, "123", {"123", "7B", "01111011"}},
        TypingCase{"HexLowerFF", kHexField, "ff", {"255", "FF", "11111111"}},
        TypingCase{"HexABC", kHexField, "ABC", {"2748", "ABC", "00001010,10111100"}},
        TypingCase{
            "HexAllOnes", kHexField, "FFFFFFFF", {"-1", "FFFFFFFF", "11111111,11111111,11111111,11111111"}},
        TypingCase{"HexTopBit",
                   kHexField,
                   "80000000",
                   {"-2147483648", "80000000", "10000000,00000000,00000000,00000000"}},
        TypingCase{"DecimalOverflow",
                   kDecimalField,
                   "2147483648",
                   {"2147483648", "0CCCCCCC", "00001100,11001100,11001100,11001100"}},
        TypingCase{"DecimalTooLongIsCut",
                   kDecimalField,
                   "123456789012",
                   {"1234567890", "499602D2", "01001001,10010110,00000010,11010010"}},
        TypingCase{
            "RefusedCharactersChangeNothing", kDecimalField, "6-5.x 5", {"655", "028F", "00000010,10001111"}},
        TypingCase{"Decimal65536",
                   kDecimalField,
                   "65536",
                   {"65536", "00010000", "00000000,00000001,00000000,00000000"}}),
    [](const ::testing::TestParamInfo<TypingCase>& row) { return std::string(row.param.name); });

TEST_F(QtWindowTest, BackspaceToEmptyClearsTheOtherFields) {
  QTest::keyClicks(Field(kHexField), "1F");
  QTest::keyClick(Field(kHexField), Qt::Key_Backspace);
  EXPECT_EQ(Texts(), (QStringList{"1", "1", "00000001"}));
  QTest::keyClick(Field(kHexField), Qt::Key_Backspace);
  EXPECT_EQ(Texts(), (QStringList{"", "", ""}));
}

TEST_F(QtWindowTest, EnterAndTabMoveTheFocusAndSelectTheWholeText) {
  QTest::keyClicks(Field(kHexField), "100");
  QTest::keyClick(Field(kHexField), Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), Field(kDecimalField));
  EXPECT_EQ(Field(kDecimalField)->selectedText(), "256");

  QTest::keyClick(Field(kDecimalField), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), Field(kBinaryField));
  EXPECT_EQ(Field(kBinaryField)->selectedText(), "00000001,00000000");

  QTest::keyClick(Field(kBinaryField), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), Field(kHexField));
  EXPECT_EQ(Field(kHexField)->selectedText(), "100");

  QTest::keyClick(Field(kHexField), Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(QApplication::focusWidget(), Field(kBinaryField));

  QTest::keyClick(Field(kBinaryField), Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), Field(kDecimalField));
  QTest::keyClicks(Field(kDecimalField), "7");
  EXPECT_EQ(Texts(), (QStringList{"7", "07", "00000111"})) << "the typed digit replaced the selection";
}

TEST_F(QtWindowTest, ControlCharactersTypeNothing) {
  QTest::keyClicks(Field(kHexField), "A");
  QApplication::clipboard()->setText("FF");
  // Ctrl+C, Ctrl+V, Ctrl+X, Ctrl+Z, Ctrl+A as the keyboard delivers them: with their control characters.
  const std::pair<int, const char*> keys[] = {{Qt::Key_C, "\x03"},
                                              {Qt::Key_V, "\x16"},
                                              {Qt::Key_X, "\x18"},
                                              {Qt::Key_Z, "\x1a"},
                                              {Qt::Key_A, "\x01"}};
  for (const auto& [key, text] : keys)
    SendKey(kHexField, key, QString::fromLatin1(text), Qt::ControlModifier);
  EXPECT_EQ(Texts(), (QStringList{"10", "A", "00001010"}));
  EXPECT_EQ(Field(kHexField)->selectedText(), "");
}

TEST_F(QtWindowTest, TheBinaryFieldCannotBeChangedButCanBeCopied) {
  QTest::keyClicks(Field(kHexField), "5");
  QTest::keyClick(Field(kHexField), Qt::Key_Tab);
  QTest::keyClick(Field(kHexField), Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), Field(kBinaryField));
  QLineEdit* binary = Field(kBinaryField);

  QTest::keyClick(binary, Qt::Key_Backspace);
  QTest::keyClick(binary, Qt::Key_Delete);
  QTest::keyClick(binary, Qt::Key_Home);
  QTest::keyClick(binary, Qt::Key_Delete);
  SendKey(kBinaryField, Qt::Key_X, "\x18", Qt::ControlModifier);
  QApplication::clipboard()->setText("1");
  QTest::keyClick(binary, Qt::Key_Insert, Qt::ShiftModifier);
  Commit(kBinaryField, "1");
  EXPECT_EQ(binary->text(), "00000101");
  // The context menu offers copying, not cutting, pasting or deleting.
  binary->selectAll();
  QStringList enabled;
  for (const auto& [text, canChoose] : ContextMenu(kBinaryField)) {
    if (canChoose) enabled << QString(text).remove('&').section('\t', 0, 0);
  }
  EXPECT_EQ(enabled, QStringList{"Copy"});

  binary->selectAll();
  QTest::keyClick(binary, Qt::Key_Insert, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), "00000101");
}

TEST_F(QtWindowTest, DroppedTextIsRefusedByEveryField) {
  QTest::keyClicks(Field(kHexField), "F");
  for (FieldIndex i = 0; i < core::kFieldCount; ++i) Drop(i, "123");
  EXPECT_EQ(Texts(), (QStringList{"15", "F", "00001111"}));
}

struct BypassCase {
  const char* name;
  std::function<void(QLineEdit&)> action;
};

TEST_F(QtWindowTest, TextThatBypassesTheKeyRuleLeavesTheFieldsAgreeing) {
  const BypassCase cases[] = {
      {"Undo", [](QLineEdit& field) { field.undo(); }},
      {"UndoThenRedo",
       [](QLineEdit& field) {
         field.undo();
         field.redo();
       }},
      {"PreeditThatReplacesText",
       [](QLineEdit& field) {
         QInputMethodEvent event(QStringLiteral("7"), {});
         event.setCommitString(QString(), -1, 1);
         QApplication::sendEvent(&field, &event);
       }},
  };
  for (const BypassCase& c : cases) {
    for (const FieldIndex field : {kDecimalField, kHexField}) {
      QTest::mouseClick(Field(field), Qt::LeftButton);
      Field(field)->selectAll();
      QTest::keyClicks(Field(field), "12");
      c.action(*Field(field));
      EXPECT_TRUE(FieldsAgree()) << c.name << " in field " << field << ": "
                                 << Texts().join(' ').toStdString();
    }
  }
}

TEST_F(QtWindowTest, TheBinaryFieldShowsABlinkingCaretThatMovesAndSelects) {
  QTest::keyClicks(Field(kHexField), "105");
  QLineEdit* binary = Field(kBinaryField);
  binary->setFocus(Qt::TabFocusReason);
  QTest::keyClick(binary, Qt::Key_End);

  // Over one blink period the caret, a thin line the height of the text line, comes and goes.
  const auto caretShown = [binary] {
    const QImage image = binary->grab().toImage();
    const QColor text = binary->palette().color(QPalette::Text);
    for (int x = 0; x < image.width(); ++x) {
      int run = 0;
      for (int y = 0; y < image.height(); ++y) {
        run = image.pixelColor(x, y) == text ? run + 1 : 0;
        if (run >= 12) return true;
      }
    }
    return false;
  };
  int shown = 0;
  int hidden = 0;
  const int period = QGuiApplication::styleHints()->cursorFlashTime();
  for (int elapsed = 0; elapsed < period + 100; elapsed += 50) {
    (caretShown() ? shown : hidden) += 1;
    QTest::qWait(50);
  }
  EXPECT_GT(shown, 0);
  EXPECT_GT(hidden, 0);

  QTest::keyClick(binary, Qt::Key_Left);
  QTest::keyClick(binary, Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_EQ(binary->selectedText(), "0");
  QTest::keyClick(binary, Qt::Key_Home, Qt::ShiftModifier);
  EXPECT_EQ(binary->selectedText(), "00000001,0000010");
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 9), binary->mapToGlobal(QPointF(2, 9)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(binary, &press);
  QMouseEvent move(QEvent::MouseMove, QPointF(60, 9), binary->mapToGlobal(QPointF(60, 9)), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(binary, &move);
  EXPECT_TRUE(binary->selectedText().startsWith("00000001")) << binary->selectedText().toStdString();
  EXPECT_EQ(binary->text(), "00000001,00000101");
}

TEST_F(QtWindowTest, PastingThroughTheFieldConvertsLikeTyping) {
  QTest::mouseClick(Field(kDecimalField), Qt::LeftButton);
  Field(kDecimalField)->selectAll();
  QApplication::clipboard()->setText(" 4096 ");
  Field(kDecimalField)->paste();
  EXPECT_EQ(Texts(), (QStringList{" 4096 ", "1000", "00010000,00000000"}));

  QApplication::clipboard()->setText("not a number");
  Field(kDecimalField)->selectAll();
  Field(kDecimalField)->paste();
  EXPECT_EQ(Texts(), (QStringList{"not a number", "1000", "00010000,00000000"}));
}

TEST_F(QtWindowTest, InputMethodCommitsTypeEachCharacterThroughTheFilter) {
  const QStringList ten{"10", "A", "00001010"};
  const struct {
    QString commit;
    QStringList texts;
    int beeps;
  } steps[] = {
      {"a", ten, 0},
      {"g", ten, 1},
      {QString::fromUtf16(u"\U0001F600"), ten, 1},
      {"12", {"2578", "A12", "00001010,00010010"}, 0},
      {"x3y", {"41251", "A123", "10100001,00100011"}, 2},
      {"5\b", {"41251", "A123", "10100001,00100011"}, 0},
      {"\x1b"
       "9",
       {"41251", "A123", "10100001,00100011"},
       0},  // Esc closes: nothing after it is typed
  };
  for (const auto& step : steps) {
    const int before = beeps;
    Commit(kHexField, step.commit);
    EXPECT_EQ(Texts(), step.texts) << step.commit.toStdString();
    EXPECT_EQ(beeps - before, step.beeps) << step.commit.toStdString();
  }
  EXPECT_TRUE(runtime->IsClosed());
}

TEST_F(QtWindowTest, ReactivatingTheWindowDoesNotSelectTheFocusedFieldAgain) {
  QTest::keyClicks(Field(kHexField), "ABC");
  Field(kHexField)->setCursorPosition(1);
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  runtime->Window()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(runtime->Window()));
  EXPECT_EQ(QApplication::focusWidget(), Field(kHexField));
  EXPECT_EQ(Field(kHexField)->selectedText(), "");
  EXPECT_EQ(Field(kHexField)->cursorPosition(), 1);
}

struct MoveCase {
  const char* name;
  float left, top;  // twips
  QPoint pixels;
};

TEST_F(QtWindowTest, MovesToTheNearestWholePixel) {
  const MoveCase cases[] = {
      {"WholePixels", 1500, 3000, {100, 200}},       {"BelowHalfRoundsDown", 1522, 3007, {101, 200}},
      {"AboveHalfRoundsUp", 1523, 3008, {102, 201}}, {"HalfRoundsAwayFromZero", 1507.5F, -7.5F, {101, -1}},
      {"NegativeAboveHalf", -23, -22, {-2, -1}},
  };
  for (const MoveCase& c : cases) {
    runtime->MoveWindow(c.left, c.top);
    EXPECT_EQ(runtime->Window()->pos(), c.pixels) << c.name;
    EXPECT_EQ(runtime->Geometry().left, static_cast<float>(c.pixels.x() * 15)) << c.name;
  }
}

TEST_F(QtWindowTest, CharactersOutsideSixteenBitsAreRefused) {
  SendKey(kHexField, Qt::Key_unknown, QString::fromUtf16(u"\U0001D7CF"));  // a mathematical digit one
  EXPECT_EQ(Texts(), (QStringList{"0", "0", "0"}));
}

TEST_F(QtWindowTest, EscClosesAndStoresThePosition) {
  const QPoint position = runtime->Window()->pos();
  QTest::keyClick(Field(kHexField), Qt::Key_Escape);
  EXPECT_TRUE(runtime->IsClosed());
  EXPECT_FALSE(runtime->Window()->isVisible());
  QtSettingsStore store(settingsFolder.path());
  EXPECT_EQ(store.ReadSetting(u"Vostrel", u"Main", u"xPos", u""), core::FormatDecimalText(position.x() * 15));
  EXPECT_EQ(store.ReadSetting(u"Vostrel", u"Main", u"yPos", u""), core::FormatDecimalText(position.y() * 15));
}

TEST_F(QtWindowTest, CaptionPressFocusesItsFieldAndRightClickCloses) {
  QTest::mousePress(runtime->Caption(kBinaryField), Qt::RightButton, {}, QPoint(3, 3));
  EXPECT_EQ(QApplication::focusWidget(), Field(kBinaryField));
  EXPECT_EQ(Field(kBinaryField)->selectedText(), "0");
  EXPECT_FALSE(runtime->IsClosed());
  QTest::mouseRelease(runtime->Caption(kBinaryField), Qt::RightButton, {}, QPoint(3, 3));
  EXPECT_TRUE(runtime->IsClosed());
}

TEST_F(QtWindowTest, PressingTheCaptionOfTheFocusedFieldKeepsItsSelection) {
  QLineEdit* hex = Field(kHexField);
  QTest::keyClicks(hex, "FF");
  hex->setCursorPosition(1);  // the user has put the caret between the two digits
  QTest::mouseClick(runtime->Caption(kHexField), Qt::MiddleButton, {}, QPoint(3, 3));
  EXPECT_EQ(QApplication::focusWidget(), hex);
  EXPECT_FALSE(hex->hasSelectedText());
  EXPECT_EQ(hex->cursorPosition(), 1);
}

TEST_F(QtWindowTest, MiddleClickOnTheWindowDoesNothingAndRightClickCloses) {
  QWidget* window = runtime->Window();
  QTest::mouseClick(window, Qt::MiddleButton, {}, QPoint(2, 2));
  EXPECT_FALSE(runtime->IsClosed());
  QTest::mouseClick(window, Qt::RightButton, {}, QPoint(2, 2));
  EXPECT_TRUE(runtime->IsClosed());
}

TEST_F(QtWindowTest, APressWhereAFieldCoversACaptionGoesToTheField) {
  // The binary field overlaps caption 2 by one pixel at 290 (4350 twips); the press there is the field's.
  QWidget* window = runtime->Window();
  EXPECT_EQ(window->childAt(290, 10), Field(kBinaryField));
  EXPECT_EQ(window->childAt(55, 10), Field(kDecimalField));
  EXPECT_EQ(window->childAt(53, 10), runtime->Caption(kDecimalField));
  QTest::mouseClick(window->childAt(290, 10), Qt::RightButton, {}, QPoint(0, 5));
  EXPECT_FALSE(runtime->IsClosed());
}

TEST_F(QtWindowTest, TheWindowIsAFramelessTopmostStripOfExactSize) {
  QWidget* window = runtime->Window();
  EXPECT_EQ(window->frameGeometry().size(), QSize(505, 18));
  EXPECT_EQ(window->size(), QSize(505, 18));
  EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(window->windowTitle(), "Vostrel");
  const QRect expected[] = {{54, 0, 65, 18}, {184, 0, 53, 18}, {290, 0, 215, 18}};
  for (FieldIndex i = 0; i < 3; ++i) EXPECT_EQ(Field(i)->geometry(), expected[i]);
}

struct PixelCase {
  const char* name;
  QPoint point;
  QColor colour;
};

TEST_F(QtWindowTest, NavyBackgroundYellowCaptionsPlainFields) {
  const QImage image = runtime->Window()->grab().toImage();
  ASSERT_EQ(image.size(), QSize(505, 18));
  const PixelCase navyPoints[] = {{"LeftEdge", {2, 9}, kNavy},          {"AboveCaption0", {20, 1}, kNavy},
                                  {"GapAfterDecimal", {121, 9}, kNavy}, {"GapAfterHex", {238, 9}, kNavy},
                                  {"AboveCaption2", {250, 1}, kNavy},   {"CaptionColon", {52, 16}, kNavy}};
  for (const auto& [name, point, colour] : navyPoints) EXPECT_EQ(image.pixelColor(point), colour) << name;

  // Glyph edges blend into the navy: count the pixels that are clearly yellow.
  const auto isYellow = [](const QColor& c) { return c.red() > 160 && c.green() > 160 && c.blue() < 110; };

  const QRect captionRects[] = {{6, 3, 48, 15}, {124, 3, 60, 15}, {242, 3, 48, 15}};
  for (const QRect& rect : captionRects) {
    int yellow = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
      for (int x = rect.left(); x <= rect.right(); ++x) yellow += isYellow(image.pixelColor(x, y)) ? 1 : 0;
    }
    EXPECT_GT(yellow, 20) << "caption at " << rect.x();
  }
  const QColor base = Field(kBinaryField)->palette().color(QPalette::Base);
  EXPECT_NE(base, kNavy);
  EXPECT_EQ(image.pixelColor(500, 1), base);
  EXPECT_EQ(image.pixelColor(118, 16), Field(kDecimalField)->palette().color(QPalette::Base));
}

TEST_F(QtWindowTest, TheFontFitsTheLayout) {
  // The test command installs the font: without it the captions would not fit.
  const QFont font = runtime->Window()->font();
  EXPECT_EQ(QFontInfo(font).family(), "WenQuanYi Zen Hei Mono");
  const QFontMetrics metrics(font);
  for (FieldIndex i = 0; i < 3; ++i) {
    QLabel* caption = runtime->Caption(i);
    EXPECT_LE(metrics.horizontalAdvance(caption->text()), caption->width()) << caption->text().toStdString();
    for (const QChar c : caption->text())
      EXPECT_TRUE(metrics.inFont(c)) << "a real glyph for " << static_cast<int>(c.unicode());
  }
  EXPECT_LE(metrics.horizontalAdvance("00000000,00000000,00000000,00000000"), Field(kBinaryField)->width());
  EXPECT_LE(metrics.height(), 18);
}

}  // namespace
}  // namespace vostrel::platform::qt
