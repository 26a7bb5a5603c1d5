// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "vostrel/resources/ico_file.h"

#include <zlib.h>

#include <array>
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

// The grid's symbol at a pixel of the icon drawn `size` pixels square.
char SymbolAt(unsigned size, unsigned x, unsigned y) {
  const auto rows = IconGridFor(size);
  const auto scale = size / static_cast<unsigned>(rows.size());
  return rows[y / scale][x / scale];
}

const IconColour* ColourOf(char symbol) {
  for (const auto& colour : kIconPalette) {
    if (colour.symbol == symbol) return &colour;
  }
  return nullptr;  // transparent
}

std::uint8_t PaletteIndex(char symbol) {
  if (const IconColour* colour = ColourOf(symbol)) {
    for (std::size_t i = 0; i < kPalette.size(); ++i) {
      if (kPalette[i] == std::array{colour->red, colour->green, colour->blue})
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

void PutBig32(std::vector<std::uint8_t>& out, unsigned value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFFU));
}

// Rows of a bottom-up bitmap are padded to whole 32-bit words.
constexpr unsigned RowBytes(unsigned bits) {
  return (bits + 31) / 32 * 4;
}

std::vector<std::uint8_t> Bitmap(unsigned size) {
  std::vector<std::uint8_t> out;
  Put32(out, 40);                             // BITMAPINFOHEADER
  Put32(out, size);                           // width
  Put32(out, size * 2);                       // height of colour and mask together
  Put16(out, 1);                              // planes
  Put16(out, 4);                              // bits per pixel
  for (int i = 0; i < 6; ++i) Put32(out, 0);  // no compression, sizes and colour counts left to the reader
  for (const auto& colour : kPalette) out.insert(out.end(), {colour[2], colour[1], colour[0], 0});

  for (unsigned y = size; y-- > 0;) {
    std::vector<std::uint8_t> line(RowBytes(size * 4));
    for (unsigned x = 0; x < size; ++x) {
      line[x / 2] = static_cast<std::uint8_t>(line[x / 2] |
                                              (PaletteIndex(SymbolAt(size, x, y)) << (x % 2 == 0 ? 4 : 0)));
    }
    out.insert(out.end(), line.begin(), line.end());
  }
  for (unsigned y = size; y-- > 0;) {
    std::vector<std::uint8_t> line(RowBytes(size));
    for (unsigned x = 0; x < size; ++x) {
      if (SymbolAt(size, x, y) == kIconTransparent)
        line[x / 8] = static_cast<std::uint8_t>(line[x / 8] | (0x80U >> (x % 8)));
    }
    out.insert(out.end(), line.begin(), line.end());
  }
  return out;
}

void PutChunk(std::vector<std::uint8_t>& out, std::string_view type, const std::vector<std::uint8_t>& data) {
  PutBig32(out, static_cast<unsigned>(data.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data.begin(), data.end());
  PutBig32(out, static_cast<unsigned>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

// A whole PNG file, 8-bit RGBA: how Windows takes a 256-pixel icon image. zlib at a fixed level gives the
// same bytes every build.
std::vector<std::uint8_t> Png(unsigned size) {
  std::vector<std::uint8_t> pixels;
  for (unsigned y = 0; y < size; ++y) {
    pixels.push_back(0);  // no filter: deflate finds the repeated pixels and rows by itself
    for (unsigned x = 0; x < size; ++x) {
      const IconColour* colour = ColourOf(SymbolAt(size, x, y));
      if (colour == nullptr)
        pixels.insert(pixels.end(), {0, 0, 0, 0});
      else
        pixels.insert(pixels.end(), {colour->red, colour->green, colour->blue, 255});
    }
  }
  std::vector<std::uint8_t> compressed(compressBound(static_cast<uLong>(pixels.size())));
  auto length = static_cast<uLongf>(compressed.size());
  if (compress2(compressed.data(), &length, pixels.data(), static_cast<uLong>(pixels.size()),
                Z_BEST_COMPRESSION) != Z_OK) {
    return {};
  }
  compressed.resize(length);

  std::vector<std::uint8_t> header;
  PutBig32(header, size);
  PutBig32(header, size);
  // 8 bits a channel, RGBA, deflate, the standard filters, not interlaced.
  header.insert(header.end(), {8, 6, 0, 0, 0});
  std::vector<std::uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutChunk(out, "IHDR", header);
  PutChunk(out, "IDAT", compressed);
  PutChunk(out, "IEND", {});
  return out;
}

}  // namespace

std::vector<std::uint8_t> IcoFile() {
  // Windows takes the image nearest the size it wants before its colour depth, so the drawn 16 and 32 stay
  // its choice there.
  const auto& sizes = kIcoSizes;
  std::vector<std::vector<std::uint8_t>> images;
  for (const unsigned size : sizes) images.push_back(size < 256 ? Bitmap(size) : Png(size));
  std::vector<std::uint8_t> out;
  Put16(out, 0);  // reserved
  Put16(out, 1);  // icon
  Put16(out, static_cast<unsigned>(images.size()));
  auto offset = static_cast<unsigned>(6 + 16 * images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    // 256 is written as 0; the PNG is true colour, the bitmaps 16 colours.
    const bool png = sizes[i] == 256;
    const auto side = static_cast<std::uint8_t>(sizes[i] & 0xFFU);
    out.insert(out.end(), {side, side, static_cast<std::uint8_t>(png ? 0 : 16), 0});
    Put16(out, 1);             // planes
    Put16(out, png ? 32 : 4);  // bits per pixel
    Put32(out, static_cast<unsigned>(images[i].size()));
    Put32(out, offset);
    offset += static_cast<unsigned>(images[i].size());
  }
  for (const auto& image : images) out.insert(out.end(), image.begin(), image.end());
  return out;
}

}  // namespace vostrel::resources
