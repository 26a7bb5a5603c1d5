// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "vostrel/platform/qt/program_icon.h"

#include <QPixmap>

#include "vostrel/resources/icon_grids.h"

namespace vostrel::platform::qt {
namespace {

QImage Draw(const auto& rows) {
  const auto size = static_cast<int>(rows.size());
  QImage image(size, size, QImage::Format_ARGB32);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const char symbol = rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
      QRgb pixel = qRgba(0, 0, 0, 0);
      for (const auto& colour : resources::kIconPalette) {
        if (colour.symbol == symbol) pixel = qRgb(colour.red, colour.green, colour.blue);
      }
      image.setPixel(x, y, pixel);
    }
  }
  return image;
}

}  // namespace

QImage ProgramIconImage(int size) {
  const QImage grid = Draw(resources::IconGridFor(static_cast<std::size_t>(size)));
  return grid.width() == size ? grid : grid.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QIcon ProgramIcon() {
  QIcon icon;
  icon.addPixmap(QPixmap::fromImage(ProgramIconImage(16)));
  icon.addPixmap(QPixmap::fromImage(ProgramIconImage(32)));
  return icon;
}

}  // namespace vostrel::platform::qt
