#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vostrel authors
# SPDX-License-Identifier: MIT
# Runs a Windows program under Wine in a prefix of the tests' own, which it makes on first use:
#   tests/windows/wine.sh [--headless] PREFIX PROGRAM [ARGUMENTS...]
# --headless: the prefix has no display at all (Wine's null graphics driver), as for the tests that make windows
# in their own process; they never show on the caller's display, nor need one.
# The prefix is test set-up, not the product: Windows' Chinese font names mapped to fonts the scripts install
# (test_prefix.reg), no crash debugger (a crash ends the program instead of waiting for someone), no menu entries, no downloads.
# Every Wine command runs under a timeout (VOSTREL_WINE_TIMEOUT seconds for the program, 120 by default).
set -euo pipefail
headless=
if [[ ${1:-} == --headless ]]; then
  headless=-headless
  shift
fi
prefix=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
wine=$(command -v wine64 || command -v wine) || {
  echo "wine.sh: Wine is missing (Debian packages wine and wine64)" >&2
  exit 1
}
export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

make_prefix() {
  rm -rf "$prefix"
  # No window of its own while it sets up: the display may be another's.
  DISPLAY= timeout 180 "$wine" wineboot --init >/dev/null 2>&1
  DISPLAY= timeout 60 "$wine" regedit /S "Z:${here//\//\\}\\test_prefix.reg" >/dev/null 2>&1
  if [[ -n $headless ]]; then
    DISPLAY= timeout 60 "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  fi
  timeout 60 wineserver --wait
  touch "$prefix/.made-for-vostrel-tests$headless"
}

mkdir -p "$(dirname "$prefix")"
{
  flock 9
  [[ -f $prefix/.made-for-vostrel-tests$headless ]] || make_prefix
} 9>"$prefix.lock"

# One server for the prefix all along, so that no program meets one on its way out between two others. When this
# starts it, Wine's own background processes start too, on nothing of the caller's: a test runner waits for
# whatever holds its output.
if wineserver -p60 </dev/null >/dev/null 2>&1; then
  timeout 60 "$wine" wineboot </dev/null >/dev/null 2>&1 || true
fi

exec timeout --kill-after=5 "${VOSTREL_WINE_TIMEOUT:-120}" "$wine" "$@"
