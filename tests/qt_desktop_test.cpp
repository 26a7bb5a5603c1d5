// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// What the desktop around the window relies on: the icon files, the names a screen reader announces, and the
// choice of platform in a Wayland session.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QFile>
#include <QImageReader>
#include <QKeySequence>
#include <QLabel>
#include <QLocale>
#include <QStyleHints>
#include <QTranslator>
#include <QtEndian>
#include <array>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "case_name.h"
#include "qt_window_fixture.h"
#include "vostrel/platform/qt/program_icon.h"
#include "vostrel/platform/qt/start_up.h"
#include "vostrel/resources/icon_grids.h"

namespace vostrel::platform::qt {
namespace {

using core::FieldIndex;

// Every pixel of `image` against the grid scaled `scale` times: the grid's colour, or fully transparent.
std::string CompareWithGrid(const QImage& image, const auto& rows, int scale = 1) {
  const int size = static_cast<int>(rows.size()) * scale;
  if (image.size() != QSize(size, size)) return "size";
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const char symbol = rows[static_cast<std::size_t>(y / scale)][static_cast<std::size_t>(x / scale)];
      const QColor pixel = image.pixelColor(x, y);
      std::optional<QColor> expected;
      for (const auto& colour : resources::kIconPalette) {
        if (colour.symbol == symbol) expected = QColor(colour.red, colour.green, colour.blue);
      }
      const bool ok = expected ? pixel == *expected : pixel.alpha() == 0;
      if (!ok) return "pixel " + std::to_string(x) + "," + std::to_string(y);
    }
  }
  return "";
}

QImage ReadImage(const QString& path, int index = 0) {
  QImageReader reader(path);
  reader.jumpToImage(index);
  return reader.read().convertToFormat(QImage::Format_ARGB32);
}

TEST(IconTest, WindowIconAndInstalledFilesMatchTheGrids) {
  const QString folder = QStringLiteral(VOSTREL_ICON_DIR);
  EXPECT_EQ(
      CompareWithGrid(ProgramIcon().pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32),
                      resources::kIcon16),
      "");
  EXPECT_EQ(
      CompareWithGrid(ProgramIcon().pixmap(QSize(32, 32)).toImage().convertToFormat(QImage::Format_ARGB32),
                      resources::kIcon32),
      "");
  EXPECT_EQ(CompareWithGrid(ReadImage(folder + "/vostrel-16.png"), resources::kIcon16), "");
  EXPECT_EQ(CompareWithGrid(ReadImage(folder + "/vostrel-32.png"), resources::kIcon32), "");
  // The sizes menus and software centres show: whole multiples of a grid, no smoothing.
  EXPECT_EQ(CompareWithGrid(ReadImage(folder + "/vostrel-48.png"), resources::kIcon16, 3), "");
  for (const int scale : {2, 4, 8}) {
    EXPECT_EQ(CompareWithGrid(ReadImage(folder + QStringLiteral("/vostrel-%1.png").arg(32 * scale)),
                              resources::kIcon32, scale),
              "")
        << scale;
  }

  // The .ico: the drawn sizes, then the larger ones Windows asks for at higher scales, the last a PNG.
  QImageReader ico(folder + "/vostrel.ico");
  ASSERT_EQ(ico.imageCount(), 5);
  QFile file(folder + "/vostrel.ico");
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  struct IcoImage {
    int side;  // as the directory writes it: 256 is 0
    int colours, bits, scale;
    std::span<const std::string_view> grid;
  };
  const std::array<IcoImage, 5> images{{{16, 16, 4, 1, resources::kIcon16},
                                        {32, 16, 4, 1, resources::kIcon32},
                                        {48, 16, 4, 3, resources::kIcon16},
                                        {64, 16, 4, 2, resources::kIcon32},
                                        {0, 0, 32, 8, resources::kIcon32}}};
  for (int i = 0; i < 5; ++i) {
    const IcoImage& image = images.at(static_cast<std::size_t>(i));
    const qsizetype at = 6 + 16 * i;  // the directory entry: size, size, colour count, 0, planes, bits
    EXPECT_EQ(bytes.at(at), image.side) << i;
    EXPECT_EQ(bytes.at(at + 2), image.colours) << i;
    EXPECT_EQ(bytes.at(at + 6), image.bits) << i;
    EXPECT_EQ(CompareWithGrid(ReadImage(folder + "/vostrel.ico", i), image.grid, image.scale), "") << i;
  }
  const qsizetype png = qFromLittleEndian<quint32>(bytes.constData() + 6 + 16 * 4 + 12);
  EXPECT_EQ(bytes.mid(png, 8), QByteArray("\x89PNG\r\n\x1a\n", 8)) << "a whole PNG file";
}

