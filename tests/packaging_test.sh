#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vostrel authors
# SPDX-License-Identifier: MIT
# Checks what is installed and packaged: the staged file list; the .deb against lintian and its control data; the
# .deb's extracted tree (the program's --version, the menu entry, the metadata, the icons, the manual page) and
# that apt can resolve its dependencies; and that the Windows resource script compiles. Installs nothing.
# Usage: packaging_test.sh SOURCE_DIR BUILD_DIR
set -uo pipefail
source=$1
build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0
check() {  # check NAME COMMAND...
  local name=$1
  shift
  if "$@" >"$work/out" 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL $name:"
    sed 's/^/    /' "$work/out"
  fi
}
requires() {  # requires TOOL...: says which tool is missing and from which Debian package
  local tool
  declare -A package=([lintian]=lintian [desktop-file-validate]=desktop-file-utils [appstreamcli]=appstream
    [identify]=imagemagick [compare]=imagemagick [rsvg-convert]=librsvg2-bin [groff]=groff-base [man]=man-db [dpkg-deb]=dpkg [apt-get]=apt [cpack]=cmake
    [x86_64-w64-mingw32-windres]=binutils-mingw-w64-x86-64)
  for tool; do
    command -v "$tool" >/dev/null || { echo "missing tool: $tool (Debian package ${package[$tool]:-?})"; return 1; }
  done
}
silent() {  # silent COMMAND...: succeeds when COMMAND succeeds and writes nothing
  "$@" >"$work/said" 2>&1
  local status=$?
  cat "$work/said"
  [[ $status -eq 0 && ! -s "$work/said" ]]
}

DESTDIR=$work/stage cmake --install "$build" --prefix /usr >/dev/null
(cd "$work/stage" && find . -type f | sort) >"$work/files"
cat >"$work/expected" <<'LIST'
./usr/bin/vostrel
./usr/share/applications/org.vostrel.Vostrel.desktop
./usr/share/doc/vostrel/changelog.gz
./usr/share/doc/vostrel/copyright
./usr/share/icons/hicolor/128x128/apps/org.vostrel.Vostrel.png
./usr/share/icons/hicolor/16x16/apps/org.vostrel.Vostrel.png
./usr/share/icons/hicolor/256x256/apps/org.vostrel.Vostrel.png
./usr/share/icons/hicolor/32x32/apps/org.vostrel.Vostrel.png
./usr/share/icons/hicolor/48x48/apps/org.vostrel.Vostrel.png
./usr/share/icons/hicolor/64x64/apps/org.vostrel.Vostrel.png
./usr/share/icons/hicolor/scalable/apps/org.vostrel.Vostrel.svg
./usr/share/man/man1/vostrel.1.gz
./usr/share/metainfo/org.vostrel.Vostrel.metainfo.xml
LIST
check "installed file list" diff "$work/expected" "$work/files"

check "cpack is there" requires cpack
(cd "$build" && cpack -B "$work/package" >"$work/cpack.log" 2>&1)
deb=$(ls "$work"/package/vostrel_1.00_*.deb 2>/dev/null | head -n 1)
root=$work/root
app=$root/usr/share/applications/org.vostrel.Vostrel.desktop
hicolor=$root/usr/share/icons/hicolor
man_page=$root/usr/share/man/man1/vostrel.1.gz

