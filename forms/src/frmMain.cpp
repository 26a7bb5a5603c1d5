// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "vostrel/forms/frmMain.h"

#include <cmath>
#include <limits>

#include "vostrel/core/key_filter.h"
#include "vostrel/modules/modAppSetting.h"

namespace vostrel::forms {
namespace {

using core::FieldIndex;
using platform::kTwipsPerPixel;

constexpr platform::Rgb kNavy{0, 0, 128};
constexpr platform::Rgb kYellow{255, 255, 0};

// Selecting this many characters selects the whole text of any field.
constexpr std::int32_t kWholeText = 32767;

constexpr core::TextView kLeftKey = u"xPos";
constexpr core::TextView kTopKey = u"yPos";

// A float rounded half to even and held to the Value range.
core::Value RoundToValue(float value) {
  if (std::isnan(value)) return 0;
  const double rounded = std::nearbyint(static_cast<double>(value));
  if (rounded <= std::numeric_limits<core::Value>::min()) return std::numeric_limits<core::Value>::min();
  if (rounded >= std::numeric_limits<core::Value>::max()) return std::numeric_limits<core::Value>::max();
  return static_cast<core::Value>(rounded);
}

}  // namespace

const platform::WindowDescription& frmMain::Description() {
  static const platform::WindowDescription description{
      .title = u"Vostrel",
      .width = 7575,
      .height = 270,
      .background = kNavy,
      .captionText = kYellow,
      .fontHeight = 12 * kTwipsPerPixel,
      .captions = {{
          {.caption = u"十进制：", .geometry = {90, 45, 795, 225}, .tabIndex = 2},
          {.caption = u"十六进制：", .geometry = {1860, 45, 945, 225}, .tabIndex = 0},
          {.caption = u"二进制：", .geometry = {3630, 45, 735, 225}, .tabIndex = 4},
      }},
      .fields = {{
          {.geometry = {810, 0, 975, 270},
           .initialText = u"0",
           .tabIndex = 3,
           .readOnly = false,
           .accessibleName = VOSTREL_TRANSLATABLE("frmMain", "Decimal"),
           .accessibleDescription = VOSTREL_TRANSLATABLE(
               "frmMain", "The value in decimal. Type digits; the other fields follow.")},
          {.geometry = {2760, 0, 795, 270},
           .initialText = u"0",
           .tabIndex = 1,
           .readOnly = false,
           .accessibleName = VOSTREL_TRANSLATABLE("frmMain", "Hexadecimal"),
           .accessibleDescription = VOSTREL_TRANSLATABLE(
               "frmMain", "The value in hexadecimal. Type digits and A to F; the other fields follow.")},
          {.geometry = {4350, 0, 3225, 270},
           .initialText = u"0",
           .tabIndex = 5,
           .readOnly = true,
           .accessibleName = VOSTREL_TRANSLATABLE("frmMain", "Binary"),
           .accessibleDescription = VOSTREL_TRANSLATABLE(
               "frmMain", "The value's 32-bit pattern in groups of eight bits. Read-only.")},
      }},
  };
  return description;
}

core::Value CentredPosition(float screenExtent, float windowExtent) {
  return RoundToValue((screenExtent - windowExtent) / 2);
}

void frmMain::Form_Load() {
  const platform::ScreenSize screen = runtime_.PrimaryScreenSize();
  const platform::WindowGeometry window = runtime_.Geometry();

  auto left = static_cast<float>(modAppSetting::ReadSettingLong(runtime_.Settings(), kLeftKey,
                                                                CentredPosition(screen.width, window.width)));
  auto top = static_cast<float>(modAppSetting::ReadSettingLong(
      runtime_.Settings(), kTopKey, CentredPosition(screen.height, window.height)));

  // The lower bound first: a window larger than the screen ends flush with the right or bottom edge.
  if (left < 0) left = 0;
  if (left > screen.width - window.width) left = screen.width - window.width;
  if (top < 0) top = 0;
  if (top > screen.height - window.height) top = screen.height - window.height;
  runtime_.MoveWindow(left, top);

  runtime_.MakeTopmostAndShow();
}

void frmMain::Form_QueryUnload(std::int16_t& /*cancel*/, platform::UnloadReason /*reason*/) {
  // Only a normal window's real position is worth restoring; the close itself is never held back.
  if (runtime_.State() != platform::WindowState::kNormal || !runtime_.KnowsWindowPosition()) return;
  const platform::WindowGeometry window = runtime_.Geometry();
  modAppSetting::WriteSetting(runtime_.Settings(), kLeftKey,
                              core::FormatDecimalText(RoundToValue(window.left)));
  modAppSetting::WriteSetting(runtime_.Settings(), kTopKey,
                              core::FormatDecimalText(RoundToValue(window.top)));
}

void frmMain::Form_MouseDown(std::int16_t& button, std::int16_t& /*shift*/, float /*x*/, float /*y*/) {
  if (button != platform::kLeftButton) return;
  runtime_.StartInteractiveMove();
}

void frmMain::Form_MouseUp(std::int16_t& button, std::int16_t& /*shift*/, float /*x*/, float /*y*/) {
  if (button != platform::kRightButton) return;
  runtime_.CloseWindow();
}

void frmMain::lbl_MouseDown(FieldIndex index, std::int16_t& button, std::int16_t& shift, float /*x*/,
                            float /*y*/) {
  runtime_.SetFocus(index);
  runtime_.DoEvents();
  // The pump may have run a close (an Esc typed just before): the window is gone then.
  if (runtime_.IsClosed()) return;
  Form_MouseDown(button, shift, 0, 0);
}

void frmMain::lbl_MouseUp(FieldIndex /*index*/, std::int16_t& button, std::int16_t& shift, float /*x*/,
                          float /*y*/) {
  Form_MouseUp(button, shift, 0, 0);
}

void frmMain::txt_Change(FieldIndex index) {
  core::PropagateEdit(*this, index);
}

void frmMain::txt_GotFocus(FieldIndex index) {
  runtime_.SetSelection(index, 0, kWholeText);
}

void frmMain::txt_KeyPress(FieldIndex index, core::KeyCode& keyCode) {
  if (runtime_.IsClosed()) {
    keyCode = core::kKeyNone;
    return;
  }
  const core::KeyFilterResult result =
      core::FilterKey(index, keyCode, runtime_.FieldText(index), runtime_.SelectionLength(index));
  keyCode = result.keyCode;
  if (result.focusTarget) {
    runtime_.SetFocus(*result.focusTarget);
  } else if (result.close) {
    runtime_.CloseWindow();  // nothing may touch the window after this
  } else if (result.beep) {
    runtime_.Beep();
  }
}

}  // namespace vostrel::forms
