// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "field_accessibility.h"

#include <oleacc.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

namespace vostrel::platform::win32 {
namespace {

// Windows' accessibility and COM, loaded from the system's own folder the first time a screen reader asks, so
// that a start without one loads none of them.
struct Accessibility {
  decltype(&::SysAllocStringLen) sysAllocStringLen = nullptr;
  decltype(&::CoGetApartmentType) coGetApartmentType = nullptr;
  decltype(&::CoInitializeEx) coInitializeEx = nullptr;
  decltype(&::CreateStdAccessibleObject) createStdAccessibleObject = nullptr;
  decltype(&::LresultFromObject) lresultFromObject = nullptr;
  decltype(&::CoCreateInstance) coCreateInstance = nullptr;

  [[nodiscard]] bool Loaded() const {
    return sysAllocStringLen != nullptr && coGetApartmentType != nullptr && coInitializeEx != nullptr &&
           createStdAccessibleObject != nullptr && lresultFromObject != nullptr &&
           coCreateInstance != nullptr;
  }
};

template <typename Function>
void Find(const wchar_t* library, const char* name, Function& function) {
  const HMODULE module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module == nullptr) return;
  // Through a function type that takes and gives nothing, which any function pointer converts to and from.
  function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

const Accessibility& Functions() {
  static const Accessibility loaded = [] {
    Accessibility functions;
    Find(L"oleaut32.dll", "SysAllocStringLen", functions.sysAllocStringLen);
    Find(L"ole32.dll", "CoGetApartmentType", functions.coGetApartmentType);
    Find(L"ole32.dll", "CoInitializeEx", functions.coInitializeEx);
    Find(L"oleacc.dll", "CreateStdAccessibleObject", functions.createStdAccessibleObject);
    Find(L"oleacc.dll", "LresultFromObject", functions.lresultFromObject);
    Find(L"ole32.dll", "CoCreateInstance", functions.coCreateInstance);
    return functions;
  }();
  return loaded;
}

bool IsSelf(const VARIANT& child) {
  return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

HRESULT Copy(std::wstring_view text, BSTR* out) {
  if (out == nullptr) return E_POINTER;
  *out = Functions().sysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

// COM objects end in their own Release, never through an interface: the interfaces have no virtual
// destructor.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif

// The edit's standard object, answering as itself in all but its own name and description. Screen readers
// may hold it after the field has gone: it keeps its texts and its reference to the standard object.
class NamedField final : public IAccessible, public IOleWindow {
 public:
  // Takes over the caller's reference to `standard`.
  NamedField(HWND field, IAccessible* standard, std::wstring_view name, std::wstring_view description)
      : field_(field), standard_(standard), name_(name), description_(description) {}
  NamedField(const NamedField&) = delete;
  NamedField& operator=(const NamedField&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
      *object = static_cast<IAccessible*>(this);
    } else if (iid == __uuidof(IOleWindow)) {
      *object = static_cast<IOleWindow*>(this);
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    return IsSelf(child) ? Copy(name_, name) : standard_->get_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    return IsSelf(child) ? Copy(description_, description)
                         : standard_->get_accDescription(child, description);
  }

  // Everything else as the standard object answers it.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    return standard_->GetTypeInfoCount(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return standard_->GetTypeInfo(index, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    return standard_->GetIDsOfNames(iid, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                   VARIANT* result, EXCEPINFO* exception, UINT* wrongArgument) override {
    return standard_->Invoke(id, iid, locale, flags, parameters, result, exception, wrongArgument);
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return standard_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    return standard_->get_accChildCount(count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    return standard_->get_accChild(child, object);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return standard_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    return standard_->get_accRole(child, role);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return standard_->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return standard_->get_accHelp(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return standard_->get_accKeyboardShortcut(child, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return standard_->get_accSelection(children);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return standard_->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    return standard_->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override {
    return standard_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT* child) override {
    return standard_->accHitTest(left, top, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return standard_->accDoDefaultAction(child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return standard_->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_->put_accValue(child, value);
  }

  // The field itself, which clients ask for to tell which window an object belongs to.
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    if (window == nullptr) return E_POINTER;
    *window = field_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL /*enter*/) override { return E_NOTIMPL; }

 private:
  ~NamedField() { standard_->Release(); }

  std::atomic<ULONG> references_ = 1;
  HWND field_;
  IAccessible* standard_;
  std::wstring name_;
  std::wstring description_;
};

#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

// Handing the object out marshals it, which needs the thread in a COM apartment. The program makes none for
// anything else, so the first question makes the window's thread a single-threaded one, for the rest of its
// life: clients may hold the object until then. A thread already in an apartment stays in its own.
bool InApartment() {
  APTTYPE type{};
  APTTYPEQUALIFIER qualifier{};
  if (Functions().coGetApartmentType(&type, &qualifier) != CO_E_NOTINITIALIZED) return true;
  return SUCCEEDED(Functions().coInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

// UI Automation (Narrator) reads an edit through a proxy of its own, which takes a name and a description
// from the annotations the system keeps for a window rather than from the object above. Once for each field.
// Wine keeps no annotations (it answers E_NOTIMPL), so only real Windows shows them.
void Annotate(HWND field, std::wstring_view name, std::wstring_view description) {
  static std::vector<HWND> annotated;
  if (std::ranges::find(annotated, field) != annotated.end()) return;
  annotated.push_back(field);
  // CLSID_AccPropServices, IID_IAccPropServices and PROPID_ACC_NAME and _DESCRIPTION, as oleacc.h gives them.
  constexpr CLSID kServices{0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
  constexpr IID kServicesInterface{
      0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
  constexpr GUID kName{0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};
  constexpr GUID kDescription{0x4d48dfe4, 0xbd3f, 0x491f, {0xa6, 0x48, 0x49, 0x2d, 0x6f, 0x20, 0xc5, 0x88}};
  IAccPropServices* services = nullptr;
  if (FAILED(Functions().coCreateInstance(kServices, nullptr, CLSCTX_INPROC_SERVER, kServicesInterface,
                                          reinterpret_cast<void**>(&services))))
    return;
  const std::wstring nameText(name);
  const std::wstring descriptionText(description);
  services->SetHwndPropStr(field, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kName, nameText.c_str());
  services->SetHwndPropStr(field, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kDescription,
                           descriptionText.c_str());
  services->Release();
}

}  // namespace

std::optional<LRESULT> AnswerAccessibleObject(HWND field, WPARAM wParam, LPARAM lParam,
                                              std::wstring_view name, std::wstring_view description) {
  if (!Functions().Loaded() || !InApartment()) return std::nullopt;
  Annotate(field, name, description);
  // The object id is a DWORD, whatever the width of lParam. The window object, the caret, UI Automation and
  // the rest get the edit's own answers.
  if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT) return std::nullopt;
  IAccessible* standard = nullptr;
  if (FAILED(Functions().createStdAccessibleObject(field, OBJID_CLIENT, __uuidof(IAccessible),
                                                   reinterpret_cast<void**>(&standard))))
    return std::nullopt;
  auto* const named = new NamedField(field, standard, name, description);
  // The answer holds a reference of its own until the client takes the object.
  const LRESULT answer =
      Functions().lresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(named));
  named->Release();
  if (answer < 0) return std::nullopt;  // a COM error: the edit's own object is better than none
  return answer;
}

}  // namespace vostrel::platform::win32
