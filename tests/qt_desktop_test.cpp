// What the desktop around the window relies on: the icon files, the names a screen reader announces, and the
// choice of platform in a Wayland session.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <cstdlib>
#include <optional>
#include <string>

#include "qt_window_fixture.h"
#include "vostrel/platform/qt/icon.h"
#include "vostrel/resources/icon.h"

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

  QImageReader ico(folder + "/vostrel.ico");
  ASSERT_EQ(ico.imageCount(), 2);
  EXPECT_EQ(CompareWithGrid(ReadImage(folder + "/vostrel.ico", 0), resources::kIcon16), "");
  EXPECT_EQ(CompareWithGrid(ReadImage(folder + "/vostrel.ico", 1), resources::kIcon32), "");
  QFile file(folder + "/vostrel.ico");
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  for (int entry = 0; entry < 2; ++entry) {
    const qsizetype at = 6 + 16 * entry;  // the directory entry: size, size, colour count, 0, planes, bits
    EXPECT_EQ(bytes.at(at + 2), 16) << "a 16-colour image";
    EXPECT_EQ(bytes.at(at + 6), 4) << "4 bits a pixel";
  }
}

class AccessibilityTest : public testing::QtWindowFixture {};

TEST_F(AccessibilityTest, FieldsAndWindowAreNamedAndCaptioned) {
  QAccessibleInterface* window = QAccessible::queryAccessibleInterface(runtime->Window());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->text(QAccessible::Name), "Vostrel");

  const QString names[] = {QString::fromUtf16(u"十进制"), QString::fromUtf16(u"十六进制"),
                           QString::fromUtf16(u"二进制")};
  for (FieldIndex i = 0; i < core::kFieldCount; ++i) {
    QAccessibleInterface* field = QAccessible::queryAccessibleInterface(Field(i));
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->text(QAccessible::Name), names[i]);
    EXPECT_EQ(field->role(), QAccessible::EditableText);
    EXPECT_EQ(runtime->Caption(i)->buddy(), Field(i));
    const auto labels = field->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.front().first->object(), runtime->Caption(i));
  }
  QAccessibleInterface* binary = QAccessible::queryAccessibleInterface(Field(core::kBinaryField));
  EXPECT_TRUE(binary->state().readOnly);
  EXPECT_EQ(binary->text(QAccessible::Value), "0");
}

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

std::string Platform() {
  const char* chosen = std::getenv("QT_QPA_PLATFORM");
  return chosen ? chosen : "";
}

TEST(PlatformChoiceTest, AWaylandSessionWithXWaylandRunsOnX11) {
  const Environment session{
      {"QT_QPA_PLATFORM", nullptr}, {"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":4242"}};
  EXPECT_FALSE(PrepareApplication()) << "the X display of this case does not exist";
  EXPECT_EQ(Platform(), "xcb");
}

TEST(PlatformChoiceTest, TheUsersChoiceStands) {
  const Environment session{
      {"QT_QPA_PLATFORM", "offscreen"}, {"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":4242"}};
  EXPECT_TRUE(PrepareApplication());
  EXPECT_EQ(Platform(), "offscreen");
}

TEST(PlatformChoiceTest, WaylandAloneRunsNativelyAndSaysWhatIsLost) {
  const Environment session{
      {"QT_QPA_PLATFORM", nullptr}, {"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", nullptr}};
  ::testing::internal::CaptureStderr();
  EXPECT_TRUE(PrepareApplication());
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(Platform(), "");
  EXPECT_NE(said.find("not kept above other windows"), std::string::npos) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1);
}

TEST(PlatformChoiceTest, NoDisplayAtAllIsRefused) {
  const Environment session{{"QT_QPA_PLATFORM", nullptr}, {"WAYLAND_DISPLAY", nullptr}, {"DISPLAY", nullptr}};
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(PrepareApplication());
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("DISPLAY is not set"), std::string::npos);
}

}  // namespace
}  // namespace vostrel::platform::qt
