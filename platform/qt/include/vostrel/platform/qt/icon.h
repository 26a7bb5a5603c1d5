#pragma once

#include <QIcon>
#include <QImage>

namespace vostrel::platform::qt {

// The program's icon drawn from its grids: 16 or 32 pixels square, transparent where the grid says so.
[[nodiscard]] QImage ProgramIconImage(int size);

// Both sizes together, for the window.
[[nodiscard]] QIcon ProgramIcon();

}  // namespace vostrel::platform::qt
