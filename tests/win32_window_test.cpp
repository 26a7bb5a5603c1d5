// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include <initguid.h>  // the annotation service's identifiers, defined here

#include <oleacc.h>

#include <array>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>
#include <thread>
#include <tuple>
#include <vector>

#include "case_name.h"
#include "win32_window_fixture.h"

namespace vostrel::testing {
namespace {

using core::FieldIndex;

// Whether the fields must speak Chinese: where the run asked for it (Wine takes the user's language from
// LC_ALL), or the user's language is.
bool ChineseExpected() {
  const char* asked = std::getenv("LC_ALL");
  if (asked != nullptr && std::string_view(asked).starts_with("zh_")) return true;
  return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE;
}

// COM objects end in their own Release, never through an interface, which has no virtual destructor.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// Stands in for Windows' annotation service, which Wine does not keep (it answers E_NOTIMPL), and records
// what the window asks of it: (field, property, text), the text empty where the property is cleared.
class AnnotationService final : public IAccPropServices, public IClassFactory {
 public:
  using Call = std::tuple<HWND, std::wstring, std::wstring>;
  std::vector<Call> set;
  std::vector<Call> cleared;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid == __uuidof(IUnknown) || iid == IID_IAccPropServices) {
      *object = static_cast<IAccPropServices*>(this);
    } else if (iid == __uuidof(IClassFactory)) {
      *object = static_cast<IClassFactory*>(this);
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives as long as the test
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* /*outer*/, REFIID iid, void** object) override {
    return QueryInterface(iid, object);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL /*lock*/) override { return S_OK; }

  HRESULT STDMETHODCALLTYPE SetHwndPropStr(HWND window, DWORD object, DWORD child, MSAAPROPID property,
                                           LPCWSTR text) override {
    set.emplace_back(window, Named(object, child, property), text);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ClearHwndProps(HWND window, DWORD object, DWORD child,
                                           const MSAAPROPID* properties, int count) override {
    for (int i = 0; i < count; ++i) cleared.emplace_back(window, Named(object, child, properties[i]), L"");
    return S_OK;
  }
  // What the window never asks for.
#define VOSTREL_NOT_ASKED(method, ...)                     \
  HRESULT STDMETHODCALLTYPE method(__VA_ARGS__) override { \
    return E_FAIL;                                         \
  }
  VOSTREL_NOT_ASKED(SetPropValue, const BYTE*, DWORD, MSAAPROPID, VARIANT)
  VOSTREL_NOT_ASKED(SetPropServer, const BYTE*, DWORD, const MSAAPROPID*, int, IAccPropServer*, AnnoScope)
  VOSTREL_NOT_ASKED(ClearProps, const BYTE*, DWORD, const MSAAPROPID*, int)
  VOSTREL_NOT_ASKED(SetHwndProp, HWND, DWORD, DWORD, MSAAPROPID, VARIANT)
  VOSTREL_NOT_ASKED(SetHwndPropServer, HWND, DWORD, DWORD, const MSAAPROPID*, int, IAccPropServer*, AnnoScope)
  VOSTREL_NOT_ASKED(ComposeHwndIdentityString, HWND, DWORD, DWORD, BYTE**, DWORD*)
  VOSTREL_NOT_ASKED(DecomposeHwndIdentityString, const BYTE*, DWORD, HWND*, DWORD*, DWORD*)
  VOSTREL_NOT_ASKED(SetHmenuProp, HMENU, DWORD, MSAAPROPID, VARIANT)
  VOSTREL_NOT_ASKED(SetHmenuPropStr, HMENU, DWORD, MSAAPROPID, LPCWSTR)
  VOSTREL_NOT_ASKED(SetHmenuPropServer, HMENU, DWORD, const MSAAPROPID*, int, IAccPropServer*, AnnoScope)
  VOSTREL_NOT_ASKED(ClearHmenuProps, HMENU, DWORD, const MSAAPROPID*, int)
  VOSTREL_NOT_ASKED(ComposeHmenuIdentityString, HMENU, DWORD, BYTE**, DWORD*)
  VOSTREL_NOT_ASKED(DecomposeHmenuIdentityString, const BYTE*, DWORD, HMENU*, DWORD*)
#undef VOSTREL_NOT_ASKED

 private:
  // The field's own client object, or nothing the window should annotate.
  static std::wstring Named(DWORD object, DWORD child, const MSAAPROPID& property) {
    if (object != static_cast<DWORD>(OBJID_CLIENT) || child != CHILDID_SELF) return L"another object";
    if (property == PROPID_ACC_NAME) return L"name";
    return property == PROPID_ACC_DESCRIPTION ? L"description" : L"another property";
  }
};

#pragma GCC diagnostic pop

struct FieldCase {
  const char* name;
  FieldIndex index;
  std::wstring_view english[2];  // the name and the description
  std::wstring_view chinese[2];
};

// The stand-in service is the one the window finds: registered in the thread's apartment, made here for it.
class FieldNameTest : public Win32WindowFixture, public ::testing::WithParamInterface<FieldCase> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    ASSERT_EQ(CoRegisterClassObject(CLSID_AccPropServices, static_cast<IClassFactory*>(&service),
                                    CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &registration_),
              S_OK);
    Win32WindowFixture::SetUp();
  }
  void TearDown() override {
    Win32WindowFixture::TearDown();
    CoRevokeClassObject(registration_);
    CoUninitialize();
  }

