// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The window at a device pixel ratio of 2: twice the pixels, the same layout, positions still in twips.
#include <gtest/gtest.h>

#include <QWindow>

#include "qt_window_fixture.h"

namespace vostrel::platform::qt {
namespace {

class HighDpiTest : public testing::QtWindowFixture {};

TEST_F(HighDpiTest, TheWindowDoublesItsPixelsAndKeepsItsLayout) {
  QWidget* window = runtime->Window();
  ASSERT_EQ(window->windowHandle()->devicePixelRatio(), 2.0) << "run with QT_SCALE_FACTOR=2";
  EXPECT_EQ(window->size(), QSize(505, 18));
  const QImage image = window->grab().toImage();
  EXPECT_EQ(image.size(), QSize(1010, 36));
  EXPECT_EQ(image.pixelColor(4, 18), QColor(0, 0, 128));
  EXPECT_EQ(Field(core::kBinaryField)->geometry(), QRect(290, 0, 215, 18));

  const WindowGeometry twips = runtime->Geometry();
  EXPECT_EQ(twips.width, 7575);
  EXPECT_EQ(twips.height, 270);
  runtime->MoveWindow(1500, 3000);
  EXPECT_EQ(runtime->Geometry().left, 1500);
  EXPECT_EQ(runtime->Geometry().top, 3000);
}

TEST_F(HighDpiTest, TextIsDrawnAtTheFullResolution) {
  // Crisp text has glyph edges that change within a logical pixel: count physical columns of the decimal
  // caption that differ from their left neighbour at an odd x, which a scaled-up low-resolution text never
  // has.
  const QImage image = runtime->Window()->grab().toImage();
  int oddEdges = 0;
  for (int y = 6; y < 36; ++y) {
    for (int x = 13; x < 108; x += 2) oddEdges += image.pixel(x, y) != image.pixel(x - 1, y) ? 1 : 0;
  }
  EXPECT_GT(oddEdges, 20);
}

}  // namespace
}  // namespace vostrel::platform::qt
