// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// What screen readers are told a field is. By itself an edit takes its name from the static text made before
// it, so they would read out the Chinese caption whatever the user's language; the fields give their own name
// and description instead, through the accessible object they hand out.
#pragma once

#include <windows.h>

#include <optional>
#include <string_view>

namespace vostrel::platform::win32 {

// The answer to WM_GETOBJECT for `field`: for its client object, the edit's standard accessible object with
// `name` and `description` in place of its own; nullopt for any other object, or where none could be made,
// and the message goes on to the edit.
[[nodiscard]] std::optional<LRESULT> AnswerAccessibleObject(HWND field, WPARAM wParam, LPARAM lParam,
                                                            std::wstring_view name,
                                                            std::wstring_view description);

}  // namespace vostrel::platform::win32
