// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// Where each of the window's messages goes: the window's own procedure and the one the fields hand theirs to.
#include "field_accessibility.h"
#include "loaded_window.h"
#include "translations.h"

namespace vostrel::platform::win32 {
namespace {

LoadedWindow* LoadedFrom(HWND window) {
  return reinterpret_cast<LoadedWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// Captions in yellow on the window's navy; the read-only field in the colours of editable text, like the
// others.
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
  LoadedWindow* loaded = LoadedFrom(window);
  if (loaded == nullptr) return DefWindowProcW(window, message, wParam, lParam);  // still being made
  LRESULT result = 0;
  if (loaded->lifetime.Handle(message, wParam, result)) return result;
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
  LoadedWindow* loaded = LoadedFrom(field);
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
    case WM_GETOBJECT: {
      // Screen readers hear the field's own name and description, in the user's language, not the caption
      // before it.
      const FieldDescription& described = loaded->description.fields.at(static_cast<std::size_t>(index));
      if (const auto answer =
              AnswerAccessibleObject(field, wParam, lParam, Translated(described.accessibleName),
                                     Translated(described.accessibleDescription)))
        return *answer;
      break;
    }
    case WM_CLOSE:
    case WM_DESTROY:
    case WM_NCDESTROY:
      if (!loaded->lifetime.FieldMayEnd(message)) return 0;
      break;
    default:
      if (const auto answer = loaded->input.FieldMessage(index, message, wParam, lParam)) return *answer;
      break;
  }
  return CallWindowProcW(edit, field, message, wParam, lParam);
}

}  // namespace vostrel::platform::win32
