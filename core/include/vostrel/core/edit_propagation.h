// What happens when the text of a field changes: the edited field drives the other two.
#pragma once

#include <array>

#include "vostrel/core/field_index.h"
#include "vostrel/core/number_rendering.h"

namespace vostrel::core {

// The three fields as edit propagation sees them. SetText must raise the written field's change notification
// (that is, call PropagateEdit for it) at once, nested inside the writer, as the window's fields do.
class FieldModel {
 public:
  virtual ~FieldModel() = default;
  [[nodiscard]] virtual Text FieldText(FieldIndex index) const = 0;
  virtual void SetFieldText(FieldIndex index, TextView text) = 0;
  [[nodiscard]] virtual bool IsActiveField(FieldIndex index) const = 0;
};

// The change handler of the field array. Only an edit in the focused decimal or hexadecimal field drives the
// others; the nested notifications of its own writes return at once. A conversion that fails leaves the
// fields it would have written as they were; an empty text clears the other two fields.
void PropagateEdit(FieldModel& fields, FieldIndex index);

// Three texts and the focused field, with the nested notifications of the window. The window's real fields
// implement FieldModel themselves; this one serves everything that runs without a window.
class ThreeFieldModel : public FieldModel {
 public:
  // Every field starts as "0", with the hexadecimal field focused, as the window opens.
  ThreeFieldModel();

  [[nodiscard]] Text FieldText(FieldIndex index) const override;
  void SetFieldText(FieldIndex index, TextView text) override;
  [[nodiscard]] bool IsActiveField(FieldIndex index) const override { return index == focused_; }

  void Focus(FieldIndex index) { focused_ = index; }
  [[nodiscard]] FieldIndex Focused() const { return focused_; }

 protected:
  // Raised after a write that changed the text; the window raises no notification for an unchanged text.
  virtual void Changed(FieldIndex index) { PropagateEdit(*this, index); }

 private:
  std::array<Text, kFieldCount> texts_;
  FieldIndex focused_ = kHexField;
};

}  // namespace vostrel::core
