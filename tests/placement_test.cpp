// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <optional>

#include "case_name.h"
#include "fake_runtime.h"
#include "vostrel/forms/frmMain.h"

namespace vostrel::forms {
namespace {

using testing::FakeRuntime;

struct PlacementCase {
  const char* name;
  platform::ScreenSize screen;
  std::optional<core::Text> storedLeft;
  std::optional<core::Text> storedTop;
  float left;
  float top;
};

void PrintTo(const PlacementCase& c, std::ostream* os) {
  *os << c.name;
}

class PlacementTest : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(PlacementTest, OpensOnTheScreenAtTheStoredOrCentredPosition) {
  const PlacementCase& c = GetParam();
  FakeRuntime runtime;
  frmMain form(runtime);
  runtime.Attach(form);
  runtime.screen = c.screen;
  if (c.storedLeft) runtime.store.entries[{u"Vostrel", u"Main", u"xPos"}] = *c.storedLeft;
  if (c.storedTop) runtime.store.entries[{u"Vostrel", u"Main", u"yPos"}] = *c.storedTop;

  form.Form_Load();

  ASSERT_EQ(runtime.moves.size(), 1U);
  EXPECT_EQ(runtime.moves[0], std::make_pair(c.left, c.top));
  EXPECT_EQ(runtime.shownAt, std::make_pair(c.left, c.top)) << "shown only once in place";
}

constexpr float kW = 7575;
constexpr float kH = 270;
constexpr platform::ScreenSize kScreen{19200, 12000};

INSTANTIATE_TEST_SUITE_P(
    Table, PlacementTest,
    ::testing::Values(
        PlacementCase{"CentredHalfGoesToEvenBelow", {kW + 45, kH + 45}, {}, {}, 22, 22},
        PlacementCase{"CentredHalfGoesToEvenAbove", {kW + 15, kH + 15}, {}, {}, 8, 8},
        PlacementCase{"CentredWhole", {kW + 30, kH + 30}, {}, {}, 15, 15},
        PlacementCase{"CentredOnAFullScreen", kScreen, {}, {}, 5812, 5865},
        PlacementCase{"Stored", kScreen, u"300", u"450", 300, 450},
        PlacementCase{"StoredBeyondRightAndBottom", kScreen, u"20000", u"99999", 19200 - kW, 12000 - kH},
        PlacementCase{"StoredExactlyAtTheBound", kScreen, u"11625", u"11730", 11625, 11730},
        PlacementCase{"StoredNegative", kScreen, u"-300", u"-1", 0, 0},
        PlacementCase{"StoredFarLeftOfAnotherDisplay", kScreen, u"-40000", u"50", 0, 50},
        PlacementCase{"WiderThanTheScreenEndsFlushRight", {6000, 12000}, u"100", u"100", 6000 - kW, 100},
        PlacementCase{"TallerThanTheScreenEndsFlushBottom", {19200, 200}, {}, u"0", 5812, 200 - kH},
        PlacementCase{"OnlyLeftStored", kScreen, u"1500", {}, 1500, 5865},
        PlacementCase{"OnlyTopStored", kScreen, {}, u"1500", 5812, 1500},
        PlacementCase{"EmptyEntries", kScreen, u"", u"", 5812, 5865},
        PlacementCase{"NotNumbers", kScreen, u"abc", u"1.5", 5812, 5865},
        PlacementCase{"OutOfRange", kScreen, u"2147483648", u"-2147483649", 5812, 5865},
        PlacementCase{"HugeEntry", kScreen, core::Text(5'000'000, u'9'), u"10", 5812, 10},
        PlacementCase{"BadLeftGoodTop", kScreen, u"x1", u"700", 5812, 700}),
    testing::CaseName());

TEST(PlacementTest, AnUnreadableStoreCentresTheWindow) {
  FakeRuntime runtime;
  frmMain form(runtime);
  runtime.Attach(form);
  runtime.store.entries[{u"Vostrel", u"Main", u"xPos"}] = u"300";
  runtime.store.failReads = true;
  form.Form_Load();
  EXPECT_EQ(runtime.moves.at(0), std::make_pair(5812.0F, 5865.0F));
}

struct CloseCase {
  const char* name;
  platform::WindowState state;
  std::optional<core::Text> storedLeft;
  bool positionKnown = true;
};

void PrintTo(const CloseCase& c, std::ostream* os) {
  *os << c.name;
}

class CloseTest : public ::testing::TestWithParam<CloseCase> {};

TEST_P(CloseTest, StoresOnlyANormalWindowsKnownPosition) {
  const CloseCase& c = GetParam();
  FakeRuntime runtime;
  frmMain form(runtime);
  runtime.Attach(form);
  runtime.store.entries[{u"Vostrel", u"Main", u"xPos"}] = u"111";
  runtime.geometry = {-450, 12345, 7575, 270};
  runtime.state = c.state;
  runtime.positionKnown = c.positionKnown;

  std::int16_t cancel = 0;
  form.Form_QueryUnload(cancel, platform::UnloadReason::kUser);

  EXPECT_EQ(runtime.store.Main(u"xPos"), c.storedLeft);
}

INSTANTIATE_TEST_SUITE_P(Table, CloseTest,
                         ::testing::Values(CloseCase{"Normal", platform::WindowState::kNormal, u"-450"},
                                           CloseCase{"Minimised", platform::WindowState::kMinimised, u"111"},
                                           CloseCase{"Maximised", platform::WindowState::kMaximised, u"111"},
                                           CloseCase{"PositionUnknown", platform::WindowState::kNormal,
                                                     u"111", false}),
                         testing::CaseName());

TEST(CloseTest, AFractionalPositionIsStoredAsWholeTwips) {
  FakeRuntime runtime;
  frmMain form(runtime);
  runtime.Attach(form);
  runtime.geometry = {22.5F, -7.5F, 7575, 270};
  std::int16_t cancel = 0;
  form.Form_QueryUnload(cancel, platform::UnloadReason::kCode);
  EXPECT_EQ(runtime.store.Main(u"xPos"), u"22");
  EXPECT_EQ(runtime.store.Main(u"yPos"), u"-8");
}

}  // namespace
}  // namespace vostrel::forms
