// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "vostrel/resources/ico_file.h"

#include <array>
#include <span>
#include <string_view>

#include "vostrel/resources/icon_grids.h"

namespace vostrel::resources {
namespace {

// The standard 16-colour palette; the icon's dark red, red and green are entries 1, 9 and 10.
constexpr std::array<std::array<std::uint8_t, 3>, 16> kPalette{{{0, 0, 0},
                                                                {128, 0, 0},
                                                                {0, 128, 0},
                                                                {128, 128, 0},
                                                                {0, 0, 128},
                                                                {128, 0, 128},
                                                                {0, 128, 128},
                                                                {192, 192, 192},
                                                                {128, 128, 128},
                                                                {255, 0, 0},
                                                                {0, 255, 0},
                                                                {255, 255, 0},
                                                                {0, 0, 255},
                                                                {255, 0, 255},
                                                                {0, 255, 255},
                                                                {255, 255, 255}}};

std::uint8_t PaletteIndex(char symbol) {
  for (const auto& colour : kIconPalette) {
    if (colour.symbol != symbol) continue;
    for (std::size_t i = 0; i < kPalette.size(); ++i) {
      if (kPalette[i] == std::array{colour.red, colour.green, colour.blue})
        return static_cast<std::uint8_t>(i);
    }
  }
  return 0;  // transparent: black under a set mask bit
}

void Put16(std::vector<std::uint8_t>& out, unsigned value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFFU));
  out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFFU));
}

void Put32(std::vector<std::uint8_t>& out, unsigned value) {
  Put16(out, value & 0xFFFFU);
  Put16(out, value >> 16);
}

// Rows of a bottom-up bitmap are padded to whole 32-bit words.
constexpr unsigned RowBytes(unsigned bits) {
  return (bits + 31) / 32 * 4;
}

std::vector<std::uint8_t> Bitmap(std::span<const std::string_view> rows) {
  const auto size = static_cast<unsigned>(rows.size());
  std::vector<std::uint8_t> out;
  Put32(out, 40);                             // BITMAPINFOHEADER
  Put32(out, size);                           // width
  Put32(out, size * 2);                       // height of colour and mask together
  Put16(out, 1);                              // planes
  Put16(out, 4);                              // bits per pixel
  for (int i = 0; i < 6; ++i) Put32(out, 0);  // no compression, sizes and colour counts left to the reader
  for (const auto& colour : kPalette) out.insert(out.end(), {colour[2], colour[1], colour[0], 0});

  for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
    std::vector<std::uint8_t> line(RowBytes(size * 4));
    for (unsigned x = 0; x < size; ++x) {
      line[x / 2] =
          static_cast<std::uint8_t>(line[x / 2] | (PaletteIndex((*row)[x]) << (x % 2 == 0 ? 4 : 0)));
    }
    out.insert(out.end(), line.begin(), line.end());
  }
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
    std::vector<std::uint8_t> line(RowBytes(size));
    for (unsigned x = 0; x < size; ++x) {
      if ((*row)[x] == kIconTransparent)
        line[x / 8] = static_cast<std::uint8_t>(line[x / 8] | (0x80U >> (x % 8)));
    }
    out.insert(out.end(), line.begin(), line.end());
  }
  return out;
}

}  // namespace

std::vector<std::uint8_t> IcoFile() {
  const std::array images{Bitmap(kIcon16), Bitmap(kIcon32)};
  const std::array sizes{16U, 32U};
  std::vector<std::uint8_t> out;
  Put16(out, 0);  // reserved
  Put16(out, 1);  // icon
  Put16(out, static_cast<unsigned>(images.size()));
  auto offset = static_cast<unsigned>(6 + 16 * images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    out.insert(out.end(), {static_cast<std::uint8_t>(sizes[i]), static_cast<std::uint8_t>(sizes[i]), 16, 0});
    Put16(out, 1);  // planes
    Put16(out, 4);  // bits per pixel
    Put32(out, static_cast<unsigned>(images[i].size()));
    Put32(out, offset);
    offset += static_cast<unsigned>(images[i].size());
  }
  for (const auto& image : images) out.insert(out.end(), image.begin(), image.end());
  return out;
}

}  // namespace vostrel::resources
