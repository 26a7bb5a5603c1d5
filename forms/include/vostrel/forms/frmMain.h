// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// The one window: its description and every handler of it and its controls.
#pragma once

#include "vostrel/core/edit_propagation.h"
#include "vostrel/platform/runtime.h"
#include "vostrel/platform/window_description.h"

namespace vostrel::forms {

// The event handlers of the window, its captions `lbl` and its fields `txt`, over the runtime's services.
class frmMain final : public platform::WindowEvents, private core::FieldModel {
 public:
  explicit frmMain(platform::Runtime& runtime) : runtime_(runtime) {}

  // The window and its six controls, for the runtime to build.
  [[nodiscard]] static const platform::WindowDescription& Description();

  void Form_Load() override;
  void Form_QueryUnload(std::int16_t& cancel, platform::UnloadReason reason) override;
  void Form_MouseDown(std::int16_t& button, std::int16_t& shift, float x, float y) override;
  void Form_MouseUp(std::int16_t& button, std::int16_t& shift, float x, float y) override;
  void lbl_MouseDown(core::FieldIndex index, std::int16_t& button, std::int16_t& shift, float x,
                     float y) override;
  void lbl_MouseUp(core::FieldIndex index, std::int16_t& button, std::int16_t& shift, float x,
                   float y) override;
  void txt_Change(core::FieldIndex index) override;
  void txt_GotFocus(core::FieldIndex index) override;
  void txt_KeyPress(core::FieldIndex index, core::KeyCode& keyCode) override;

 private:
  // Edit propagation works on the real fields through the runtime.
  [[nodiscard]] core::Text FieldText(core::FieldIndex index) const override {
    return runtime_.FieldText(index);
  }
  void SetFieldText(core::FieldIndex index, core::TextView text) override {
    runtime_.SetFieldText(index, text);
  }
  [[nodiscard]] bool IsActiveField(core::FieldIndex index) const override {
    return runtime_.ActiveField() == index;
  }

  platform::Runtime& runtime_;
};

// The centred position along one axis: half the room left by the window, rounded half to even.
[[nodiscard]] core::Value CentredPosition(float screenExtent, float windowExtent);

}  // namespace vostrel::forms
