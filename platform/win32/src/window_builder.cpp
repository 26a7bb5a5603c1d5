// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "window_builder.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "text.h"
#include "twips.h"
#include "vostrel/platform/win32/win32_runtime.h"
#include "vostrel/resources/ico_file.h"

namespace vostrel::platform::win32 {
namespace {

using core::FieldIndex;

const wchar_t* const kWindowClass = kProductName.data();  // the literal ends in its terminator
// SimSun (宋体) ships with every Windows 10 and 11; at 12 pixels its Chinese characters are 12 wide and its
// digits 6, as the layout wants. The GB2312 character set lets the font mapper fall back to another Chinese
// font where it is missing, so that the captions never show boxes.
constexpr wchar_t kFontFace[] = L"SimSun";
constexpr WORD kIconId = 1;  // in the resources

// The program's icon for the size `metric` asks for at `dpi`. Where the icon has no image of that size (125
// %, 175 %), its next larger image, which the system scales down as it draws: loaded at the size, the nearest
// image would be a smaller one scaled up.
HICON LoadIconAt(int metric, UINT dpi) {
  const auto wanted = static_cast<unsigned>(GetSystemMetricsForDpi(metric, dpi));
  const auto* larger =
      std::ranges::find_if(resources::kIcoSizes, [&](unsigned size) { return size >= wanted; });
  const auto size = static_cast<int>(larger != resources::kIcoSizes.end() ? *larger : wanted);
  return static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIconId), IMAGE_ICON, size, size, 0));
}

// One of the six controls.
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

// Where a control lies at `dpi`. A caption lies under its field where the two overlap; only the part left of
// the field shows.
RECT PlaceOf(const WindowDescription& description, const Control& control, UINT dpi) {
  const auto i = static_cast<std::size_t>(control.index);
  const RECT field = ToPixels(description.fields.at(i).geometry, dpi);
  if (control.field) return field;
  RECT caption = ToPixels(description.captions.at(i).geometry, dpi);
  if (field.left > caption.left && field.left < caption.right) caption.right = field.left;
  return caption;
}

HFONT MakeFont(const WindowDescription& description, UINT dpi) {
  return CreateFontW(-ToPixels(description.fontHeight, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                     GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     FIXED_PITCH | FF_MODERN, kFontFace);
}

// Places and sizes the controls for `dpi`, with a font and icons made for it; the window takes `bounds`, or
// the described size where it stands.
void LayOut(const WindowDescription& description, UINT dpi, const RECT* bounds, WindowControls& controls) {
  const RECT size{0, 0, ToPixels(description.width, dpi), ToPixels(description.height, dpi)};
  const RECT& window = bounds != nullptr ? *bounds : size;
  SetWindowPos(controls.window, nullptr, window.left, window.top, window.right - window.left,
               window.bottom - window.top,
               SWP_NOZORDER | SWP_NOACTIVATE | (bounds != nullptr ? 0 : SWP_NOMOVE));
  const HFONT font = MakeFont(description, dpi);
  for (const Control& control : ControlsInTabOrder(description)) {
    const HWND handle =
        (control.field ? controls.fields : controls.captions).at(static_cast<std::size_t>(control.index));
    const RECT place = PlaceOf(description, control, dpi);
    SetWindowPos(handle, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
  DeleteObject(std::exchange(controls.font, font));
  // The window's own icons, over the class's.
  const std::array icons{LoadIconAt(SM_CXICON, dpi), LoadIconAt(SM_CXSMICON, dpi)};
  SendMessageW(controls.window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons[0]));
  SendMessageW(controls.window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons[1]));
  for (const HICON previous : std::exchange(controls.windowIcons, icons)) DestroyIcon(previous);
}

}  // namespace

WindowControls::~WindowControls() {
  if (window != nullptr && IsWindow(window)) {
    // A window still there (a start that failed half way, a second Load) goes without raising a handler: its
    // owner is going, and the fields get their own procedures back.
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    for (std::size_t i = 0; i < fields.size(); ++i)  // a field never made takes nothing
      SetWindowLongPtrW(fields.at(i), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProcedures.at(i)));
    DestroyWindow(window);
  }
  // Unregistering the class deletes its brush; a brush no class took is ours to delete.
  if (classRegistered) {
    UnregisterClassW(kWindowClass, GetModuleHandleW(nullptr));
  } else {
    DeleteObject(background);
  }
  DeleteObject(font);
  UnhookWindowsHookEx(queueHook);
  for (const HICON icon : {classIcons[0], classIcons[1], windowIcons[0], windowIcons[1]}) DestroyIcon(icon);
}

