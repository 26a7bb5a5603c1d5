// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// Three texts and the focused field, with the nested change notifications of the window's fields: edit
// propagation without a window, for the tests, the fuzzer and the benchmark.
#pragma once

#include <array>

#include "vostrel/core/edit_propagation.h"

namespace vostrel::testing {

class ThreeFieldModel : public core::FieldModel {
 public:
  // Every field starts as "0", with the hexadecimal field focused, as the window opens.
  ThreeFieldModel() { texts_.fill(u"0"); }

  [[nodiscard]] core::Text FieldText(core::FieldIndex index) const override {
    return texts_.at(static_cast<std::size_t>(index));
  }
  void SetFieldText(core::FieldIndex index, core::TextView text) override {
    core::Text& field = texts_.at(static_cast<std::size_t>(index));
    if (field == text) return;
    field.assign(text);
    Changed(index);
  }
  [[nodiscard]] bool IsActiveField(core::FieldIndex index) const override { return index == focused_; }

  void Focus(core::FieldIndex index) { focused_ = index; }
  [[nodiscard]] core::FieldIndex Focused() const { return focused_; }

 protected:
  // Raised after a write that changed the text; the window raises no notification for an unchanged text.
  virtual void Changed(core::FieldIndex index) { core::PropagateEdit(*this, index); }

 private:
  std::array<core::Text, core::kFieldCount> texts_;
  core::FieldIndex focused_ = core::kHexField;
};

}  // namespace vostrel::testing
