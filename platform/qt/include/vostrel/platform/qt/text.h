// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "vostrel/core/vocabulary.h"

namespace vostrel::platform::qt {

inline QString ToQString(core::TextView text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline core::Text ToText(const QString& text) {
  return text.toStdU16String();
}

}  // namespace vostrel::platform::qt
