#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vostrel authors
# SPDX-License-Identifier: MIT
# The quick check after an edit: builds what changed in build/release and runs the unit and offscreen cases
# (label unit: the core, frmMain, the settings store, the real widgets offscreen), in well under a minute on two
# cores once the first build is there. The whole suite, desktops and Windows included, is scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
# What the build makes is stamped with the last commit's time, as in every build of the scripts.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 315532800)}
export SOURCE_DATE_EPOCH
if [[ ! -f build/release/CMakeCache.txt ]]; then
  scripts/deps.sh
  cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build build/release -j "$(nproc)"
ctest --test-dir build/release -L unit -j "$(nproc)" --output-on-failure
