// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// What screen readers are told a field is: by itself an edit is named after the caption before it, in Chinese
// whatever the user's language. The fields keep the system's own object (UI Automation's edit proxy, with its
// text pattern); only its name and description are annotated (Dynamic Annotation), in the user's language.
#pragma once

#include <windows.h>

#include <vector>

#include "vostrel/platform/window_description.h"

struct IAccPropServices;

namespace vostrel::platform::win32 {

class FieldAnnotations {
 public:
  FieldAnnotations() = default;
  FieldAnnotations(const FieldAnnotations&) = delete;
  FieldAnnotations& operator=(const FieldAnnotations&) = delete;
  // Takes the annotations off the fields still annotated.
  ~FieldAnnotations();

  // Gives `field` its name and description, once, when a screen reader first asks for it (WM_GETOBJECT): a
  // start without one loads no COM.
  void Annotate(HWND field, const FieldDescription& described);
  // Takes the annotations off a field that goes.
  void Clear(HWND field);

 private:
  IAccPropServices* services_ = nullptr;
  bool servicesSought_ =
      false;  // once: where there is no service, a reader's next question finds none either
  std::vector<HWND> annotated_;
};

}  // namespace vostrel::platform::win32
