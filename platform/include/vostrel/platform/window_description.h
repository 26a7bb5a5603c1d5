// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The window and its controls as data, in twips, for a runtime to build.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "vostrel/core/vocabulary.h"

namespace vostrel::platform {

// 1440 twips to the inch, so 15 to a pixel at 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;

struct Rgb {
  std::uint8_t red, green, blue;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct TwipsRect {
  int left, top, width, height;
};

struct CaptionDescription {
  std::u16string_view caption;
  TwipsRect geometry;
  int tabIndex;
};

// Marks an English text that the runtime shows in the user's language, translated in the context `context`;
// the translation tools find the text by this name.
#define VOSTREL_TRANSLATABLE(context, text) text

struct FieldDescription {
  TwipsRect geometry;
  std::u16string_view initialText;
  int tabIndex;
  bool readOnly;
  // What assistive technology announces, in English, translated in the context "frmMain".
  const char* accessibleName;
  const char* accessibleDescription;
};

struct WindowDescription {
  std::u16string_view title;
  int width, height;  // twips; the whole window is client area
  Rgb background;
  Rgb captionText;
  // The font is the platform's own choice: one whose Chinese characters are 180 twips wide and digits half
  // that.
  int fontHeight;  // twips
  // Indexed like the fields: caption i labels field i.
  std::array<CaptionDescription, core::kFieldCount> captions;
  std::array<FieldDescription, core::kFieldCount> fields;
};

}  // namespace vostrel::platform
