// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// Where each of the window's messages goes: the window's own procedure and the one the fields hand theirs to.
#include "loaded_window.h"

namespace vostrel::platform::win32 {
namespace {

// Captions in yellow on navy; the read-only field in the colours of editable text, like the others.
LRESULT StaticColours(const LoadedWindow& loaded, HDC dc, HWND control) {
  if (loaded.controls.FieldOf(control) >= 0) {
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
  }
  SetTextColor(dc, ToColorRef(loaded.description.captionText));
  SetBkColor(dc, ToColorRef(loaded.description.background));
  return reinterpret_cast<LRESULT>(loaded.controls.background);
}

}  // namespace

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* loaded = reinterpret_cast<LoadedWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (loaded == nullptr) return DefWindowProcW(window, message, wParam, lParam);  // still being made
  if (const auto answer = loaded->lifetime.Handle(message, wParam)) return *answer;
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == EN_CHANGE) {
        const core::FieldIndex index = loaded->controls.FieldOf(reinterpret_cast<HWND>(lParam));
        if (index >= 0 && !loaded->lifetime.IsClosed()) loaded->events.txt_Change(index);
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
      return StaticColours(*loaded, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DPICHANGED:
      ChangeDensity(loaded->description, wParam, lParam, loaded->controls);
      return 0;
    default:
      if (const auto answer = loaded->input.WindowMessage(message, wParam, lParam)) return *answer;
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK FieldProcedure(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* loaded = reinterpret_cast<LoadedWindow*>(GetWindowLongPtrW(field, GWLP_USERDATA));
  const core::FieldIndex index = loaded != nullptr ? loaded->controls.FieldOf(field) : core::FieldIndex{-1};
  if (index < 0) return DefWindowProcW(field, message, wParam, lParam);
  const WNDPROC edit = loaded->controls.editProcedures.at(static_cast<std::size_t>(index));
  switch (message) {
    case WM_SETFOCUS: {
      // The field's own focus handling first, so that the selection made on focus stays.
      const LRESULT result = CallWindowProcW(edit, field, message, wParam, lParam);
      loaded->input.FieldFocused(index);
      return result;
    }
    case WM_GETOBJECT:  // a screen reader: the object is the system's, its name and description the field's
      loaded->annotations.Annotate(field, loaded->description.fields.at(static_cast<std::size_t>(index)));
      break;
    case WM_CLOSE:
    case WM_DESTROY:
    case WM_NCDESTROY:
      if (!loaded->lifetime.FieldMayEnd(message)) return 0;
      if (message == WM_DESTROY) loaded->annotations.Clear(field);
      break;
    default:
      if (const auto answer = loaded->input.FieldMessage(index, message, wParam, lParam)) return *answer;
      break;
  }
  return CallWindowProcW(edit, field, message, wParam, lParam);
}

}  // namespace vostrel::platform::win32