FieldIndex WindowControls::FieldOf(HWND control) const {
  const auto found = std::ranges::find(fields, control);
  return found == fields.end() ? FieldIndex{-1} : static_cast<FieldIndex>(found - fields.begin());
}

bool BuildWindow(const WindowDescription& description, void* owner, WNDPROC windowProcedure,
                 WNDPROC fieldProcedure, WindowControls& controls) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  // Made hidden at the density the session signed in with. The window shows the class's icons until its
  // density changes: set on a new window, they would be made ready for the screen twice on the way to it.
  const UINT dpi = GetDpiForSystem();
  controls.background = CreateSolidBrush(ToColorRef(description.background));
  controls.classIcons = {LoadIconAt(SM_CXICON, dpi), LoadIconAt(SM_CXSMICON, dpi)};
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = windowProcedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = controls.background;
  windowClass.lpszClassName = kWindowClass;
  windowClass.hIcon = controls.classIcons[0];
  windowClass.hIconSm = controls.classIcons[1];
  // No CS_DBLCLKS: a second quick press is a press all the same.
  controls.classRegistered = RegisterClassExW(&windowClass) != 0;
  if (!controls.classRegistered) return false;

  // No frame and no title bar, with a taskbar button and a system menu there, as other programs' windows
  // have.
  controls.font = MakeFont(description, dpi);
  controls.window = CreateWindowExW(WS_EX_APPWINDOW, kWindowClass, ToWide(description.title).c_str(),
                                    WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0,
                                    ToPixels(description.width, dpi), ToPixels(description.height, dpi),
                                    nullptr, nullptr, instance, nullptr);
  if (controls.window == nullptr) return false;
  SetWindowLongPtrW(controls.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));

  // In tab-index order, which is also the order screen readers pair a caption with the field after it; made
  // at their places, with their font. Static text lets the mouse through to the window, which tells a
  // caption's press from the background's.
  std::size_t tabStop = 0;
  for (const Control& control : ControlsInTabOrder(description)) {
    const auto i = static_cast<std::size_t>(control.index);
    const FieldDescription& field = description.fields.at(i);
    const DWORD style = control.field
                            ? WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL | (field.readOnly ? ES_READONLY : 0)
                            : SS_LEFTNOWORDWRAP | SS_NOPREFIX;
    const RECT place = PlaceOf(description, control, dpi);
    const HWND made = CreateWindowExW(
        0, control.field ? L"EDIT" : L"STATIC",
        ToWide(control.field ? field.initialText : description.captions.at(i).caption).c_str(),
        WS_CHILD | WS_VISIBLE | style, place.left, place.top, place.right - place.left,
        place.bottom - place.top, controls.window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>((control.field ? kFieldId : kCaptionId) + i)), instance,
        nullptr);
    if (made == nullptr) return false;
    SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(controls.font), FALSE);
    (control.field ? controls.fields : controls.captions).at(i) = made;
    if (!control.field) continue;
    controls.readOnly.at(i) = field.readOnly;
    controls.tabOrder.at(tabStop++) = control.index;
    SetWindowLongPtrW(made, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    controls.editProcedures.at(i) = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(made, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(fieldProcedure)));
  }

  // Made at the primary's top-left corner, the window has the primary's own density.
  controls.primaryDpi = GetDpiForWindow(controls.window);
  if (controls.primaryDpi != dpi) LayOut(description, controls.primaryDpi, nullptr, controls);
  return true;
}

void ChangeDensity(const WindowDescription& description, WPARAM wParam, LPARAM lParam,
                   WindowControls& controls) {
  if ((InSendMessageEx(nullptr) & ISMEX_SEND) == 0) {
    // Any other rectangle (resizing about the corner) can put the strip back on the monitor it came from,
    // whose density sends it back again: it would flicker between the two.
    LayOut(description, LOWORD(wParam), reinterpret_cast<const RECT*>(lParam), controls);
    // On the primary, a scale changed there: positions are measured in its new twips.
    if (MonitorFromWindow(controls.window, MONITOR_DEFAULTTONULL) ==
        MonitorFromPoint({}, MONITOR_DEFAULTTONULL))
      controls.primaryDpi = LOWORD(wParam);
  } else {
    LayOut(description, GetDpiForWindow(controls.window), nullptr, controls);
  }
}

}  // namespace vostrel::platform::win32
