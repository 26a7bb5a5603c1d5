// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "vostrel/platform/win32/registry_store.h"

#include <string>

#include "text.h"

namespace vostrel::platform::win32 {
namespace {

// Far longer than any text the program writes; a longer value is not one of ours.
constexpr DWORD kLongestText = 256;

std::wstring KeyPath(core::TextView application, core::TextView section) {
  return L"Software\\" + ToWide(application) + L"\\" + ToWide(section);
}

}  // namespace

RegistryStore::RegistryStore(core::Text productName, HKEY root)
    : productName_(std::move(productName)), root_(root) {}

std::optional<core::Text> RegistryStore::ProductName() const {
  return productName_.empty() ? std::nullopt : std::optional(productName_);
}

std::optional<core::Text> RegistryStore::ReadSetting(core::TextView application, core::TextView section,
                                                     core::TextView key, core::TextView defaultText) {
  wchar_t text[kLongestText + 1];
  DWORD bytes = sizeof text;
  // Only REG_SZ is text here: REG_EXPAND_SZ would be expanded, anything else is another type. The text comes
  // back terminated, also when it was stored without its terminator.
  const LSTATUS status = RegGetValueW(root_, KeyPath(application, section).c_str(), ToWide(key).c_str(),
                                      RRF_RT_REG_SZ | RRF_NOEXPAND, nullptr, text, &bytes);
  if (status == ERROR_FILE_NOT_FOUND) return core::Text(defaultText);  // no such key or value
  if (status != ERROR_SUCCESS) return std::nullopt;
  // The text ends at its first terminator, as Windows reads a REG_SZ; the value's size counts the last one.
  return ToText(std::wstring_view(text));
}

bool RegistryStore::SaveSetting(core::TextView application, core::TextView section, core::TextView key,
                                core::TextView text) {
  // Makes the key where it is missing.
  const std::wstring value = ToWide(text);
  return RegSetKeyValueW(root_, KeyPath(application, section).c_str(), ToWide(key).c_str(), REG_SZ,
                         value.c_str(),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

}  // namespace vostrel::platform::win32
