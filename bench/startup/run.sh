#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vostrel authors
# SPDX-License-Identifier: MIT
# Start-up time and resident memory of the program against Qt's own floor, side by side on a private Xvfb.
# Usage: bench/startup/run.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=$(cd "${1:-build/release}" && pwd)
runs=${2:-30}
display=120
while [[ -e /tmp/.X11-unix/X$display ]]; do display=$((display + 1)); done
export DISPLAY=:$display
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
config=$(mktemp -d)
mkdir -p "$config/Vostrel"
printf '[Main]\nxPos=1500\nyPos=1500\n' >"$config/Vostrel/Vostrel.conf"
Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
x_pid=$!
trap 'kill $x_pid 2>/dev/null; rm -rf "$config"' EXIT
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs), Qt $(qtpaths6 --qt-version 2>/dev/null)"; echo
XDG_CONFIG_HOME=$config XDG_RUNTIME_DIR=$config "$build/bench/startup_bench" "$runs" 1000 \
  "vostrel=$build/app/vostrel" "floor=$build/bench/qt_floor"
