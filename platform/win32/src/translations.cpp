// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "translations.h"

#include <algorithm>

#include "frmMain_zh_CN.h"  // written at build time from resources/translations/vostrel_zh_CN.ts

namespace vostrel::platform::win32 {
namespace {

std::wstring Widened(std::string_view utf8) {
  const int size = static_cast<int>(utf8.size());
  std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0)),
                    L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), static_cast<int>(wide.size()));
  return wide;
}

}  // namespace

std::wstring Translated(LANGID language, std::string_view english) {
  if (PRIMARYLANGID(language) == LANG_CHINESE) {
    const auto* const found = std::ranges::find(catalogue::kChinese, english, &catalogue::Entry::english);
    if (found != std::ranges::end(catalogue::kChinese)) return std::wstring(found->translated);
  }
  return Widened(english);
}

std::wstring Translated(std::string_view english) {
  return Translated(GetUserDefaultUILanguage(), english);
}

}  // namespace vostrel::platform::win32
