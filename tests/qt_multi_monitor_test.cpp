// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The window on a desktop of three monitors, the primary one in the middle (the offscreen platform's screens
// from three_monitors.json; it makes the first name in sort order the primary). Stored positions are bounded
// by the primary monitor alone, whatever monitor the window was closed on.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include "case_name.h"
#include "qt_window_fixture.h"

namespace vostrel::platform::qt {
namespace {

struct MonitorCase {
  const char* name;
  const char16_t* storedLeft;
  const char16_t* storedTop;
  QPoint opensAt;  // on the virtual desktop, in pixels
};

void PrintTo(const MonitorCase& c, std::ostream* os) {
  *os << c.name;
}

class MultiMonitorTest : public testing::QtWindowFixture, public ::testing::WithParamInterface<MonitorCase> {
 protected:
  void SetUp() override {
    QtSettingsStore store(settingsFolder.path());
    ASSERT_TRUE(store.SaveSetting(u"Vostrel", u"Main", u"xPos", GetParam().storedLeft));
    ASSERT_TRUE(store.SaveSetting(u"Vostrel", u"Main", u"yPos", GetParam().storedTop));
    QtWindowFixture::SetUp();
  }
};

TEST_P(MultiMonitorTest, OpensWithinThePrimaryMonitor) {
  const QScreen* primary = QGuiApplication::primaryScreen();
  ASSERT_EQ(QGuiApplication::screens().size(), 3) << "run with three_monitors.json";
  ASSERT_EQ(primary->geometry(), QRect(1600, 0, 1280, 800));
  const ScreenSize screen = runtime->PrimaryScreenSize();
  EXPECT_EQ(screen.width, 1280 * 15);
  EXPECT_EQ(screen.height, 800 * 15);

  EXPECT_EQ(runtime->Window()->pos(), GetParam().opensAt);
  EXPECT_EQ(runtime->Window()->screen(), primary);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MultiMonitorTest,
    ::testing::Values(
        MonitorCase{
            "ClosedOnTheRightMonitorOpensAtTheRightEdge", u"23700", u"4500", {1600 + 1280 - 505, 300}},
        MonitorCase{"ClosedOnTheLeftMonitorOpensAtTheLeftEdge", u"-15000", u"4500", {1600, 300}},
        MonitorCase{"ClosedLowOnTheTallerRightMonitorOpensInTheCorner",
                    u"21000",
                    u"13500",
                    {1600 + 1280 - 505, 800 - 18}},
        MonitorCase{"ClosedOnThePrimaryOpensThere", u"1500", u"3000", {1600 + 100, 200}}),
    testing::CaseName());

class MultiMonitorCloseTest : public testing::QtWindowFixture {};

TEST_F(MultiMonitorCloseTest, APositionIsStoredRelativeToThePrimaryMonitor) {
  runtime->Window()->move(200, 40);  // on the left monitor
  runtime->CloseWindow();
  QtSettingsStore store(settingsFolder.path());
  EXPECT_EQ(store.ReadSetting(u"Vostrel", u"Main", u"xPos", u""), u"-21000");
  EXPECT_EQ(store.ReadSetting(u"Vostrel", u"Main", u"yPos", u""), u"600");
}

}  // namespace
}  // namespace vostrel::platform::qt
