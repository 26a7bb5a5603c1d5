// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "window_builder.h"

#include <algorithm>
#include <vector>

#include "text.h"
#include "twips.h"
#include "vostrel/platform/win32/product_name.h"

namespace vostrel::platform::win32 {
namespace {

using core::FieldIndex;

const wchar_t* const kWindowClass = kProductName.data();  // the literal ends in its terminator
// SimSun (宋体) ships with every Windows 10 and 11. At the layout's 12 pixels its Chinese characters are 12
// pixels wide and its digits 6, as the layout wants. Asking for the GB2312 character set lets the font mapper
// fall back to another Chinese font where it is missing, so the captions never show boxes.
constexpr wchar_t kFontFace[] = L"SimSun";
// The program's icon in the resources.
constexpr WORD kIconId = 1;

bool RegisterWindowClass(HINSTANCE instance, WNDPROC windowProcedure, HBRUSH background) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = windowProcedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = background;
  windowClass.lpszClassName = kWindowClass;
  // No icons of the class: the window's own, at its density (SetIcons). No CS_DBLCLKS: a second quick press
  // is a press all the same.
  return RegisterClassExW(&windowClass) != 0;
}

HICON LoadIconAt(int metric, UINT dpi) {
  const int size = GetSystemMetricsForDpi(metric, dpi);
  return static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIconId), IMAGE_ICON, size, size, 0));
}

// The taskbar's and Alt+Tab's icon, and the small one, drawn from the image nearest the size the density asks
// for.
void SetIcons(UINT dpi, WindowControls& controls) {
  const HICON big = LoadIconAt(SM_CXICON, dpi);
  const HICON small = LoadIconAt(SM_CXSMICON, dpi);
  SendMessageW(controls.window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  SendMessageW(controls.window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  if (controls.bigIcon != nullptr) DestroyIcon(controls.bigIcon);
  if (controls.smallIcon != nullptr) DestroyIcon(controls.smallIcon);
  controls.bigIcon = big;
  controls.smallIcon = small;
}

// One of the six controls, in tab-index order.
struct Control {
  int tabIndex;
  FieldIndex index;
  bool field;
};

std::vector<Control> ControlsInTabOrder(const WindowDescription& description) {
  std::vector<Control> controls;
  for (FieldIndex i = 0; i < core::kFieldCount; ++i) {
    controls.push_back({description.captions.at(static_cast<std::size_t>(i)).tabIndex, i, false});
    controls.push_back({description.fields.at(static_cast<std::size_t>(i)).tabIndex, i, true});
  }
  std::ranges::sort(controls, {}, &Control::tabIndex);
  return controls;
}

// A caption lies under its field where the two overlap; only the part left of the field shows.
RECT VisibleCaption(const WindowDescription& description, FieldIndex index, UINT dpi) {
  RECT caption = ToPixels(description.captions.at(static_cast<std::size_t>(index)).geometry, dpi);
  const RECT field = ToPixels(description.fields.at(static_cast<std::size_t>(index)).geometry, dpi);
  if (field.left > caption.left && field.left < caption.right) caption.right = field.left;
  return caption;
}

HFONT MakeFont(const WindowDescription& description, UINT dpi) {
  return CreateFontW(-ToPixels(description.fontHeight, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                     GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     FIXED_PITCH | FF_MODERN, kFontFace);
}

void Place(HWND control, const RECT& rect) {
  SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

WindowControls::~WindowControls() {
  if (window != nullptr && IsWindow(window)) DestroyWindow(window);
  // The class goes before its brush: a class registered again (a second window in one process) gets its own.
  if (classRegistered) UnregisterClassW(kWindowClass, GetModuleHandleW(nullptr));
  if (font != nullptr) DeleteObject(font);
  if (background != nullptr) DeleteObject(background);
  if (bigIcon != nullptr) DestroyIcon(bigIcon);
  if (smallIcon != nullptr) DestroyIcon(smallIcon);
}

FieldIndex WindowControls::FieldOf(HWND control) const {
  const auto found = std::ranges::find(fields, control);
  return found == fields.end() ? FieldIndex{-1} : static_cast<FieldIndex>(found - fields.begin());
}

bool BuildWindow(const WindowDescription& description, void* owner, WNDPROC windowProcedure,
                 WNDPROC fieldProcedure, WindowControls& controls) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  controls.background = CreateSolidBrush(ToColorRef(description.background));
  controls.classRegistered = RegisterWindowClass(instance, windowProcedure, controls.background);
  if (!controls.classRegistered) return false;

  // A window with no frame and no title bar, with a taskbar button and a system menu there, as other
  // programs' windows have. Created hidden on the primary monitor, at the density the session signed in with;
  // where the primary's own differs, laid out again at the window's below.
  const UINT dpi = GetDpiForSystem();
  controls.dpi = dpi;
  controls.font = MakeFont(description, dpi);
  const std::wstring title = ToWide(description.title);
  controls.window = CreateWindowExW(WS_EX_APPWINDOW, kWindowClass, title.c_str(),
                                    WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0,
                                    ToPixels(description.width, dpi), ToPixels(description.height, dpi),
                                    nullptr, nullptr, instance, nullptr);
  if (controls.window == nullptr) return false;
  SetWindowLongPtrW(controls.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
  SetIcons(dpi, controls);

  // Created in tab-index order, which is also the order screen readers pair a caption with the field after
  // it.
  for (const Control& control : ControlsInTabOrder(description)) {
    const auto i = static_cast<std::size_t>(control.index);
    HWND made = nullptr;
    if (control.field) {
      const FieldDescription& field = description.fields.at(i);
      controls.readOnly.at(i) = field.readOnly;
      const std::wstring text = ToWide(field.initialText);
      const DWORD style =
          WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL | (field.readOnly ? ES_READONLY : 0);
      const RECT rect = ToPixels(field.geometry, dpi);
      made = controls.fields.at(i) = CreateWindowExW(
          0, L"EDIT", text.c_str(), style, rect.left, rect.top, rect.right - rect.left,
          rect.bottom - rect.top, controls.window,
          reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFieldId + control.index)), instance, nullptr);
      if (made == nullptr) return false;
      SetWindowLongPtrW(made, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
      controls.editProcedures.at(i) = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrW(made, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(fieldProcedure)));
    } else {
      const std::wstring caption = ToWide(description.captions.at(i).caption);
      const RECT rect = VisibleCaption(description, control.index, dpi);
      // Static text lets the mouse through to the window, which tells a caption's press from the
      // background's.
      made = controls.captions.at(i) = CreateWindowExW(
          0, L"STATIC", caption.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX, rect.left,
          rect.top, rect.right - rect.left, rect.bottom - rect.top, controls.window,
          reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCaptionId + control.index)), instance, nullptr);
      if (made == nullptr) return false;
    }
    SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(controls.font), FALSE);
  }

  std::array<FieldIndex, core::kFieldCount> tabOrder{core::kDecimalField, core::kHexField,
                                                     core::kBinaryField};
  std::ranges::sort(tabOrder, {}, [&](FieldIndex i) {
    return description.fields.at(static_cast<std::size_t>(i)).tabIndex;
  });
  controls.tabOrder = tabOrder;

  // A primary monitor of another density than the system's.
  if (const UINT own = GetDpiForWindow(controls.window); own != dpi)
    LayOut(description, own, nullptr, controls);
  return true;
}

