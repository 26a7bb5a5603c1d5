// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "vostrel/forms/frmMain.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "case_name.h"
#include "fake_runtime.h"

namespace vostrel::forms {
namespace {

using core::FieldIndex;
using core::kBinaryField;
using core::kDecimalField;
using core::kHexField;
using platform::kLeftButton;
using platform::kMiddleButton;
using platform::kRightButton;
using testing::FakeRuntime;

class FrmMainTest : public ::testing::Test {
 protected:
  FrmMainTest() { runtime.Attach(form); }

  // The window as it stands after start-up: "0" everywhere, the hexadecimal field focused with its text
  // selected.
  void Open() {
    form.Form_Load();
    runtime.UserFocus(kHexField);
  }

  void Press(std::int16_t button, std::int16_t shift = 0) { form.Form_MouseDown(button, shift, 10, 10); }
  void Release(std::int16_t button, std::int16_t shift = 0) { form.Form_MouseUp(button, shift, 10, 10); }
  void PressCaption(FieldIndex index, std::int16_t button) {
    std::int16_t shift = 0;
    form.lbl_MouseDown(index, button, shift, 5, 5);
  }
  void ReleaseCaption(FieldIndex index, std::int16_t button) {
    std::int16_t shift = 0;
    form.lbl_MouseUp(index, button, shift, 5, 5);
  }
  void Type(FieldIndex index, std::u16string_view keys) {
    for (char16_t key : keys) runtime.UserTypes(index, static_cast<core::KeyCode>(key));
  }

  FakeRuntime runtime;
  frmMain form{runtime};
};

TEST_F(FrmMainTest, OpensShownWithZerosAndTheFirstFieldOfTheTabOrderSelected) {
  // What the window is made of: "0" in each field, and the hexadecimal field first in the tab order.
  const auto& fields = frmMain::Description().fields;
  for (const auto& field : fields) EXPECT_EQ(field.initialText, u"0");
  const auto first = std::ranges::min_element(fields, {}, &platform::FieldDescription::tabIndex);
  EXPECT_EQ(first - fields.begin(), kHexField);

  form.Form_Load();
  EXPECT_TRUE(runtime.shownAt) << "shown, above the other windows";
  runtime.texts[kHexField] = u"1F";
  runtime.UserFocus(kHexField);  // the runtime gives the first field the focus
  EXPECT_EQ(runtime.SelectionLength(kHexField), 2) << "its whole text selected";
}

TEST_F(FrmMainTest, TypingAfterTheFirstFocusReplacesTheSelectedZero) {
  Open();
  Type(kHexField, u"ff");
  EXPECT_EQ(runtime.texts, (std::array<core::Text, 3>{u"255", u"FF", u"11111111"}));
  runtime.UserFocus(kDecimalField);
  Type(kDecimalField, u"123");
  EXPECT_EQ(runtime.texts, (std::array<core::Text, 3>{u"123", u"7B", u"01111011"}));
  EXPECT_EQ(runtime.beeps, 0);
}

struct KeyCase {
  const char* name;
  FieldIndex field;
  core::Text text;
  core::KeyCode key;
  int beeps;
  FieldIndex focusAfter;
  bool closed;
};

void PrintTo(const KeyCase& c, std::ostream* os) {
  *os << c.name;
}

class FrmMainKeyTest : public FrmMainTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(FrmMainKeyTest, CarriesOutTheKeysVerdict) {
  const KeyCase& c = GetParam();
  Open();
  runtime.UserFocus(c.field);
  runtime.texts[static_cast<std::size_t>(c.field)] = c.text;
  runtime.selection[static_cast<std::size_t>(c.field)] = 0;
  const core::Text before = runtime.FieldText(c.field);

  const core::KeyCode received = runtime.UserTypes(c.field, c.key);

