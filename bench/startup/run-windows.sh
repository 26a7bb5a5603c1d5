#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vostrel authors
# SPDX-License-Identifier: MIT
# Start-up time and resident memory of the Windows program under Wine against a bare Win32 window built the same
# way (win32_floor.exe), side by side on a private Xvfb, with one Wine process keeping the prefix warm; and the
# size of vostrel.exe. Usage: bench/startup/run-windows.sh [WINDOWS_BUILD_DIR] [RUNS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build/windows}" && pwd)
runs=${2:-100}
display=140
while [[ -e /tmp/.X11-unix/X$display ]]; do display=$((display + 1)); done
export DISPLAY=:$display
Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
x_pid=$!
prefix=$build/wineprefix-bench
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
stop() {
  timeout 20 wineserver -k 2>/dev/null || true
  kill $x_pid 2>/dev/null || true
}
trap stop EXIT
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
# The floor is a benchmark of its own: built here if the build left the benchmarks out.
cmake -S "$here/../.." -B "$build" -DVOSTREL_BENCH=ON >/dev/null
cmake --build "$build" --target vostrel win32_floor driver build_machine_tools >/dev/null

# The prefix made (once), a stored position, and a Wine process that keeps it warm between the starts.
"$here/../../tests/windows/wine.sh" "$prefix" reg add 'HKCU\Software\Vostrel\Main' /v xPos /d 1500 /f >/dev/null
"$here/../../tests/windows/wine.sh" "$prefix" reg add 'HKCU\Software\Vostrel\Main' /v yPos /d 1500 /f >/dev/null
wine=$(command -v wine64 || command -v wine)
# The driver waits for commands as long as this script holds its input open.
exec 5> >("$wine" "$build/tests/windows/driver.exe" >/dev/null 2>&1)

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs), $("$wine" --version)"
echo "vostrel.exe: $(stat -c %s "$build/app/vostrel.exe") bytes (target: at most 307200)"
echo
"$build/build_machine/startup_bench" "$runs" "${VOSTREL_SETTLE_MS:-300}" "vostrel=$wine $build/app/vostrel.exe" \
  "floor=$wine $build/bench/win32_floor.exe"