struct LanguageCase {
  const char* name;
  QLocale locale;
  std::array<const char16_t*, core::kFieldCount> fieldNames;
  const char16_t* binaryDescriptionStart;
  const char16_t* copyAction;  // Qt's own text, from Qt's translations
};

void PrintTo(const LanguageCase& c, std::ostream* os) {
  *os << c.name;
}

// The window built in the user's language: the translations the program installs at start.
class UsersLanguageTest : public testing::QtWindowFixture,
                          public ::testing::WithParamInterface<LanguageCase> {
 protected:
  void SetUp() override {
    QLocale::setDefault(GetParam().locale);
    InstallTranslations(*QCoreApplication::instance());
    QtWindowFixture::SetUp();
  }
  void TearDown() override {
    QtWindowFixture::TearDown();
    for (QTranslator* translator : QCoreApplication::instance()->findChildren<QTranslator*>())
      delete translator;
    QLocale::setDefault(QLocale::c());
  }
};

TEST_P(UsersLanguageTest, FieldsAndWindowAreNamedAndCaptioned) {
  QAccessibleInterface* window = QAccessible::queryAccessibleInterface(runtime->Window());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->text(QAccessible::Name), "Vostrel");

  for (FieldIndex i = 0; i < core::kFieldCount; ++i) {
    QAccessibleInterface* field = QAccessible::queryAccessibleInterface(Field(i));
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->text(QAccessible::Name),
              QString::fromUtf16(GetParam().fieldNames.at(static_cast<std::size_t>(i))));
    EXPECT_EQ(field->role(), QAccessible::EditableText);
    EXPECT_EQ(runtime->Caption(i)->buddy(), Field(i));
    const auto labels = field->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.front().first->object(), runtime->Caption(i));
  }
  QAccessibleInterface* binary = QAccessible::queryAccessibleInterface(Field(core::kBinaryField));
  EXPECT_TRUE(binary->state().readOnly);
  EXPECT_EQ(binary->text(QAccessible::Value), "0");
  EXPECT_TRUE(binary->text(QAccessible::Description)
                  .startsWith(QString::fromUtf16(GetParam().binaryDescriptionStart)));
  // The captions are the same in every language.
  EXPECT_EQ(runtime->Caption(core::kHexField)->text(), QString::fromUtf16(u"十六进制："));
}

TEST_P(UsersLanguageTest, TheFieldsContextMenuIsInTheUsersLanguageAndNamesTheKeysThatWork) {
  // As desktops show them: the offscreen platform names no keys in context menus.
  QStyleHints& hints = *QGuiApplication::styleHints();
  const bool shown = hints.showShortcutsInContextMenus();
  hints.setShowShortcutsInContextMenus(true);
  const QString copy = QString::fromUtf16(GetParam().copyAction);
  // The keys that work in the fields; Ctrl with a letter types a control character, which is refused.
  const QStringList working{QKeySequence(Qt::CTRL | Qt::Key_Insert).toString(QKeySequence::NativeText),
                            QKeySequence(Qt::SHIFT | Qt::Key_Insert).toString(QKeySequence::NativeText),
                            QKeySequence(Qt::SHIFT | Qt::Key_Delete).toString(QKeySequence::NativeText)};
  for (const core::FieldIndex field : {core::kDecimalField, core::kBinaryField}) {
    QStringList texts;
    for (const auto& [text, canChoose] : ContextMenu(field)) texts << text;
    EXPECT_TRUE(texts.contains(copy + u'\t' + working[0])) << texts.join(" | ").toStdString();
    for (const QString& text : texts) {
      const QString named = text.section(u'\t', 1);
      EXPECT_TRUE(named.isEmpty() || working.contains(named)) << text.toStdString();
    }
  }
  hints.setShowShortcutsInContextMenus(shown);
}

INSTANTIATE_TEST_SUITE_P(Languages, UsersLanguageTest,
                         ::testing::Values(LanguageCase{"English",
                                                        QLocale(QLocale::English, QLocale::UnitedStates),
                                                        {u"Decimal", u"Hexadecimal", u"Binary"},
                                                        u"The value's 32-bit pattern",
                                                        u"&Copy"},
                                           LanguageCase{"SimplifiedChinese",
                                                        QLocale(QLocale::Chinese, QLocale::China),
                                                        {u"十进制", u"十六进制", u"二进制"},
                                                        u"数值的 32 位",
                                                        u"复制(&C)"}),
                         testing::CaseName());

