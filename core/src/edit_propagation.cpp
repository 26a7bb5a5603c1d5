// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "vostrel/core/edit_propagation.h"

namespace vostrel::core {
namespace {

void PropagateDecimalEdit(FieldModel& fields, TextView decimalText) {
  HexDigitsBuffer formatted;
  if (const auto hex = FormatHexText(decimalText, formatted)) fields.SetFieldText(kHexField, *hex);
  // Pads whatever the hexadecimal field now holds, also its old text when the conversion above failed.
  const Text hex = fields.FieldText(kHexField);
  HexDigitsBuffer buffer;
  const TextView padded = PadHexDigits(hex, buffer);
  if (padded.size() != hex.size()) fields.SetFieldText(kHexField, padded);
}

void PropagateHexEdit(FieldModel& fields, TextView hexText) {
  if (const auto value = ParseHexText(hexText)) {
    DecimalTextBuffer buffer;
    fields.SetFieldText(kDecimalField, FormatDecimalText(*value, buffer));
  }
}

}  // namespace

void PropagateEdit(FieldModel& fields, FieldIndex index) {
  if (index != kDecimalField && index != kHexField) return;
  if (!fields.IsActiveField(index)) return;

  const Text edited = fields.FieldText(index);
  if (edited.empty()) {
    if (index == kDecimalField) {
      fields.SetFieldText(kHexField, u"");
      fields.SetFieldText(kBinaryField, u"");
    } else {
      fields.SetFieldText(kBinaryField, u"");
      fields.SetFieldText(kDecimalField, u"");
    }
    return;
  }

  if (index == kDecimalField) {
    PropagateDecimalEdit(fields, edited);
  } else {
    PropagateHexEdit(fields, edited);
  }

  // Read the edited text afresh: the writes above ran nested handlers.
  const Text current = fields.FieldText(index);
  const auto value = index == kDecimalField ? ParseDecimalText(current) : ParseHexText(current);
  if (value) {
    BinaryTextBuffer buffer;
    fields.SetFieldText(kBinaryField, RenderBinary(*value, buffer));
  }
}

}  // namespace vostrel::core
