// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "vostrel/platform/win32/registry_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vostrel/modules/modAppSetting.h"

namespace vostrel::platform::win32 {
namespace {

// The real store under a key of the test's own, which stands where HKEY_CURRENT_USER stands for the program:
// never the user's settings.
class RegistryStoreTest : public ::testing::Test {
 protected:
  RegistryStoreTest() {
    path_ = L"Software\\Vostrel tests\\" + std::to_wstring(GetCurrentProcessId());
    RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &root_, nullptr),
              ERROR_SUCCESS);
  }
  ~RegistryStoreTest() override {
    RegCloseKey(root_);
    RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
  }

  // Stores exactly `data`. The registry counts a text's terminator that follows the data in memory, though
  // the size left it out: here a digit follows, so a text stored without its terminator stays so.
  void Put(const wchar_t* name, DWORD type, const std::vector<BYTE>& data) const {
    std::vector<BYTE> followed = data;
    followed.insert(followed.end(), {'9', 0, 0, 0});
    ASSERT_EQ(RegSetKeyValueW(root_, L"Software\\Vostrel\\Main", name, type, followed.data(),
                              static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
  }

  // The raw value as the registry holds it: its type and bytes.
  [[nodiscard]] std::pair<DWORD, std::vector<BYTE>> Raw(const wchar_t* name) const {
    std::vector<BYTE> data(64);
    DWORD type = 0;
    auto size = static_cast<DWORD>(data.size());
    if (RegGetValueW(root_, L"Software\\Vostrel\\Main", name, RRF_RT_ANY | RRF_NOEXPAND, &type, data.data(),
                     &size) != ERROR_SUCCESS) {
      return {REG_NONE, {}};
    }
    data.resize(size);
    return {type, data};
  }

  [[nodiscard]] std::vector<std::wstring> Names(const wchar_t* path, bool values) const {
    HKEY key = nullptr;
    std::vector<std::wstring> names;
    if (RegOpenKeyExW(root_, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
    for (DWORD i = 0;; ++i) {
      wchar_t name[256];
      DWORD length = 256;
      const LSTATUS status = values
                                 ? RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr)
                                 : RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr);
      if (status != ERROR_SUCCESS) break;
      names.emplace_back(name, length);
    }
    RegCloseKey(key);
    return names;
  }

  std::wstring path_;
  HKEY root_ = nullptr;
};

std::vector<BYTE> Utf16(std::u16string_view text, bool terminated = true) {
  std::vector<BYTE> bytes;
  for (const char16_t unit : text) {
    bytes.push_back(static_cast<BYTE>(unit & 0xFF));
    bytes.push_back(static_cast<BYTE>(unit >> 8));
  }
  if (terminated) bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

TEST_F(RegistryStoreTest, WritesTextValuesUnderSoftwareVostrelMainAndNothingElse) {
  RegistryStore store(u"Vostrel", root_);
  modAppSetting::WriteSetting(store, u"xPos", u"-300");
  modAppSetting::WriteSetting(store, u"yPos", u"4500");
  modAppSetting::WriteSetting(store, u"yPos", u"4515");
  EXPECT_EQ(Raw(L"xPos"), (std::pair<DWORD, std::vector<BYTE>>{REG_SZ, Utf16(u"-300")}));
  EXPECT_EQ(Raw(L"yPos"), (std::pair<DWORD, std::vector<BYTE>>{REG_SZ, Utf16(u"4515")}));
  EXPECT_EQ(Names(L"Software", false), std::vector<std::wstring>{L"Vostrel"});
  EXPECT_EQ(Names(L"Software\\Vostrel", false), std::vector<std::wstring>{L"Main"});
  EXPECT_EQ(Names(L"Software\\Vostrel\\Main", true), (std::vector<std::wstring>{L"xPos", L"yPos"}));
  EXPECT_EQ(modAppSetting::ReadSettingLong(store, u"xPos", 0), -300);
}

TEST_F(RegistryStoreTest, ReadingCreatesNothing) {
  RegistryStore store(u"Vostrel", root_);
  EXPECT_EQ(modAppSetting::ReadSettingLong(store, u"xPos", 480), 480);
  EXPECT_TRUE(Names(L"", false).empty());
}

struct StoredValueCase {
  const char* name;
  DWORD type;
  std::vector<BYTE> data;
  core::Value expected;  // read with the default 7
};

void PrintTo(const StoredValueCase& c, std::ostream* os) {
  *os << c.name;
}

class StoredValueTest : public RegistryStoreTest, public ::testing::WithParamInterface<StoredValueCase> {};

TEST_P(StoredValueTest, ReadsAWholeNumberTextAndDefaultsTheRest) {
  Put(L"xPos", GetParam().type, GetParam().data);
  // Read first, the longest text the store takes leaves its digits where the next read's text goes, when the
  // two reads use the same place on the stack: a read that does not end the text where the value ends would
  // run on into them. (Wine's own reads end a text where there is room, so under Wine only this build's reads
  // can show it.)
  Put(L"yPos", REG_SZ, Utf16(std::u16string(256, u'9')));
  RegistryStore store(u"Vostrel", root_);
  EXPECT_EQ(modAppSetting::ReadSettingLong(store, u"yPos", 7), 7);  // too large a number
  EXPECT_EQ(modAppSetting::ReadSettingLong(store, u"xPos", 7), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StoredValueTest,
    ::testing::Values(StoredValueCase{"Text", REG_SZ, Utf16(u"15"), 15},
                      StoredValueCase{"Negative", REG_SZ, Utf16(u"-4000"), -4000},
                      StoredValueCase{"Unterminated", REG_SZ, Utf16(u"15", false), 15},
                      StoredValueCase{"EndsAtTheFirstTerminator", REG_SZ, Utf16({u"12\0 99", 6}), 12},
                      StoredValueCase{"Empty", REG_SZ, Utf16(u""), 7},
                      StoredValueCase{"NoBytes", REG_SZ, {}, 7},
                      StoredValueCase{"Letters", REG_SZ, Utf16(u"abc"), 7},
                      StoredValueCase{"Fraction", REG_SZ, Utf16(u"1.5"), 7},
                      StoredValueCase{"Overflow", REG_SZ, Utf16(u"2147483648"), 7},
                      StoredValueCase{"TooLongForAPosition", REG_SZ, Utf16(std::u16string(998, u'0') + u"15"),
                                      7},
                      StoredValueCase{"Number", REG_DWORD, {15, 0, 0, 0}, 7},
                      StoredValueCase{"ExpandableText", REG_EXPAND_SZ, Utf16(u"15"), 7},
                      StoredValueCase{"TextList", REG_MULTI_SZ, Utf16({u"15\0", 3}), 7},
                      StoredValueCase{"Bytes", REG_BINARY, {'1', 0, '5', 0, 0, 0}, 7}),
    [](const ::testing::TestParamInfo<StoredValueCase>& row) { return std::string(row.param.name); });

TEST_F(RegistryStoreTest, AnotherApplicationsEntriesAreNeverSeen) {
  RegistryStore other(u"Other", root_);
  modAppSetting::WriteSetting(other, u"xPos", u"1");
  RegistryStore store(u"Vostrel", root_);
  EXPECT_EQ(modAppSetting::ReadSettingLong(store, u"xPos", 7), 7);
}

TEST_F(RegistryStoreTest, AKeyThatCannotBeCreatedDropsTheWritesQuietly) {
  // Below a key that lives only until the session ends, no lasting key can be made.
  HKEY software = nullptr;
  ASSERT_EQ(RegCreateKeyExW(root_, L"Software", 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                            &software, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(software);
  RegistryStore store(u"Vostrel", root_);
  EXPECT_FALSE(store.SaveSetting(u"Vostrel", u"Main", u"xPos", u"30"));
  modAppSetting::WriteSetting(store, u"xPos", u"30");
  EXPECT_EQ(modAppSetting::ReadSettingLong(store, u"xPos", 7), 7);
  EXPECT_TRUE(Names(L"Software", false).empty());
}

TEST_F(RegistryStoreTest, WithoutAProductNameNothingIsReadOrWritten) {
  RegistryStore store(u"", root_);
  modAppSetting::WriteSetting(store, u"xPos", u"15");
  EXPECT_EQ(modAppSetting::ReadSettingLong(store, u"xPos", 7), 7);
  EXPECT_TRUE(Names(L"", false).empty());
}

}  // namespace
}  // namespace vostrel::platform::win32