// Sets and restores environment variables around one case.
class Environment {
 public:
  Environment(std::initializer_list<std::pair<const char*, const char*>> values) {
    for (const auto& [name, value] : values) {
      const char* old = std::getenv(name);
      saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
      value ? setenv(name, value, 1) : unsetenv(name);
    }
  }
  ~Environment() {
    for (const auto& [name, value] : saved_) value ? setenv(name, value->c_str(), 1) : unsetenv(name);
  }
  Environment(const Environment&) = delete;
  Environment& operator=(const Environment&) = delete;

 private:
  std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

// The program started with no arguments.
std::optional<int> Prepare() {
  char program[] = "vostrel";
  char* argv[] = {program, nullptr};
  return PrepareApplication(1, argv);
}

std::string Platform() {
  const char* chosen = std::getenv("QT_QPA_PLATFORM");
  return chosen ? chosen : "";
}

TEST(PlatformChoiceTest, AWaylandSessionWithXWaylandRunsOnX11) {
  const Environment session{
      {"QT_QPA_PLATFORM", nullptr}, {"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":4242"}};
  EXPECT_EQ(Prepare(), 1) << "the X display of this case does not exist";
  EXPECT_EQ(Platform(), "xcb");
}

TEST(PlatformChoiceTest, TheUsersChoiceStands) {
  const Environment session{
      {"QT_QPA_PLATFORM", "offscreen"}, {"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":4242"}};
  EXPECT_EQ(Prepare(), std::nullopt);
  EXPECT_EQ(Platform(), "offscreen");
}

TEST(PlatformChoiceTest, WaylandAloneRunsNativelyAndSaysWhatIsLost) {
  const Environment session{
      {"QT_QPA_PLATFORM", nullptr}, {"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", nullptr}};
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(Prepare(), std::nullopt);
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(Platform(), "");
  EXPECT_NE(said.find("not kept above other windows"), std::string::npos) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1);
}

TEST(PlatformChoiceTest, NoDisplayAtAllIsRefused) {
  const Environment session{{"QT_QPA_PLATFORM", nullptr}, {"WAYLAND_DISPLAY", nullptr}, {"DISPLAY", nullptr}};
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(Prepare(), 1);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("DISPLAY is not set"), std::string::npos);
}

struct CommandLineCase {
  const char* name;
  std::vector<std::string> arguments;
  std::optional<int> exitStatus;
  const char* saidOnStandardOutput;
  int linesOnStandardError;
};

// Answered before any display is looked for: there is none in these cases.
TEST(CommandLineTest, AnswersHelpAndVersionAndRefusesWhatItDoesNotTake) {
  const CommandLineCase cases[] = {
      {"Version", {"--version"}, 0, "Vostrel 1.00\n", 0},
      {"ShortVersion", {"-v"}, 0, "Vostrel 1.00\n", 0},
      {"Help", {"--help"}, 0, "  -v, --version", 0},
      {"UnknownOption", {"--frobnicate"}, 2, "", 2},
      {"UnknownArgument", {"42"}, 2, "", 2},
      {"QtsOwnOptionsPassToQt", {"-platform", "offscreen", "-style=Fusion", "-reverse"}, std::nullopt, "", 0},
      {"QtsDisplayOptionIsTheDisplayChecked", {"-display", ":4242"}, 1, "", 1},
  };
  const Environment noDisplay{
      {"QT_QPA_PLATFORM", nullptr}, {"WAYLAND_DISPLAY", nullptr}, {"DISPLAY", nullptr}};
  for (const CommandLineCase& c : cases) {
    std::vector<std::string> words{"vostrel"};
    words.insert(words.end(), c.arguments.begin(), c.arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(PrepareApplication(static_cast<int>(words.size()), argv.data()), c.exitStatus) << c.name;
    const std::string out = ::testing::internal::GetCapturedStdout();
    const std::string err = ::testing::internal::GetCapturedStderr();
    const std::string expectedOut = c.saidOnStandardOutput;
    EXPECT_TRUE(expectedOut.empty() ? out.empty() : out.find(expectedOut) != std::string::npos)
        << c.name << ": " << out;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), c.linesOnStandardError) << c.name << ": " << err;
  }
}

}  // namespace
}  // namespace vostrel::platform::qt
