// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// Where each of the window's messages goes: the window's own procedure and the one the fields hand theirs to.
#include <windowsx.h>

#include "loaded_window.h"
#include "text.h"
#include "vostrel/core/number_rendering.h"

namespace vostrel::platform::win32 {
namespace {

LoadedWindow* LoadedFrom(HWND window) {
  return reinterpret_cast<LoadedWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

COLORREF ToColorRef(const Rgb& rgb) {
  return RGB(rgb.red, rgb.green, rgb.blue);
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

// Whether another program's text for a field is one the field converts: a number of its kind, or nothing.
bool ConvertsInField(core::FieldIndex index, const wchar_t* text) {
  const core::Text value = ToText(text != nullptr ? std::wstring_view(text) : std::wstring_view());
  if (value.empty()) return true;
  return index == core::kDecimalField ? core::ParseDecimalText(value).has_value()
                                      : core::ParseHexText(value).has_value();
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
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      loaded->input.MouseButton(message, wParam, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_ACTIVATE:
      // The system would give the focus to the window itself; it belongs in a field.
      if (LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0) {
        loaded->input.WindowActivated();
        return 0;
      }
      break;
    case WM_SETFOCUS:
      loaded->input.WindowActivated();
      return 0;
    case WM_DPICHANGED:
      // Moved to a monitor of another density: the same twips in its pixels, from the same corner. The
      // density is the window's own; the message's arguments are not trusted, as another program may send it.
      LayOut(loaded->description, GetDpiForWindow(window), nullptr, loaded->controls);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK FieldProcedure(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
  LoadedWindow* loaded = LoadedFrom(field);
  const core::FieldIndex index = loaded != nullptr ? loaded->controls.FieldOf(field) : core::FieldIndex{-1};
  if (index < 0) return DefWindowProcW(field, message, wParam, lParam);
  const WNDPROC edit = loaded->controls.editProcedures.at(static_cast<std::size_t>(index));
  const bool readOnly = loaded->controls.readOnly.at(static_cast<std::size_t>(index));
  switch (message) {
    case WM_CHAR:
    case WM_IME_CHAR: {  // an input method's characters come this way when it hands them over one by one
      // Typed into a field without the focus (another program's WM_CHAR): typed as if the user had gone
      // there.
      loaded->input.FocusBeforeEdit(index);
      const auto received = loaded->input.Typed(index, static_cast<wchar_t>(wParam));
      return received ? CallWindowProcW(edit, field, WM_CHAR, *received, lParam) : 0;
    }
    case WM_KEYDOWN:
      if (InputRouter::IsEditShortcut(wParam)) return 0;
      break;
    case WM_IME_STARTCOMPOSITION:
    case WM_IME_COMPOSITION:
    case WM_IME_ENDCOMPOSITION:
      // Composed in the input method's own window, the result arrives as WM_IME_CHAR, character by character,
      // through the key rule; the field itself would take it whole.
      return DefWindowProcW(field, message, wParam, lParam);
    case WM_SETFOCUS: {
      // The field's own focus handling first, so that the selection made on focus stays.
      const LRESULT result = CallWindowProcW(edit, field, message, wParam, lParam);
      loaded->input.FieldFocused(index);
      return result;
    }
    case WM_SETTEXT:
      if (loaded->writingField) break;
      // Another program's text: an editable field takes a number, as if it were pasted there; the read-only
      // field and a text that is no number leave the fields as they were.
      if (readOnly || !ConvertsInField(index, reinterpret_cast<const wchar_t*>(lParam))) return FALSE;
      loaded->input.FocusBeforeEdit(index);
      break;
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
    case EM_REPLACESEL:
      if (readOnly) return 0;  // only the program writes the read-only field
      loaded->input.FocusBeforeEdit(index);
      break;
    case WM_CONTEXTMENU:  // whose commands paste, cut, delete and undo
      loaded->input.FocusBeforeEdit(index);
      break;
    case EM_SETREADONLY:  // the fields are what they were made: only another program would send this
    case WM_CLOSE:        // a field is never closed on its own
      return 0;
    case WM_DESTROY:
    case WM_NCDESTROY:
      // Only as part of the window's own end; from another program, nothing.
      if (!loaded->lifetime.IsClosed()) return 0;
      break;
    default:
      break;
  }
  return CallWindowProcW(edit, field, message, wParam, lParam);
}

}  // namespace vostrel::platform::win32
