// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// Throws random keys, selections, pastes and focus changes at the keystroke rule and edit propagation, and
// checks what must always hold of the three fields.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "three_field_model.h"
#include "vostrel/core/edit_propagation.h"
#include "vostrel/core/key_filter.h"

namespace {

using namespace vostrel::core;
using vostrel::testing::ThreeFieldModel;

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  [[nodiscard]] bool Empty() const { return position_ >= size_; }
  std::uint8_t Byte() { return Empty() ? 0 : data_[position_++]; }
  std::uint16_t Unit() { return static_cast<std::uint16_t>(Byte() | (Byte() << 8)); }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

bool WellFormedBinary(const Text& text) {
  if (text.empty() || text == u"0") return true;
  if (text.size() != 8 && text.size() != 17 && text.size() != 35) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool separator = i % 9 == 8;
    if (separator ? text[i] != u',' : (text[i] != u'0' && text[i] != u'1')) return false;
  }
  return true;
}

std::optional<Value> BinaryValue(const Text& text) {
  if (text.empty() || text == u"0") return std::nullopt;
  std::uint32_t pattern = 0;
  for (char16_t c : text) {
    if (c != u',') pattern = (pattern << 1) | (c == u'1' ? 1U : 0U);
  }
  // Only a negative value fills all 32 bits; shorter texts are non-negative.
  return static_cast<Value>(pattern);
}

void CheckResult(const KeyFilterResult& r, KeyCode key, FieldIndex field) {
  const int actions = int{r.beep} + int{r.focusTarget.has_value()} + int{r.close};
  Check(actions <= 1, "at most one of beep, focus and close");
  Check(actions == 0 || r.keyCode == kKeyNone, "an action swallows the key");
  Check(r.keyCode == kKeyNone || r.keyCode == key || (field == kHexField && r.keyCode == key - 32),
        "a passed key is the typed one, upper-cased only in the hexadecimal field");
}

// The user's edit of `field`: a text that the field did not hold raises the change, and when it converts, all
// three fields then name one value.
void Edit(ThreeFieldModel& model, FieldIndex field, const Text& edited) {
  if (edited == model.FieldText(field)) return;
  model.SetFieldText(field, edited);
  const auto value = field == kDecimalField ? ParseDecimalText(edited) : ParseHexText(edited);
  if (!value) return;
  Check(ParseDecimalText(model.FieldText(kDecimalField)) == value, "decimal field names the value");
  Check(ParseHexText(model.FieldText(kHexField)) == value, "hexadecimal field names the value");
  Check(BinaryValue(model.FieldText(kBinaryField)) == value, "binary field names the value");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input input(data, size);
  ThreeFieldModel model;
  while (!input.Empty()) {
    const FieldIndex field = model.Focused();
    Text text = model.FieldText(field);
    // A selection somewhere in the text; the typed or pasted text replaces it.
    const std::size_t start = text.empty() ? 0 : input.Byte() % (text.size() + 1);
    const std::size_t length = input.Byte() % (text.size() - start + 1);
    const std::uint8_t op = input.Byte() % 8;

    if (op == 0) {
      model.Focus(static_cast<FieldIndex>(input.Byte() % kFieldCount));
    } else if (op == 1 && field != kBinaryField) {
      // A paste of any 16-bit text: it reaches the field without the keystroke rule.
      Text pasted(input.Byte() % 16, u'\0');
      for (char16_t& c : pasted) c = static_cast<char16_t>(input.Unit());
      text.replace(start, length, pasted);
      Edit(model, field, text);
    } else {
      // Mostly the keys that matter, sometimes any 16-bit code.
      static constexpr char16_t kKeys[] = u"0123456789ABCDEFabcdef\b\r\x1b-. Gg";
      const auto key =
          static_cast<KeyCode>(op < 6 ? kKeys[input.Byte() % (sizeof kKeys / 2 - 1)] : input.Unit());
      const KeyFilterResult result = FilterKey(field, key, text, static_cast<std::int32_t>(length));
      CheckResult(result, key, field);
      if (result.close) break;
      if (result.focusTarget) model.Focus(*result.focusTarget);
      if (result.keyCode == kKeyNone || field == kBinaryField) continue;  // the binary field is read-only
      if (result.keyCode == kKeyBackspace) {
        if (length > 0) {
          text.erase(start, length);
        } else if (start > 0) {
          text.erase(start - 1, 1);
        }
      } else {
        text.replace(start, length, 1, static_cast<char16_t>(result.keyCode));
      }
      Edit(model, field, text);
    }
    Check(WellFormedBinary(model.FieldText(kBinaryField)), "binary text well formed");
  }
  return 0;
}
