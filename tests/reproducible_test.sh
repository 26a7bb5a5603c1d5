#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vostrel authors
# SPDX-License-Identifier: MIT
# Builds what is shipped a second time, later and in another folder, and compares it byte for byte with what a
# first build made: the Windows program, its zip and its installer, and the .deb. Prints each file's SHA-256 from
# both builds and names the first file that differs, with its first differing byte.
# Usage: reproducible_test.sh FIRST_RELEASE_BUILD FIRST_WINDOWS_BUILD SECOND_BUILD_ROOT
# Both builds must see the same SOURCE_DATE_EPOCH (the last commit's time when it is not set).
set -uo pipefail
cd "$(dirname "$0")/.."
first_release=${1:?first release build folder}
first_windows=${2:?first Windows build folder}
second=${3:?folder for the second build}
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
jobs=$(nproc)

echo "SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH; second build in $second"
rm -rf "$second"
quietly() {  # quietly COMMAND...: its output only when it fails
  local log
  log=$(mktemp)
  "$@" >"$log" 2>&1
  local status=$?
  [[ $status -eq 0 ]] || tail -n 30 "$log"
  rm -f "$log"
  return $status
}
# The first build's .deb; then the second build makes only what is shipped.
quietly cmake --build "$first_release" --target deb || exit 1
quietly cmake -S . -B "$second/release" -DCMAKE_BUILD_TYPE=Release -DVOSTREL_BENCH=OFF \
  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON || exit 1
quietly cmake --build "$second/release" -j "$jobs" --target deb || exit 1
quietly cmake -S . -B "$second/windows" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DVOSTREL_BENCH=OFF || exit 1
quietly cmake --build "$second/windows" -j "$jobs" --target windows_zip windows_installer || exit 1

differ=
for file in app/vostrel.exe vostrel-1.00-win64.zip vostrel-1.00-setup.exe package/vostrel_1.00_amd64.deb; do
  case $file in
    package/*) a=$first_release/$file b=$second/release/$file ;;
    *) a=$first_windows/$file b=$second/windows/$file ;;
  esac
  sums=("$(sha256sum "$a" 2>&1 | cut -c1-64)" "$(sha256sum "$b" 2>&1 | cut -c1-64)")
  printf '%s  %s\n%s  %s\n' "${sums[0]}" "$a" "${sums[1]}" "$b"
  if [[ ${sums[0]} != "${sums[1]}" && -z $differ ]]; then
    differ=$file
    echo "FIRST DIFFERENCE: $file ($(cmp "$a" "$b" 2>&1 | head -n 1))"
  fi
done
[[ -z $differ ]] && echo "reproducible: every file the same"
[[ -z $differ ]]
