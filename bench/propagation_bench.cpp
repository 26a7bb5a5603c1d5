// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// One typed character with its whole propagation, as the window runs it on every keystroke.
#include <benchmark/benchmark.h>

#include "three_field_model.h"
#include "vostrel/core/edit_propagation.h"
#include "vostrel/core/key_filter.h"

namespace {

using namespace vostrel::core;
using vostrel::testing::ThreeFieldModel;

// Types `key` at the end of `before` in the focused field: filter, edit, propagate into the other fields.
// `edited` is the field's own buffer, which keeps its capacity from keystroke to keystroke.
void TypeOne(ThreeFieldModel& model, FieldIndex field, const Text& before, char16_t key, Text& edited) {
  const KeyFilterResult result = FilterKey(field, static_cast<KeyCode>(key), before, 0);
  edited.assign(before).push_back(static_cast<char16_t>(result.keyCode));
  model.SetFieldText(field, edited);
}

void BM_DecimalKeystroke(benchmark::State& state) {
  ThreeFieldModel model;
  model.Focus(kDecimalField);
  const Text before = u"21474836";
  char16_t key = u'0';
  Text edited;
  for (auto _ : state) {
    // Alternate the last digit so that every keystroke changes all three fields.
    key = key == u'0' ? u'1' : u'0';
    TypeOne(model, kDecimalField, before, key, edited);
    benchmark::DoNotOptimize(model);
  }
}
BENCHMARK(BM_DecimalKeystroke);

void BM_HexKeystroke(benchmark::State& state) {
  ThreeFieldModel model;
  model.Focus(kHexField);
  const Text before = u"7FFFFFF";
  char16_t key = u'e';
  Text edited;
  for (auto _ : state) {
    key = key == u'e' ? u'f' : u'e';
    TypeOne(model, kHexField, before, key, edited);
    benchmark::DoNotOptimize(model);
  }
}
BENCHMARK(BM_HexKeystroke);

}  // namespace

BENCHMARK_MAIN();
