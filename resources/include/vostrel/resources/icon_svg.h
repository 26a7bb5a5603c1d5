// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The icon as a scalable SVG: the large grid, one square per pixel, so every size stays sharp-edged.
#pragma once

#include <string>

namespace vostrel::resources {

[[nodiscard]] std::string IconSvg();

}  // namespace vostrel::resources
