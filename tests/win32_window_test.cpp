// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include <oleacc.h>

#include <array>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>
#include <thread>

#include "case_name.h"
#include "vostrel/modules/modAppSetting.h"
#include "win32_window_fixture.h"

namespace vostrel::testing {
namespace {

using core::FieldIndex;

struct Releaser {
  void operator()(IUnknown* object) const { object->Release(); }
};
using AccessiblePtr = std::unique_ptr<IAccessible, Releaser>;

// A field's object as a screen reader asks for it.
AccessiblePtr ObjectOf(HWND field) {
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(field, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&object))))
    return nullptr;
  return AccessiblePtr(object);
}

VARIANT Self() {
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}

// One of the object's texts about itself; empty where it has none.
std::wstring Text(IAccessible& object, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
  BSTR text = nullptr;
  std::wstring value;
  if (SUCCEEDED((object.*get)(Self(), &text)) && text != nullptr) value.assign(text, SysStringLen(text));
  SysFreeString(text);
  return value;
}

// Whether the fields must speak Chinese: where the run asked for it (Wine takes the user's language from
// LC_ALL), or the user's language is.
bool ChineseExpected() {
  const char* asked = std::getenv("LC_ALL");
  if (asked != nullptr && std::string_view(asked).starts_with("zh_")) return true;
  return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE;
}

struct FieldCase {
  const char* name;
  FieldIndex index;
  std::wstring_view english[2];  // the name and the description
  std::wstring_view chinese[2];
};

class FieldNameTest : public Win32WindowFixture, public ::testing::WithParamInterface<FieldCase> {};

// Not the caption before the field, which the system would read out in Chinese whatever the user's language.
TEST_P(FieldNameTest, AScreenReaderHearsTheFieldsNameAndDescriptionInTheUsersLanguage) {
  const AccessiblePtr object = ObjectOf(Field(GetParam().index));
  ASSERT_NE(object, nullptr);
  const auto& expected = ChineseExpected() ? GetParam().chinese : GetParam().english;
  EXPECT_EQ(Text(*object, &IAccessible::get_accName), std::wstring(expected[0]));
  EXPECT_EQ(Text(*object, &IAccessible::get_accDescription), std::wstring(expected[1]));
}

INSTANTIATE_TEST_SUITE_P(
    Fields, FieldNameTest,
    ::testing::Values(
        FieldCase{"Decimal",
                  core::kDecimalField,
                  {L"Decimal", L"The value in decimal. Type digits; the other fields follow."},
                  {L"十进制", L"以十进制表示的数值。输入数字，其他字段随之更新。"}},
        FieldCase{
            "Hexadecimal",
            core::kHexField,
            {L"Hexadecimal", L"The value in hexadecimal. Type digits and A to F; the other fields follow."},
            {L"十六进制", L"以十六进制表示的数值。输入数字和 A 到 F，其他字段随之更新。"}},
        FieldCase{"Binary",
                  core::kBinaryField,
                  {L"Binary", L"The value's 32-bit pattern in groups of eight bits. Read-only."},
                  {L"二进制", L"数值的 32 位二进制模式，每八位一组。只读。"}}),
    CaseName());

using Win32WindowTest = Win32WindowFixture;

TEST_F(Win32WindowTest, TheFieldsObjectAnswersEverythingElseAsTheEditItIs) {
  runtime->SetFieldText(core::kDecimalField, u"255");
  const AccessiblePtr decimal = ObjectOf(Field(core::kDecimalField));
  ASSERT_NE(decimal, nullptr);
  EXPECT_EQ(Text(*decimal, &IAccessible::get_accValue), L"255");
  VARIANT role{};
  ASSERT_EQ(decimal->get_accRole(Self(), &role), S_OK);
  EXPECT_EQ(role.vt, VT_I4);
  EXPECT_EQ(role.lVal, ROLE_SYSTEM_TEXT);
  HWND owner = nullptr;
  EXPECT_EQ(WindowFromAccessibleObject(decimal.get(), &owner), S_OK);
  EXPECT_EQ(owner, Field(core::kDecimalField));

  AccessiblePtr binary = ObjectOf(Field(core::kBinaryField));
  ASSERT_NE(binary, nullptr);
  VARIANT state{};
  ASSERT_EQ(binary->get_accState(Self(), &state), S_OK);
  EXPECT_NE(state.lVal & STATE_SYSTEM_READONLY, 0);
  // Once the reader lets go, nothing holds the object any more.
  EXPECT_EQ(binary.release()->Release(), 0U);
}

