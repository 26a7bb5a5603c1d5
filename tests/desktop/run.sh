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

python3 "$here/desktop_test.py" --build "$build" --work "$work" | tee "$work/with-wm.log"
status=${PIPESTATUS[0]}

# The end of a session: the tests' own session manager on this desktop, then a headless Wayland compositor.
python3 "$here/session_test.py" --build "$build" --work "$work" | tee "$work/session.log"
session_status=${PIPESTATUS[0]}

# The same desktop without its window manager, for the moves the window must make by itself.
kill "$wm_pid" 2>/dev/null
wait "$wm_pid" 2>/dev/null
wm_pid=
python3 "$here/desktop_test.py" --build "$build" --work "$work" --without-window-manager | tee "$work/without-wm.log"
[[ ${PIPESTATUS[0]} -eq 0 && $status -eq 0 && $session_status -eq 0 ]]
final=$?

# One summary line over all runs.
read -r passed failed < <(cat "$work/with-wm.log" "$work/session.log" "$work/without-wm.log" |
  sed -n -E 's/^desktop: ([0-9]+) passed, ([0-9]+) failed$/\1 \2/p' | awk '{p += $1; f += $2} END {print p + 0, f + 0}')
echo "desktop total: $passed passed, $failed failed"
exit $final