  AnnotationService service;

 private:
  DWORD registration_ = 0;
};

// Not the caption before the field, which the system would read out in Chinese whatever the user's language;
// the object itself stays the system's, so UI Automation keeps its edit proxy.
TEST_P(FieldNameTest, AScreenReaderHearsTheFieldsNameAndDescriptionInTheUsersLanguage) {
  const HWND field = Field(GetParam().index);
  EXPECT_TRUE(service.set.empty()) << "annotated before anyone asked";
  for (int ask = 0; ask < 2; ++ask) {
    EXPECT_EQ(SendMessageW(field, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT)), 0)
        << "the system's own";
  }
  const auto& expected = ChineseExpected() ? GetParam().chinese : GetParam().english;
  EXPECT_EQ(service.set,
            (std::vector<AnnotationService::Call>{{field, L"name", std::wstring(expected[0])},
                                                  {field, L"description", std::wstring(expected[1])}}));
  runtime->CloseWindow();
  EXPECT_EQ(service.cleared,
            (std::vector<AnnotationService::Call>{{field, L"name", L""}, {field, L"description", L""}}));
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
  // The icons whole where the density wants sizes between the icon's images (120 dpi: 40 and 20 pixels).
  const struct {
    UINT dpi;
    POINT at;
    LONG icons[2];  // big and small
  } changes[] = {{144, {300, 200}, {48, 32}},
                 {192, {40, 500}, {64, 32}},
                 {120, {0, 0}, {48, 32}},
                 {96, {123, 45}, {32, 16}}};
  for (const auto& change : changes) {
    const UINT dpi = change.dpi;
    ChangeDensity(window, dpi, change.at);
    RECT seen{};
    GetWindowRect(window, &seen);
    EXPECT_EQ(Corners(seen),
              (std::array<LONG, 4>{change.at.x, change.at.y, change.at.x + Pixels(7575, dpi) - 1,
                                   change.at.y + Pixels(270, dpi)}))
        << dpi;
    for (const int which : {ICON_BIG, ICON_SMALL}) {
      ICONINFO icon{};
      const auto handle = SendMessageW(window, WM_GETICON, static_cast<WPARAM>(which), 0);
      ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(handle), &icon)) << dpi;
      BITMAP image{};
      GetObjectW(icon.hbmMask, sizeof image, &image);
      DeleteObject(icon.hbmMask);
      DeleteObject(icon.hbmColor);
      EXPECT_EQ(image.bmWidth, change.icons[which == ICON_BIG ? 0 : 1]) << "icon " << which << " at " << dpi;
    }
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

struct ShowCase {
  const char* name;
  int command;
  bool minimised;
  bool takesFocus;
};

class StartUpShowTest : public Win32WindowFixture, public ::testing::WithParamInterface<ShowCase> {
 protected:
  StartUpShowTest() { showCommand = GetParam().command; }
};

// A shortcut's "Run: Minimised" starts the strip on the taskbar; closed there, it stores nothing. A program
// that starts it without activating it keeps the focus; the hexadecimal field, its text selected, is the
// window's focused field all the same.
TEST_P(StartUpShowTest, StartsAsTheStartUpSettingAsksAndAMinimisedCloseStoresNothing) {
  EXPECT_EQ(IsIconic(window) != FALSE, GetParam().minimised);
  EXPECT_NE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_EQ(GetActiveWindow() == window, GetParam().takesFocus);
  EXPECT_EQ(GetFocus() == Field(core::kHexField), GetParam().takesFocus);
  EXPECT_EQ(runtime->ActiveField(), core::kHexField);
  EXPECT_EQ(runtime->SelectionLength(core::kHexField), 1);
  runtime->CloseWindow();
  EXPECT_EQ(Stored(L"xPos").has_value(), !GetParam().minimised);
}

INSTANTIATE_TEST_SUITE_P(Commands, StartUpShowTest,
                         ::testing::Values(ShowCase{"Default", SW_SHOWDEFAULT, false, true},
                                           ShowCase{"Normal", SW_SHOWNORMAL, false, true},
                                           ShowCase{"MaximisedShowsAsItIs", SW_SHOWMAXIMIZED, false, true},
                                           ShowCase{"NotActivated", SW_SHOWNOACTIVATE, false, false},
                                           ShowCase{"ShownAsItIs", SW_SHOWNA, false, false},
                                           ShowCase{"Minimised", SW_SHOWMINNOACTIVE, true, false},
                                           ShowCase{"MinimisedActive", SW_SHOWMINIMIZED, true, false}),
                         CaseName());

}  // namespace
}  // namespace vostrel::testing
