// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The program's icon, a letter D and a letter H joined by two arrows, drawn in two sizes.
// M dark red, R red, G green, "." transparent; rows from the top.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace vostrel::resources {

struct IconColour {
  char symbol;
  std::uint8_t red, green, blue;
};

inline constexpr std::array<IconColour, 3> kIconPalette{{
    {'M', 128, 0, 0},
    {'R', 255, 0, 0},
    {'G', 0, 255, 0},
}};

inline constexpr char kIconTransparent = '.';

inline constexpr std::array<std::string_view, 32> kIcon32{
    "................................", "................................",
    "................................", "..MMMMMMMM......................",
    "...MMM...MMM....................", "...MMM....MMM...................",
    "...MMM....MMM.GGGGGGGGGG........", "...MMM.....MMMGGGGGGGGGG........",
    "...MMM.....MMM........GG........", "...MMM.....MMM........GG........",
    "...MMM.....MMM........GG........", "...MMM.....MMM......GGGGGG......",
    "...MMM.....MMM.......GGGG.......", "...MMM.....MMM........GG........",
    "...MMM.....MMM...RRRRR...RRRRR..", "...MMM....MMM.....RRR.....RRR...",
    "...MMM....MMM.....RRR.....RRR...", "...MMM..MMMM......RRR.....RRR...",
    "..MMMMMMMM........RRR.....RRR...", ".......GG.........RRR.....RRR...",
    "......GGGG........RRR.....RRR...", ".....GGGGGG.......RRRRRRRRRRR...",
    ".......GG.........RRR.....RRR...", ".......GG.........RRR.....RRR...",
    ".......GG.........RRR.....RRR...", ".......GG.........RRR.....RRR...",
    ".......GGGGGGGGGGGRRR.....RRR...", ".......GGGGGGGGGGGRRR.....RRR...",
    "..................RRR.....RRR...", ".................RRRRR...RRRRR..",
    "................................", "................................",
};

inline constexpr std::array<std::string_view, 16> kIcon16{
    "................", ".MMMMM..........", "..MM.MM.........", "..MM.MM.........",
    "..MM.MMGGGGG....", "..MM.MM....G....", "..MM.MM....G....", "..MM.MM.RRR.RRR.",
    ".MMMMM...RR.RR..", "....G....RR.RR..", "....G....RRRRR..", "....GGGGGRR.RR..",
    ".........RR.RR..", ".........RR.RR..", "........RRR.RRR.", "................",
};

// The grid an icon `size` pixels square is drawn from, scaled up by whole pixels with no smoothing: the
// larger grid where it divides the size, else the smaller.
constexpr std::span<const std::string_view> IconGridFor(std::size_t size) {
  if (size % kIcon32.size() == 0) return kIcon32;
  return kIcon16;
}

}  // namespace vostrel::resources
