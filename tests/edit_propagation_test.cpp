// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "vostrel/core/edit_propagation.h"

#include <gtest/gtest.h>

#include "case_name.h"
#include "three_field_model.h"

#include <string>
#include <vector>

#include "vostrel/core/key_filter.h"

namespace vostrel::core {
namespace {

using testing::ThreeFieldModel;

// Records every write and every change notification, with the nesting depth at which it came.
class RecordingModel : public ThreeFieldModel {
 public:
  struct Write {
    FieldIndex field;
    Text text;
    int depth;
    friend bool operator==(const Write&, const Write&) = default;
  };

  void SetFieldText(FieldIndex index, TextView text) override {
    writes.push_back({index, Text(text), depth_});
    ThreeFieldModel::SetFieldText(index, text);
  }

  // The user's own edit of the focused field: a write that the notification then propagates.
  void UserEdit(FieldIndex index, TextView text) {
    Focus(index);
    writes.clear();
    ThreeFieldModel::SetFieldText(index, text);
  }

  // Types one character at the end of the focused field, through the keystroke rule, as the window does.
  void Type(FieldIndex index, char16_t c) {
    const Text before = FieldText(index);
    const KeyFilterResult result = FilterKey(index, static_cast<KeyCode>(c), before, 0);
    ASSERT_NE(result.keyCode, kKeyNone) << "refused: " << static_cast<int>(c);
    UserEdit(index, before + static_cast<char16_t>(result.keyCode));
  }

  std::vector<Write> writes;
  std::vector<int> notificationDepths;

 protected:
  void Changed(FieldIndex index) override {
    notificationDepths.push_back(depth_);
    ++depth_;
    ThreeFieldModel::Changed(index);
    --depth_;
  }

