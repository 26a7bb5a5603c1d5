// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include <initguid.h>  // the annotation service's and properties' identifiers, defined here

#include "field_accessibility.h"

#include <oleacc.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

#include "frmMain_zh_CN.h"  // written at build time from resources/translations/vostrel_zh_CN.ts

namespace vostrel::platform::win32 {
namespace {

// One of the window description's English texts (context "frmMain") in the user's interface language, from
// the catalogue the Qt runtime reads too: Simplified Chinese where the language is Chinese, else the English.
std::wstring Translated(std::string_view english) {
  if (PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE) {
    const auto* const found = std::ranges::find(catalogue::kChinese, english, &catalogue::Entry::english);
    if (found != std::ranges::end(catalogue::kChinese)) return std::wstring(found->translated);
  }
  const auto size = static_cast<int>(english.size());
  std::wstring wide(
      static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, english.data(), size, nullptr, 0)), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, english.data(), size, wide.data(), static_cast<int>(wide.size()));
  return wide;
}

// COM, from the system's folder when a screen reader first asks: imported, it would load at every start. The
// thread stays in a single-threaded apartment from then on; one already in an apartment stays in its own.
IAccPropServices* MakeServices() {
  const HMODULE ole = LoadLibraryExW(L"ole32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (ole == nullptr) return nullptr;
  // Through a function type that takes and gives nothing, which any function pointer converts to and from.
  const auto initialise = reinterpret_cast<decltype(&CoInitializeEx)>(
      reinterpret_cast<void (*)()>(GetProcAddress(ole, "CoInitializeEx")));
  const auto create = reinterpret_cast<decltype(&CoCreateInstance)>(
      reinterpret_cast<void (*)()>(GetProcAddress(ole, "CoCreateInstance")));
  if (initialise == nullptr || create == nullptr) return nullptr;
  initialise(nullptr, COINIT_APARTMENTTHREADED);
  IAccPropServices* services = nullptr;
  if (FAILED(create(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                    reinterpret_cast<void**>(&services))))
    return nullptr;
  return services;
}

}  // namespace

FieldAnnotations::~FieldAnnotations() {
  while (!annotated_.empty()) Clear(annotated_.back());
  if (services_ != nullptr) services_->Release();
}

void FieldAnnotations::Annotate(HWND field, const FieldDescription& described) {
  if (std::ranges::find(annotated_, field) != annotated_.end()) return;
  if (!std::exchange(servicesSought_, true)) services_ = MakeServices();
  if (services_ == nullptr) return;
  annotated_.push_back(field);
  const auto object = static_cast<DWORD>(OBJID_CLIENT);
  services_->SetHwndPropStr(field, object, CHILDID_SELF, PROPID_ACC_NAME,
                            Translated(described.accessibleName).c_str());
  services_->SetHwndPropStr(field, object, CHILDID_SELF, PROPID_ACC_DESCRIPTION,
                            Translated(described.accessibleDescription).c_str());
}

void FieldAnnotations::Clear(HWND field) {
  const auto found = std::ranges::find(annotated_, field);
  if (found == annotated_.end()) return;
  annotated_.erase(found);
  const MSAAPROPID properties[] = {PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION};
  services_->ClearHwndProps(field, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, properties,
                            static_cast<int>(std::size(properties)));
}

}  // namespace vostrel::platform::win32
