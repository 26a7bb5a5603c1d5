#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vostrel authors
# SPDX-License-Identifier: MIT
# Runs the desktop cases of a configured build folder through CTest, case by case; further arguments go to ctest.
# Usage: tests/desktop/run.sh BUILD_DIR [-j2] [-R desktop.bells] ...
set -euo pipefail
build=${1:?build folder}
shift
exec ctest --test-dir "$build" -L desktop --output-on-failure "$@"