// The layout's twips in a density's pixels, rounded as the window rounds them.
int Pixels(double twips, UINT dpi) {
  return static_cast<int>(std::lround(twips * dpi / 1440));
}

// A control's rectangle in its window's client pixels.
RECT Placed(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::array<LONG, 4> Corners(const RECT& rect) {
  return {rect.left, rect.top, rect.right, rect.bottom};
}

// Windows suggests the window's size scaled, which may be a pixel off the layout's own.
void ChangeDensity(HWND window, UINT dpi, POINT at) {
  RECT suggested{at.x, at.y, at.x + Pixels(7575, dpi) - 1, at.y + Pixels(270, dpi)};
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

TEST_F(Win32WindowTest, ADensityChangeTakesTheSuggestedRectangleAndLaysOutAtItsDensity) {
  const struct {
    UINT dpi;
    POINT at;
  } changes[] = {{144, {300, 200}}, {192, {40, 500}}, {120, {0, 0}}, {96, {123, 45}}};
  for (const auto& change : changes) {
    const UINT dpi = change.dpi;
    ChangeDensity(window, dpi, change.at);
    RECT seen{};
    GetWindowRect(window, &seen);
    EXPECT_EQ(Corners(seen),
              (std::array<LONG, 4>{change.at.x, change.at.y, change.at.x + Pixels(7575, dpi) - 1,
                                   change.at.y + Pixels(270, dpi)}))
        << dpi;
    ICONINFO big{};
    ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0)), &big))
        << dpi;
    BITMAP image{};
    GetObjectW(big.hbmMask, sizeof image, &image);
    DeleteObject(big.hbmMask);
    DeleteObject(big.hbmColor);
    EXPECT_EQ(image.bmWidth, GetSystemMetricsForDpi(SM_CXICON, dpi)) << "the taskbar's icon at " << dpi;
    EXPECT_EQ(
        Corners(Placed(Field(core::kDecimalField))),
        (std::array<LONG, 4>{Pixels(810, dpi), 0, Pixels(810, dpi) + Pixels(975, dpi), Pixels(270, dpi)}))
        << dpi;
    EXPECT_EQ(Placed(GetDlgItem(window, platform::win32::kCaptionId + core::kHexField)).left,
              Pixels(1860, dpi))
        << dpi;
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Field(core::kBinaryField), WM_GETFONT, 0, 0)),
               sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -Pixels(180, dpi)) << dpi;
  }
}

TEST_F(Win32WindowTest, AnotherThreadsDensityChangeMovesNothing) {
  RECT before{};
  GetWindowRect(window, &before);
  // Sent from another thread, the message is handled here while the window's thread takes its messages.
  std::atomic<bool> sent = false;
  std::thread other([&] {
    ChangeDensity(window, 144, {500, 500});
    sent = true;
  });
  while (!sent) runtime->DoEvents();
  other.join();
  RECT after{};
  GetWindowRect(window, &after);
  EXPECT_EQ(Corners(after), Corners(before));
}

