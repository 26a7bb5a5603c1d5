// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "vostrel/modules/modAppSetting.h"

#include <gtest/gtest.h>

#include "case_name.h"
#include "fake_runtime.h"

namespace vostrel::modAppSetting {
namespace {

using testing::FakeSettingsStore;

TEST(ModAppSettingTest, AbsentEntriesGiveTheDefault) {
  FakeSettingsStore store;
  EXPECT_EQ(ReadSettingLong(store, u"xPos", 480), 480);
  EXPECT_EQ(ReadSetting(store, u"xPos", u"abc"), u"abc");
}

TEST(ModAppSettingTest, AWrittenNegativeNumberReadsBack) {
  FakeSettingsStore store;
  WriteSetting(store, u"yPos", u"-300");
  EXPECT_EQ(ReadSettingLong(store, u"yPos", 0), -300);
  EXPECT_EQ(ReadSetting(store, u"yPos", u""), u"-300");
  EXPECT_EQ(store.Main(u"yPos"), u"-300") << "under the product name and section Main";
}

TEST(ModAppSettingTest, ASecondWriteReplacesTheFirst) {
  FakeSettingsStore store;
  WriteSetting(store, u"xPos", u"1");
  WriteSetting(store, u"xPos", u"2");
  EXPECT_EQ(ReadSettingLong(store, u"xPos", 0), 2);
}

struct StoredCase {
  const char* name;
  core::Text stored;
  core::Value expected;
};

void PrintTo(const StoredCase& c, std::ostream* os) {
  *os << c.name;
}

class StoredTextTest : public ::testing::TestWithParam<StoredCase> {};

TEST_P(StoredTextTest, ReadsAsAValueOrTheDefault) {
  FakeSettingsStore store;
  store.entries[{u"Vostrel", u"Main", u"xPos"}] = GetParam().stored;
  EXPECT_EQ(ReadSettingLong(store, u"xPos", 77), GetParam().expected);
  EXPECT_EQ(ReadSetting(store, u"xPos", u"77"), GetParam().stored) << "the text itself comes back unchanged";
}

INSTANTIATE_TEST_SUITE_P(Table, StoredTextTest,
                         ::testing::Values(StoredCase{"Number", u"5812", 5812}, StoredCase{"Empty", u"", 77},
                                           StoredCase{"Letters", u"abc", 77},
                                           StoredCase{"Fraction", u"1.5", 77},
                                           StoredCase{"AboveRange", u"2147483648", 77},
                                           StoredCase{"BelowRange", u"-2147483649", 77},
                                           StoredCase{"Min", u"-2147483648", INT32_MIN}),
                         testing::CaseName());

TEST(ModAppSettingTest, AStoreThatCannotBeReadGivesTheDefaults) {
  FakeSettingsStore store;
  store.entries[{u"Vostrel", u"Main", u"xPos"}] = u"300";
  store.failReads = true;
  EXPECT_EQ(ReadSettingLong(store, u"xPos", 9), 9);
  EXPECT_EQ(ReadSetting(store, u"xPos", u"d"), u"d");
}

TEST(ModAppSettingTest, WithoutAProductNameNothingIsReadOrWritten) {
  FakeSettingsStore store;
  store.entries[{u"Vostrel", u"Main", u"xPos"}] = u"300";
  store.productName = std::nullopt;
  EXPECT_EQ(ReadSettingLong(store, u"xPos", 9), 9);
  WriteSetting(store, u"yPos", u"5");
  EXPECT_EQ(store.entries.size(), 1U);
}

TEST(ModAppSettingTest, EntriesOfOtherSectionsOrApplicationsAreNeverSeen) {
  FakeSettingsStore store;
  store.entries[{u"Vostrel", u"Other", u"xPos"}] = u"1";
  store.entries[{u"Other", u"Main", u"xPos"}] = u"2";
  store.entries[{u"vostrel", u"main", u"xPos"}] = u"3";
  EXPECT_EQ(ReadSettingLong(store, u"xPos", 9), 9);
}

TEST(ModAppSettingTest, TheProductNameIsAskedOnEveryCall) {
  FakeSettingsStore store;
  WriteSetting(store, u"xPos", u"1");
  store.productName = u"Renamed";
  EXPECT_EQ(ReadSettingLong(store, u"xPos", 9), 9);
  WriteSetting(store, u"xPos", u"4");
  EXPECT_EQ((store.entries[{u"Renamed", u"Main", u"xPos"}]), u"4");
}

}  // namespace
}  // namespace vostrel::modAppSetting
