// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// What happens when the text of a field changes: the edited field drives the other two.
#pragma once

#include "vostrel/core/number_rendering.h"

namespace vostrel::core {

// The three fields as edit propagation sees them. SetFieldText must raise the written field's change
// notification (that is, call PropagateEdit for it) at once, nested inside the writer, as the window's fields
// do.
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

}  // namespace vostrel::core
