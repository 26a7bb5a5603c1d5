// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "vostrel/platform/qt/qt_settings_store.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <thread>

#include "qt_printing.h"
#include "vostrel/modules/modAppSetting.h"

namespace vostrel::platform::qt {
namespace {

// The real store, in a folder of its own: never the user's settings.
class QtSettingsStoreTest : public ::testing::Test {
 protected:
  QString StoreFile() const { return folder.path() + QStringLiteral("/Vostrel/Vostrel.conf"); }

  void WriteStoreFile(const QByteArray& bytes) const {
    ASSERT_TRUE(QDir().mkpath(folder.path() + QStringLiteral("/Vostrel")));
    QFile file(StoreFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }

  QByteArray ReadStoreFile() const {
    QFile file(StoreFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  QTemporaryDir folder;
  QtSettingsStore store{folder.path()};
};

TEST_F(QtSettingsStoreTest, WritesPlainTextEntriesUnderSectionMain) {
  modAppSetting::WriteSetting(store, u"xPos", u"-300");
  modAppSetting::WriteSetting(store, u"yPos", u"4500");
  EXPECT_EQ(ReadStoreFile(), QByteArray("[Main]\nxPos=-300\nyPos=4500\n"));
  EXPECT_EQ(modAppSetting::ReadSettingLong(store, u"xPos", 0), -300);
  EXPECT_EQ(modAppSetting::ReadSetting(store, u"yPos", u""), u"4500");
}

TEST_F(QtSettingsStoreTest, NoStoreYetGivesTheDefaults) {
  EXPECT_EQ(modAppSetting::ReadSettingLong(store, u"xPos", 480), 480);
  EXPECT_FALSE(QFile::exists(StoreFile())) << "reading creates nothing";
}

struct StoreFileCase {
  const char* name;
  QByteArray contents;
  core::Value expectedLeft;
  core::Value expectedTop;
};

void PrintTo(const StoreFileCase& c, std::ostream* os) {
  *os << c.name;
}

class StoreFileTest : public QtSettingsStoreTest, public ::testing::WithParamInterface<StoreFileCase> {};

TEST_P(StoreFileTest, ReadsWhatItCanAndDefaultsTheRest) {
  WriteStoreFile(GetParam().contents);
  EXPECT_EQ(modAppSetting::ReadSettingLong(store, u"xPos", 7), GetParam().expectedLeft);
  EXPECT_EQ(modAppSetting::ReadSettingLong(store, u"yPos", 9), GetParam().expectedTop);
}

QByteArray RandomBytes(qsizetype size) {
  QByteArray bytes(size, '\0');
  QRandomGenerator generator(20261207);
  for (char& byte : bytes) byte = static_cast<char>(generator.bounded(256));
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Table, StoreFileTest,
    ::testing::Values(StoreFileCase{"Both", "[Main]\nxPos=15\nyPos=30\n", 15, 30},
                      StoreFileCase{"OnlyLeft", "[Main]\nxPos=15\n", 15, 9},
                      StoreFileCase{"EmptyAndLetters", "[Main]\nxPos=\nyPos=abc\n", 7, 9},
                      StoreFileCase{"FractionAndOverflow", "[Main]\nxPos=1.5\nyPos=2147483648\n", 7, 9},
                      StoreFileCase{"BelowRangeAndQuoted", "[Main]\nxPos=-2147483649\nyPos=\"12\"\n", 7, 12},
                      StoreFileCase{"AListIsNotAText", "[Main]\nxPos=1,2\nyPos=3\n", 7, 3},
                      StoreFileCase{"OtherSectionAndCase", "[Other]\nxPos=1\n[main]\nyPos=2\n", 7, 9},
                      StoreFileCase{"ManyMegabytes",
                                    "[Main]\nxPos=" + QByteArray(8 << 20, '7') + "\nyPos=4\n", 7, 4},
                      StoreFileCase{"RandomBytes", RandomBytes(4096), 7, 9},
                      // Qt reads what it can of this, but says so only to the first reader in a process.
                      StoreFileCase{"UnclosedSection", "[Main\nxPos=15\nyPos=30\n", 7, 9}),
    [](const ::testing::TestParamInfo<StoreFileCase>& row) { return std::string(row.param.name); });

TEST_F(QtSettingsStoreTest, AnotherApplicationsEntriesAreNeverSeen) {
  QtSettingsStore other(folder.path());
  ASSERT_TRUE(other.SaveSetting(u"Other", u"Main", u"xPos", u"1"));
  EXPECT_EQ(modAppSetting::ReadSettingLong(store, u"xPos", 7), 7);
}

TEST_F(QtSettingsStoreTest, AStoreWhosePathIsAFolderFailsQuietly) {
  ASSERT_TRUE(QDir().mkpath(StoreFile()));
  EXPECT_EQ(modAppSetting::ReadSettingLong(store, u"xPos", 7), 7);
  EXPECT_FALSE(store.SaveSetting(u"Vostrel", u"Main", u"xPos", u"1"));
  modAppSetting::WriteSetting(store, u"xPos", u"1");
  EXPECT_TRUE(QFileInfo(StoreFile()).isDir());
}

TEST_F(QtSettingsStoreTest, AStoreThatCannotBeCreatedDropsTheWrite) {
  // The folder that should hold the store is a file: nothing can be written below it, even by root.
  QFile blocker(folder.path() + QStringLiteral("/Vostrel"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  EXPECT_FALSE(store.SaveSetting(u"Vostrel", u"Main", u"xPos", u"1"));
  EXPECT_EQ(modAppSetting::ReadSettingLong(store, u"xPos", 7), 7);
}

TEST_F(QtSettingsStoreTest, AWriteReplacesTheEntryAndKeepsTheOthers) {
  WriteStoreFile("[Main]\nxPos=1\nyPos=2\n");
  modAppSetting::WriteSetting(store, u"xPos", u"3");
  EXPECT_EQ(ReadStoreFile(), QByteArray("[Main]\nxPos=3\nyPos=2\n"));
}

TEST_F(QtSettingsStoreTest, ADamagedFileIsReadAsAbsentThenReplacedWholeAtClose) {
  WriteStoreFile("[Main\nxPos=15\nyPos=30\nlost=1\n");
  for (int read = 0; read < 2; ++read) {
    EXPECT_EQ(modAppSetting::ReadSettingLong(store, u"xPos", 7), 7);
    EXPECT_EQ(modAppSetting::ReadSettingLong(store, u"yPos", 9), 9);
  }
  modAppSetting::WriteSetting(store, u"xPos", u"45");
  modAppSetting::WriteSetting(store, u"yPos", u"60");
  EXPECT_EQ(ReadStoreFile(), QByteArray("[Main]\nxPos=45\nyPos=60\n"));
  EXPECT_EQ(QDir(folder.path() + QStringLiteral("/Vostrel")).entryList(QDir::Files),
            QStringList{"Vostrel.conf"});
}

TEST_F(QtSettingsStoreTest, WritersAtTheSameMomentLeaveOneWholeValue) {
  const auto writer = [this](const char16_t* left, const char16_t* top) {
    QtSettingsStore own(folder.path());
    for (int i = 0; i < 50; ++i) {
      modAppSetting::WriteSetting(own, u"xPos", left);
      modAppSetting::WriteSetting(own, u"yPos", top);
    }
  };
  std::thread first(writer, u"111", u"222");
  std::thread second(writer, u"333", u"444");
  first.join();
  second.join();
  const core::Value left = modAppSetting::ReadSettingLong(store, u"xPos", 0);
  const core::Value top = modAppSetting::ReadSettingLong(store, u"yPos", 0);
  EXPECT_TRUE(left == 111 || left == 333) << left;
  EXPECT_TRUE(top == 222 || top == 444) << top;
}

}  // namespace
}  // namespace vostrel::platform::qt
