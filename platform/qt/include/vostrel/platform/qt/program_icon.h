// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QImage>

namespace vostrel::platform::qt {

// The program's icon drawn from its grids, transparent where the grid says so: at 16 or 32 pixels square, or
// a whole multiple of either (48 is the small grid three times, 64 to 256 the large one).
[[nodiscard]] QImage ProgramIconImage(int size);

// Both sizes together, for the window.
[[nodiscard]] QIcon ProgramIcon();

}  // namespace vostrel::platform::qt