  EXPECT_EQ(runtime.beeps, c.beeps);
  EXPECT_EQ(runtime.ActiveField(), c.focusAfter);
  EXPECT_EQ(runtime.closed, c.closed);
  EXPECT_EQ(runtime.store.Main(u"xPos").has_value(), c.closed) << "a close stores the position";
  if (c.beeps > 0 || c.closed || c.focusAfter != c.field) {
    EXPECT_EQ(received, core::kKeyNone);
    EXPECT_EQ(runtime.FieldText(c.field), before);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, FrmMainKeyTest,
    ::testing::Values(KeyCase{"EnterDecimalToHex", kDecimalField, u"5", 13, 0, kHexField, false},
                      KeyCase{"EnterHexToDecimal", kHexField, u"5", 13, 0, kDecimalField, false},
                      KeyCase{"EnterBinaryToDecimal", kBinaryField, u"1", 13, 0, kDecimalField, false},
                      KeyCase{"EscCloses", kDecimalField, u"5", 27, 0, kDecimalField, true},
                      KeyCase{"EscInBinaryCloses", kBinaryField, u"1", 27, 0, kBinaryField, true},
                      KeyCase{"LetterInDecimalBeepsOnce", kDecimalField, u"5", 'x', 1, kDecimalField, false},
                      KeyCase{"CtrlVBeepsOnce", kDecimalField, u"5", 22, 1, kDecimalField, false},
                      KeyCase{"DigitInBinaryBeepsOnce", kBinaryField, u"1", '1', 1, kBinaryField, false},
                      KeyCase{"FullHexFieldBeepsOnce", kHexField, u"7FFFFFFF", 'a', 1, kHexField, false},
                      KeyCase{"SecondZeroIsSilent", kDecimalField, u"0", '0', 0, kDecimalField, false},
                      KeyCase{"BackspaceIsSilent", kDecimalField, u"12", 8, 0, kDecimalField, false}),
    testing::CaseName());

TEST_F(FrmMainTest, EnterSelectsTheWholeTextOfTheFieldItMovesTo) {
  Open();
  runtime.UserFocus(kDecimalField);
  Type(kDecimalField, u"4096");
  runtime.UserTypes(kDecimalField, 13);
  EXPECT_EQ(runtime.ActiveField(), kHexField);
  EXPECT_EQ(runtime.SelectionLength(kHexField), 4);  // "1000"
  Type(kHexField, u"A");
  EXPECT_EQ(runtime.texts, (std::array<core::Text, 3>{u"10", u"A", u"00001010"}));
}

TEST_F(FrmMainTest, EscStoresThePositionAndNothingRunsAfterTheClose) {
  Open();
  runtime.geometry.left = 300;
  runtime.geometry.top = 450;
  runtime.UserTypes(kHexField, 27);
  EXPECT_EQ(runtime.store.Main(u"xPos"), u"300");
  EXPECT_EQ(runtime.store.Main(u"yPos"), u"450");
  // Keys still arriving from the queue reach a closed window: nothing happens, nothing is stored again.
  runtime.geometry.left = 900;
  EXPECT_EQ(runtime.UserTypes(kHexField, '5'), core::kKeyNone);
  EXPECT_EQ(runtime.UserTypes(kHexField, 27), core::kKeyNone);
  EXPECT_EQ(runtime.beeps, 0);
  EXPECT_EQ(runtime.store.Main(u"xPos"), u"300");
}

struct MouseCase {
  const char* name;
  std::int16_t button;
  std::int16_t shift;
  int movesOnPress;
  bool closesOnRelease;
};

void PrintTo(const MouseCase& c, std::ostream* os) {
  *os << c.name;
}

class FrmMainMouseTest : public FrmMainTest, public ::testing::WithParamInterface<MouseCase> {};

TEST_P(FrmMainMouseTest, OnTheWindowSurface) {
  const MouseCase& c = GetParam();
  Open();
  Press(c.button, c.shift);
  EXPECT_EQ(runtime.interactiveMoves, c.movesOnPress);
  EXPECT_FALSE(runtime.closed) << "a press never closes";
  Release(c.button, c.shift);
  EXPECT_EQ(runtime.closed, c.closesOnRelease);
  EXPECT_EQ(runtime.interactiveMoves, c.movesOnPress);
}

TEST_P(FrmMainMouseTest, OnACaptionFocusesItsFieldFirst) {
  const MouseCase& c = GetParam();
  Open();
  std::int16_t button = c.button;
  std::int16_t shift = c.shift;
  form.lbl_MouseDown(kBinaryField, button, shift, 5, 5);
  EXPECT_EQ(runtime.ActiveField(), kBinaryField);
  EXPECT_EQ(runtime.SelectionLength(kBinaryField), 1);
  EXPECT_EQ(runtime.interactiveMoves, c.movesOnPress);
  form.lbl_MouseUp(kBinaryField, button, shift, 5, 5);
  EXPECT_EQ(runtime.closed, c.closesOnRelease);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FrmMainMouseTest,
    ::testing::Values(MouseCase{"Left", kLeftButton, 0, 1, false},
                      MouseCase{"LeftWithShift", kLeftButton, platform::kShiftMask, 1, false},
                      MouseCase{"LeftWithCtrlAlt", kLeftButton, platform::kCtrlMask | platform::kAltMask, 1,
                                false},
                      MouseCase{"Right", kRightButton, 0, 0, true},
                      MouseCase{"RightWithShift", kRightButton, platform::kShiftMask, 0, true},
                      MouseCase{"Middle", kMiddleButton, 0, 0, false}),
    testing::CaseName());

TEST_P(FrmMainMouseTest, ACaptionPressFocusesThenPumpsThenRunsTheWindowsHandler) {
  const MouseCase& c = GetParam();
  Open();
  // What the pump finds waiting sees the caption's field focused, its text selected, and no move begun.
  std::optional<FieldIndex> focusedAtPump;
  std::int32_t selectedAtPump = -1;
  int movesAtPump = -1;
  runtime.texts[kDecimalField] = u"123";
  runtime.queued = [&] {
    focusedAtPump = runtime.ActiveField();
    selectedAtPump = runtime.SelectionLength(kDecimalField);
    movesAtPump = runtime.interactiveMoves;
  };
  PressCaption(kDecimalField, c.button);
  EXPECT_EQ(focusedAtPump, kDecimalField);
  EXPECT_EQ(selectedAtPump, 3);
  EXPECT_EQ(movesAtPump, 0);
  EXPECT_EQ(runtime.interactiveMoves, c.movesOnPress);
}

TEST_F(FrmMainTest, ACloseRunByTheEventPumpEndsTheCaptionPress) {
  Open();
  runtime.queued = [this] { runtime.UserTypes(kDecimalField, 27); };
  PressCaption(kDecimalField, kLeftButton);
  EXPECT_TRUE(runtime.closed);
  EXPECT_EQ(runtime.interactiveMoves, 0);
}

TEST_F(FrmMainTest, RightClickOnACaptionClosesOnTheReleaseAndStores) {
  Open();
  runtime.geometry.left = 600;
  PressCaption(kHexField, kRightButton);
  EXPECT_FALSE(runtime.closed);
  EXPECT_EQ(runtime.store.Main(u"xPos"), std::nullopt) << "the press stores nothing";
  ReleaseCaption(kHexField, kRightButton);
  EXPECT_TRUE(runtime.closed);
  EXPECT_EQ(runtime.store.Main(u"xPos"), u"600");
}

}  // namespace
}  // namespace vostrel::forms