 private:
  int depth_ = 0;
};

struct Fields {
  TextView decimal;
  TextView hex;
  TextView binary;
};

void ExpectFields(const ThreeFieldModel& model, const Fields& expected) {
  EXPECT_EQ(model.FieldText(kDecimalField), expected.decimal);
  EXPECT_EQ(model.FieldText(kHexField), expected.hex);
  EXPECT_EQ(model.FieldText(kBinaryField), expected.binary);
}

struct TypingCase {
  const char* name;
  FieldIndex field;
  TextView typed;
  std::vector<Fields> afterEachKey;  // the last entry is checked after the whole text when shorter
};

void PrintTo(const TypingCase& c, std::ostream* os) {
  *os << c.name;
}

class TypingTest : public ::testing::TestWithParam<TypingCase> {};

TEST_P(TypingTest, EachKeystrokeRewritesTheOtherFields) {
  const TypingCase& c = GetParam();
  RecordingModel model;
  model.UserEdit(c.field, u"");
  for (std::size_t i = 0; i < c.typed.size(); ++i) {
    model.Type(c.field, c.typed[i]);
    const std::size_t remaining = c.typed.size() - i - 1;
    if (remaining < c.afterEachKey.size()) {
      SCOPED_TRACE(i);
      ExpectFields(model, c.afterEachKey[c.afterEachKey.size() - 1 - remaining]);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, TypingTest,
    ::testing::Values(
        TypingCase{"DecimalOneTwoThree",
                   kDecimalField,
                   u"123",
                   {{u"1", u"01", u"00000001"}, {u"12", u"0C", u"00001100"}, {u"123", u"7B", u"01111011"}}},
        TypingCase{"HexFF", kHexField, u"FF", {{u"15", u"F", u"00001111"}, {u"255", u"FF", u"11111111"}}},
        TypingCase{"HexLowerCaseIsUpperCased", kHexField, u"ff", {{u"255", u"FF", u"11111111"}}},
        TypingCase{"HexABC", kHexField, u"ABC", {{u"2748", u"ABC", u"00001010,10111100"}}},
        TypingCase{"HexAllOnes",
                   kHexField,
                   u"FFFFFFFF",
                   {{u"-1", u"FFFFFFFF", u"11111111,11111111,11111111,11111111"}}},
        TypingCase{"HexTopBit",
                   kHexField,
                   u"80000000",
                   {{u"-2147483648", u"80000000", u"10000000,00000000,00000000,00000000"}}},
        TypingCase{"DecimalOverflowKeepsLastGoodValue",
                   kDecimalField,
                   u"2147483648",
                   {{u"214748364", u"0CCCCCCC", u"00001100,11001100,11001100,11001100"},
                    {u"2147483648", u"0CCCCCCC", u"00001100,11001100,11001100,11001100"}}},
        TypingCase{"DecimalSeventeenBits",
                   kDecimalField,
                   u"65536",
                   {{u"65536", u"00010000", u"00000000,00000001,00000000,00000000"}}},
        TypingCase{"DecimalMax",
                   kDecimalField,
                   u"2147483647",
                   {{u"2147483647", u"7FFFFFFF", u"01111111,11111111,11111111,11111111"}}}),
    testing::CaseName());

TEST(EditPropagationTest, EmptyingAFieldClearsTheOthersInItsOrder) {
  RecordingModel model;
  model.Type(kDecimalField, u'5');
  model.UserEdit(kDecimalField, u"");
  EXPECT_EQ(model.writes, (std::vector<RecordingModel::Write>{{kHexField, u"", 1}, {kBinaryField, u"", 1}}));
  ExpectFields(model, {u"", u"", u""});

  model.UserEdit(kHexField, u"A");
  model.UserEdit(kHexField, u"");
  EXPECT_EQ(model.writes,
            (std::vector<RecordingModel::Write>{{kBinaryField, u"", 1}, {kDecimalField, u"", 1}}));
  ExpectFields(model, {u"", u"", u""});
}

struct WriteOrderCase {
  const char* name;
  FieldIndex field;
  TextView text;
  std::vector<RecordingModel::Write> writes;
};

void PrintTo(const WriteOrderCase& c, std::ostream* os) {
  *os << c.name;
}

class WriteOrderTest : public ::testing::TestWithParam<WriteOrderCase> {};

TEST_P(WriteOrderTest, WritesComeInTheirOrderOneLevelDeep) {
  RecordingModel model;
  model.UserEdit(GetParam().field, GetParam().text);
  EXPECT_EQ(model.writes, GetParam().writes);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WriteOrderTest,
    ::testing::Values(
        WriteOrderCase{"DecimalPadded",
                       kDecimalField,
                       u"10",
                       {{kHexField, u"A", 1}, {kHexField, u"0A", 1}, {kBinaryField, u"00001010", 1}}},
        WriteOrderCase{"DecimalUnpadded",
                       kDecimalField,
                       u"255",
                       {{kHexField, u"FF", 1}, {kBinaryField, u"11111111", 1}}},
        // The conversion fails, yet the old hexadecimal text is padded and the binary field kept.
        WriteOrderCase{"DecimalOverflowPadsOldHex", kDecimalField, u"9999999999", {{kHexField, u"00", 1}}},
        WriteOrderCase{"DecimalPastedNonsense", kDecimalField, u"1.5", {{kHexField, u"00", 1}}},
        WriteOrderCase{"HexNeverPadsItself",
                       kHexField,
                       u"A",
                       {{kDecimalField, u"10", 1}, {kBinaryField, u"00001010", 1}}},
        WriteOrderCase{"HexPastedTooWide", kHexField, u"100000000", {}},
        WriteOrderCase{"HexPastedWithPrefix",
                       kHexField,
                       u" 0x10 ",
                       {{kDecimalField, u"16", 1}, {kBinaryField, u"00010000", 1}}}),
    testing::CaseName());

TEST(EditPropagationTest, NestedNotificationsChangeNothingFurther) {
  RecordingModel model;
  model.UserEdit(kDecimalField, u"10");
  // One notification for the user's edit, then one per changed write, each exactly one level deeper.
  EXPECT_EQ(model.notificationDepths, (std::vector<int>{0, 1, 1, 1}));
  ExpectFields(model, {u"10", u"0A", u"00001010"});
}

struct UnfocusedWriteCase {
  const char* name;
  FieldIndex focused;
  FieldIndex written;
  TextView text;
};

void PrintTo(const UnfocusedWriteCase& c, std::ostream* os) {
  *os << c.name;
}

class UnfocusedWriteTest : public ::testing::TestWithParam<UnfocusedWriteCase> {};

TEST_P(UnfocusedWriteTest, DrivesNothing) {
  RecordingModel model;
  model.Focus(GetParam().focused);
  model.SetFieldText(GetParam().written, GetParam().text);
  EXPECT_EQ(model.writes.size(), 1U);
  for (FieldIndex i = 0; i < kFieldCount; ++i) {
    if (i != GetParam().written) {
      EXPECT_EQ(model.FieldText(i), u"0");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, UnfocusedWriteTest,
    ::testing::Values(UnfocusedWriteCase{"DecimalWhileHexFocused", kHexField, kDecimalField, u"77"},
                      UnfocusedWriteCase{"HexWhileDecimalFocused", kDecimalField, kHexField, u""},
                      UnfocusedWriteCase{"BinaryWhileBinaryFocused", kBinaryField, kBinaryField, u"1"}),
    testing::CaseName());

}  // namespace
}  // namespace vostrel::core
