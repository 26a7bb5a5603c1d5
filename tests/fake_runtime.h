// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// A runtime without a display: fields, focus, selection, window and settings held in memory, and every
// platform call the handlers make recorded for the test to check.
#pragma once

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "vostrel/core/key_filter.h"
#include "vostrel/platform/runtime.h"

namespace vostrel::testing {

// A settings store in memory whose reads can be told to fail.
class FakeSettingsStore : public platform::SettingsStore {
 public:
  using Entry = std::tuple<core::Text, core::Text, core::Text>;  // application, section, key

  [[nodiscard]] std::optional<core::Text> ProductName() const override { return productName; }
  [[nodiscard]] std::optional<core::Text> ReadSetting(core::TextView application, core::TextView section,
                                                      core::TextView key,
                                                      core::TextView defaultText) override {
    if (failReads) return std::nullopt;
    const auto found = entries.find({core::Text(application), core::Text(section), core::Text(key)});
    return found == entries.end() ? core::Text(defaultText) : found->second;
  }
  bool SaveSetting(core::TextView application, core::TextView section, core::TextView key,
                   core::TextView text) override {
    entries[{core::Text(application), core::Text(section), core::Text(key)}] = core::Text(text);
    return true;
  }

  // The entry under the program's own name and section, or nullopt.
  [[nodiscard]] std::optional<core::Text> Main(core::TextView key) const {
    const auto found = entries.find({u"Vostrel", u"Main", core::Text(key)});
    if (found == entries.end()) return std::nullopt;
    return found->second;
  }

  std::optional<core::Text> productName = u"Vostrel";
  std::map<Entry, core::Text> entries;
  bool failReads = false;
};

class FakeRuntime final : public platform::Runtime {
 public:
  FakeRuntime() { texts.fill(u"0"); }

  void Attach(platform::WindowEvents& handlers) { events = &handlers; }

  // The user's own actions, delivered as the platform would.
  void UserFocus(core::FieldIndex index) { SetFocus(index); }
  // Types one character: the key-press handler decides, then the field takes what it left.
  core::KeyCode UserTypes(core::FieldIndex index, core::KeyCode key) {
    events->txt_KeyPress(index, key);
    if (closed || key == core::kKeyNone || readOnly[static_cast<std::size_t>(index)]) return key;
    core::Text text = texts[static_cast<std::size_t>(index)];
    // A selection always starts at 0 here: the handlers only ever select the whole text.
    const auto selected = static_cast<std::size_t>(selection[static_cast<std::size_t>(index)]);
    if (selected > 0) {
      text.erase(0, selected);
      if (key != core::kKeyBackspace) text.insert(text.begin(), static_cast<char16_t>(key));
    } else if (key == core::kKeyBackspace) {
      if (!text.empty()) text.pop_back();
    } else {
      text.push_back(static_cast<char16_t>(key));
    }
    selection[static_cast<std::size_t>(index)] = 0;
    SetFieldText(index, text);
    return key;
  }

  [[nodiscard]] core::Text FieldText(core::FieldIndex index) const override {
    return texts.at(static_cast<std::size_t>(index));
  }
  void SetFieldText(core::FieldIndex index, core::TextView text) override {
    core::Text& field = texts.at(static_cast<std::size_t>(index));
    if (field == text) return;
    field.assign(text);
    selection[static_cast<std::size_t>(index)] = 0;
    if (events != nullptr) events->txt_Change(index);
  }
  [[nodiscard]] std::optional<core::FieldIndex> ActiveField() const override { return focused; }
  void SetFocus(core::FieldIndex index) override {
    if (focused == index) return;
    focused = index;
    events->txt_GotFocus(index);
  }
  [[nodiscard]] std::int32_t SelectionLength(core::FieldIndex index) const override {
    return selection.at(static_cast<std::size_t>(index));
  }
  void SetSelection(core::FieldIndex index, std::int32_t start, std::int32_t length) override {
    const auto size = static_cast<std::int32_t>(FieldText(index).size());
    selection.at(static_cast<std::size_t>(index)) = std::clamp(length, 0, size - std::clamp(start, 0, size));
  }
  [[nodiscard]] platform::WindowGeometry Geometry() const override { return geometry; }
  [[nodiscard]] bool KnowsWindowPosition() const override { return positionKnown; }
  [[nodiscard]] platform::WindowState State() const override { return state; }
  void MoveWindow(float left, float top) override {
    geometry.left = left;
    geometry.top = top;
    moves.emplace_back(left, top);
  }
  void CloseWindow() override {
    if (closed) return;
    std::int16_t cancel = 0;
    events->Form_QueryUnload(cancel, platform::UnloadReason::kCode);
    closed = true;
  }
  [[nodiscard]] bool IsClosed() const override { return closed; }
  void StartInteractiveMove() override {
    ASSERT_FALSE(closed) << "moved a closed window";
    ++interactiveMoves;
  }
  void MakeTopmostAndShow() override { shownAt = {geometry.left, geometry.top}; }
  void Beep() override { ++beeps; }
  void DoEvents() override {
    if (queued) std::exchange(queued, nullptr)();
  }
  [[nodiscard]] platform::ScreenSize PrimaryScreenSize() const override { return screen; }
  [[nodiscard]] platform::SettingsStore& Settings() override { return store; }

  platform::WindowEvents* events = nullptr;
  std::array<core::Text, core::kFieldCount> texts;
  std::array<std::int32_t, core::kFieldCount> selection{};
  std::array<bool, core::kFieldCount> readOnly{false, false, true};
  std::optional<core::FieldIndex> focused;
  platform::WindowGeometry geometry{0, 0, 7575, 270};
  platform::WindowState state = platform::WindowState::kNormal;
  bool positionKnown = true;
  platform::ScreenSize screen{19200, 12000};
  FakeSettingsStore store;
  std::function<void()> queued;  // what the next DoEvents finds waiting

  std::vector<std::pair<float, float>> moves;
  std::optional<std::pair<float, float>> shownAt;
  bool closed = false;
  int interactiveMoves = 0;
  int beeps = 0;
};

}  // namespace vostrel::testing
