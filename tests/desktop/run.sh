#!/usr/bin/env bash
# Runs the desktop tests on a private X server (Xvfb) with an EWMH window manager (openbox).
# Usage: tests/desktop/run.sh BUILD_DIR
set -uo pipefail
build=$(cd "${1:?build folder}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)

display=99
while [[ -e /tmp/.X11-unix/X$display || -e /tmp/.X$display-lock ]]; do display=$((display + 1)); done
export DISPLAY=:$display
unset WAYLAND_DISPLAY QT_QPA_PLATFORM

work=$(mktemp -d)
cleanup() {
  [[ -n ${wm_pid:-} ]] && kill "$wm_pid" 2>/dev/null
  [[ -n ${x_pid:-} ]] && kill "$x_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
x_pid=$!
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || { echo "desktop: Xvfb did not start"; cat "$work/xvfb.log"; echo "desktop: 0 passed, 1 failed"; exit 1; }

HOME=$work openbox >"$work/openbox.log" 2>&1 &
wm_pid=$!
for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done

python3 "$here/desktop_test.py" --build "$build" --work "$work"