void ChangeDensity(const WindowDescription& description, WPARAM wParam, LPARAM lParam,
                   WindowControls& controls) {
  // Densities Windows offers: 100 % to 500 %, the same both ways.
  const UINT dpi = LOWORD(wParam);
  const bool sensible =
      dpi == HIWORD(wParam) && dpi >= USER_DEFAULT_SCREEN_DPI && dpi <= 5 * USER_DEFAULT_SCREEN_DPI;
  const bool ours = (InSendMessageEx(nullptr) & ISMEX_SEND) == 0;
  if (sensible && ours && lParam != 0) {
    // Any other rectangle than the suggested one (resizing about the corner) can put the strip back on the
    // monitor it came from, whose density sends it back again: it would flicker between the two sizes.
    LayOut(description, dpi, reinterpret_cast<const RECT*>(lParam), controls);
  } else {
    LayOut(description, GetDpiForWindow(controls.window), nullptr, controls);
  }
}

void LayOut(const WindowDescription& description, UINT dpi, const RECT* bounds, WindowControls& controls) {
  controls.dpi = dpi;
  if (bounds != nullptr) {
    SetWindowPos(controls.window, nullptr, bounds->left, bounds->top, bounds->right - bounds->left,
                 bounds->bottom - bounds->top, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    // The whole window is client area: its outer size is the described size.
    SetWindowPos(controls.window, nullptr, 0, 0, ToPixels(description.width, dpi),
                 ToPixels(description.height, dpi), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  const HFONT font = MakeFont(description, dpi);
  for (FieldIndex i = 0; i < core::kFieldCount; ++i) {
    const auto at = static_cast<std::size_t>(i);
    Place(controls.captions.at(at), VisibleCaption(description, i, dpi));
    Place(controls.fields.at(at), ToPixels(description.fields.at(at).geometry, dpi));
    SendMessageW(controls.captions.at(at), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SendMessageW(controls.fields.at(at), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
  if (controls.font != nullptr) DeleteObject(controls.font);
  controls.font = font;
  SetIcons(dpi, controls);
}

}  // namespace vostrel::platform::win32