deb_is_built() { [[ -f $deb ]] || { cat "$work/cpack.log"; return 1; }; }
lintian_is_clean() {
  requires lintian || return 1
  lintian --fail-on error,warning "$deb" >"$work/lintian" 2>&1
  local status=$?
  grep -v 'running with root privileges' "$work/lintian"
  return $status
}
apt_resolves() { requires apt-get && (cd "$(dirname "$deb")" && apt-get install --simulate "./$(basename "$deb")"); }
prints_version() {
  local out
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 10 "$root/usr/bin/vostrel" --version)
  local status=$?
  [[ $status -eq 0 && $out == "Vostrel 1.00" ]] || { echo "exit status $status, printed: $out"; return 1; }
}
desktop_entry_validates() { requires desktop-file-validate && desktop-file-validate --no-hints "$app"; }
metadata_validates() {
  requires appstreamcli && appstreamcli validate --no-net "$root/usr/share/metainfo/org.vostrel.Vostrel.metainfo.xml"
}
icons_have_their_sizes() {
  requires identify || return 1
  local png size
  for png in "$hicolor"/*x*/apps/*.png; do
    size=${png%/apps/*}
    size=${size##*/}
    [[ $(identify -format '%wx%h' "$png") == "$size" ]] || { echo "$png is not $size"; return 1; }
  done
}
icon_name_has_every_size() {
  local icon size
  icon=$(sed -n 's/^Icon=//p' "$app")
  [[ -n $icon ]] || { echo "no Icon= in the desktop entry"; return 1; }
  for size in 16 32 48 64 128 256; do
    [[ -f $hicolor/${size}x$size/apps/$icon.png ]] || { echo "no ${size}x$size $icon.png"; return 1; }
  done
  # The scalable icon, drawn at 256 pixels, is the 256-pixel PNG pixel for pixel: sharp-edged at any size.
  requires rsvg-convert compare || return 1
  rsvg-convert -w 256 -h 256 "$hicolor/scalable/apps/$icon.svg" -o "$work/scalable-256.png" || return 1
  local differing
  differing=$(compare -metric AE "$work/scalable-256.png" "$hicolor/256x256/apps/$icon.png" null: 2>&1)
  [[ $differing == 0 ]] || { echo "the scalable icon differs from the 256-pixel one in $differing pixels"; return 1; }
}
man_page_groff() {
  requires groff && gunzip -c "$man_page" >"$work/vostrel.1" && silent groff -ww -z -man "$work/vostrel.1"
}
man_page_man() { requires man && silent bash -c 'man --warnings -l "$1" >/dev/null' - "$man_page"; }

check "a .deb is built" deb_is_built
if [[ -f "$deb" ]]; then
  check "lintian: 0 errors, 0 warnings" lintian_is_clean
  dpkg-deb -f "$deb" >"$work/control"
  check "package name and version" bash -c "grep -qx 'Package: vostrel' '$work/control' && grep -qx 'Version: 1.00' '$work/control'"
  check "depends on the Qt widgets library" grep -Eq '^Depends:.*libqt6widgets6' "$work/control"
  check "depends on the Chinese font" grep -Eq '^Depends:.*fonts-wqy-zenhei \| fonts-noto-cjk' "$work/control"
  check "recommends Qt's translations" grep -qx 'Recommends: qt6-translations-l10n' "$work/control"
  check "apt resolves the dependencies" apt_resolves
  check "the .deb extracts" dpkg-deb -x "$deb" "$root"
  check "the program prints its version without a display" prints_version
  check "desktop entry validates" desktop_entry_validates
  check "desktop entry starts the installed program" grep -qx 'Exec=vostrel' "$app"
  check "metadata validates" metadata_validates
  check "every PNG icon has its folder's size" icons_have_their_sizes
  check "the Icon= name has every hicolor size and an SVG" icon_name_has_every_size
  check "manual page formats without warnings (groff)" man_page_groff
  check "manual page formats without warnings (man)" man_page_man
fi

check "windres is there" requires x86_64-w64-mingw32-windres
check "Windows resource script compiles" x86_64-w64-mingw32-windres --preprocessor=cpp -I "$build/icons" \
  -i "$source/resources/vostrel.rc" -o "$work/vostrel.res" -O res
# Version strings are UTF-16 in the compiled resources; the language and code page are 0804 and 04B0.
check "version information is in the resources" python3 -c "
import sys
data = open('$work/vostrel.res', 'rb').read()
for text in ('080404B0', 'ProductName', 'Vostrel', 'FileVersion', '1.00', 'FileDescription'):
    assert text.encode('utf-16-le') in data, text
assert bytes([0x04, 0x08, 0xB0, 0x04]) in data, 'translation 0804 1200'
"

echo "packaging: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
