// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "vostrel/resources/icon_svg.h"

#include <sstream>

#include "vostrel/resources/icon_grids.h"

namespace vostrel::resources {

std::string IconSvg() {
  const std::size_t size = kIcon32.size();
  std::ostringstream svg;
  svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << size << "\" height=\"" << size
      << "\" viewBox=\"0 0 " << size << ' ' << size << "\" shape-rendering=\"crispEdges\">\n";
  for (const IconColour& colour : kIconPalette) {
    svg << "<path fill=\"rgb(" << +colour.red << ',' << +colour.green << ',' << +colour.blue << ")\" d=\"";
    // One rectangle for each run of equal pixels in a row, in whole units: no edge falls inside a pixel.
    for (std::size_t y = 0; y < size; ++y) {
      const std::string_view row = kIcon32[y];
      for (std::size_t x = 0; x < size;) {
        const std::size_t start = x;
        while (x < size && row[x] == colour.symbol) ++x;
        if (x == start) {
          ++x;
          continue;
        }
        svg << 'M' << start << ' ' << y << 'h' << x - start << "v1h-" << x - start << 'z';
      }
    }
    svg << "\"/>\n";
  }
  svg << "</svg>\n";
  return svg.str();
}

}  // namespace vostrel::resources
