#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vostrel authors
# SPDX-License-Identifier: MIT
# Installs what is missing and cross-builds the Windows program with mingw-w64: build/windows/app/vostrel.exe,
# one self-contained file (release build, stripped, statically linked). Further arguments go to the build, such
# as --target all for the tests too.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/windows -j "$(nproc)" --target vostrel "$@"
echo "built $(pwd)/build/windows/app/vostrel.exe"
