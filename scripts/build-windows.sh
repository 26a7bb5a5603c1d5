#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vostrel authors
# SPDX-License-Identifier: MIT
# Installs what is missing and cross-builds the Windows program with mingw-w64, in build/windows:
# - app/vostrel.exe, one self-contained file (release build, stripped, statically linked);
# - vostrel-1.00-win64.zip: vostrel.exe, LICENSE and README.txt;
# - vostrel-1.00-setup.exe: the installer for the user who runs it (no administrator rights).
# The same commit gives the same bytes: everything is stamped with SOURCE_DATE_EPOCH, the last commit's time
# unless it is set. Further arguments go to the build (--target all builds the tests too).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 315532800)}
export SOURCE_DATE_EPOCH
cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/windows -j "$(nproc)" --target vostrel windows_zip windows_installer "$@"
for made in app/vostrel.exe vostrel-1.00-win64.zip vostrel-1.00-setup.exe; do
  echo "built $(pwd)/build/windows/$made"
done