TEST_F(Win32WindowTest, AHundredDensityChangesHoldNoMoreGdiObjectsThanOne) {
  ChangeDensity(window, 144, {10, 10});
  const DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  const DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  for (int i = 0; i < 100; ++i) {
    // Wine counts no objects (it answers 0 above): each change's own objects are looked at too. The font and
    // the icons made for the density before are gone once the next are in use.
    const auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(Field(core::kHexField), WM_GETFONT, 0, 0));
    const auto big = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0));
    const auto small = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
    ASSERT_NE(big, nullptr);
    ASSERT_NE(small, nullptr);
    ChangeDensity(window, i % 2 == 0 ? 96 : 144, {10, 10});
    ICONINFO info{};
    ASSERT_EQ(GetObjectType(font), 0U) << i;
    ASSERT_FALSE(GetIconInfo(big, &info)) << i;
    ASSERT_FALSE(GetIconInfo(small, &info)) << i;
  }
  EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdi);
  EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), user);
}

template <UINT kDpi>
UINT Fixed() {
  return kDpi;
}

struct DensityCase {
  const char* name;
  UINT (*primaryDpi)();
  const wchar_t* stored[2];  // the twips stored for a window at 200, 100 pixels
};

// The window is made at the density the session signed in with (Wine's 96); the primary monitor's own may
// differ: centring, the bounds and the stored twips all measure in the primary's.
class PrimaryDensityTest : public Win32WindowFixture, public ::testing::WithParamInterface<DensityCase> {
 protected:
  PrimaryDensityTest() { primaryDpi = GetParam().primaryDpi; }
};

TEST_P(PrimaryDensityTest, CentresBoundsAndStoresInThePrimarysOwnTwips) {
  MONITORINFO primary{};
  primary.cbSize = sizeof primary;
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &primary));
  const LONG screen = primary.rcMonitor.right;
  RECT seen{};
  GetWindowRect(window, &seen);
  const LONG width = seen.right - seen.left;
  EXPECT_NEAR(seen.left, (screen - width) / 2.0, 1.0);

  modAppSetting::WriteSetting(runtime->Settings(), u"xPos", u"99999");
  form->Form_Load();
  GetWindowRect(window, &seen);
  EXPECT_EQ(seen.right, screen) << "a strip stored past the right edge reopens on it";

  SetWindowPos(window, nullptr, 200, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  std::int16_t cancel = 0;
  form->Form_QueryUnload(cancel, platform::UnloadReason::kUser);
  EXPECT_EQ(Stored(L"xPos"), GetParam().stored[0]);
  EXPECT_EQ(Stored(L"yPos"), GetParam().stored[1]);
}

INSTANTIATE_TEST_SUITE_P(Densities, PrimaryDensityTest,
                         ::testing::Values(DensityCase{"Primary96", &Fixed<96>, {L"3000", L"1500"}},
                                           DensityCase{"Primary144", &Fixed<144>, {L"2000", L"1000"}},
                                           DensityCase{"Primary192", &Fixed<192>, {L"1500", L"750"}}),
                         CaseName());

struct ShowCase {
  const char* name;
  int command;
  bool minimised;
};

class StartUpShowTest : public Win32WindowFixture, public ::testing::WithParamInterface<ShowCase> {
 protected:
  StartUpShowTest() { showCommand = GetParam().command; }
};

// A shortcut's "Run: Minimised" starts the strip on the taskbar; closed there, it stores nothing.
TEST_P(StartUpShowTest, StartsAsTheStartUpSettingAsksAndAMinimisedCloseStoresNothing) {
  EXPECT_EQ(IsIconic(window) != FALSE, GetParam().minimised);
  EXPECT_NE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  runtime->CloseWindow();
  EXPECT_EQ(Stored(L"xPos").has_value(), !GetParam().minimised);
}

INSTANTIATE_TEST_SUITE_P(Commands, StartUpShowTest,
                         ::testing::Values(ShowCase{"Default", SW_SHOWDEFAULT, false},
                                           ShowCase{"Normal", SW_SHOWNORMAL, false},
                                           ShowCase{"MaximisedShowsAsItIs", SW_SHOWMAXIMIZED, false},
                                           ShowCase{"Minimised", SW_SHOWMINNOACTIVE, true},
                                           ShowCase{"MinimisedActive", SW_SHOWMINIMIZED, true}),
                         CaseName());

}  // namespace
}  // namespace vostrel::testing
