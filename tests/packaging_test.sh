#!/usr/bin/env bash
# Checks what is installed and packaged: the staged file list, the menu entry and metadata against their
# validators, the .deb's control data, and that the Windows resource script compiles.
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

DESTDIR=$work/stage cmake --install "$build" --prefix /usr >/dev/null
(cd "$work/stage" && find . -type f | sort) >"$work/files"
cat >"$work/expected" <<'LIST'
./usr/bin/vostrel
./usr/share/applications/org.vostrel.Vostrel.desktop
./usr/share/icons/hicolor/16x16/apps/org.vostrel.Vostrel.png
./usr/share/icons/hicolor/32x32/apps/org.vostrel.Vostrel.png
./usr/share/metainfo/org.vostrel.Vostrel.metainfo.xml
LIST
check "installed file list" diff "$work/expected" "$work/files"
check "icons are 16 and 32 pixels" bash -c "
  identify -format '%w %h\n' '$work/stage/usr/share/icons/hicolor/16x16/apps/org.vostrel.Vostrel.png' | grep -qx '16 16' &&
  identify -format '%w %h\n' '$work/stage/usr/share/icons/hicolor/32x32/apps/org.vostrel.Vostrel.png' | grep -qx '32 32'"
check "desktop entry validates" desktop-file-validate --no-hints "$source/resources/org.vostrel.Vostrel.desktop"
check "desktop entry starts the installed program" grep -qx 'Exec=vostrel' "$source/resources/org.vostrel.Vostrel.desktop"
check "metadata validates" appstreamcli validate --no-net "$source/resources/org.vostrel.Vostrel.metainfo.xml"

(cd "$build" && cpack -B "$work/package" >/dev/null 2>&1)
deb=$(ls "$work"/package/vostrel_1.00_*.deb 2>/dev/null | head -n 1)
check "a .deb is built" test -f "$deb"
if [[ -f "$deb" ]]; then
  dpkg-deb -f "$deb" >"$work/control"
  check "package name and version" bash -c "grep -qx 'Package: vostrel' '$work/control' && grep -qx 'Version: 1.00' '$work/control'"
  check "depends on the Qt widgets library" grep -Eq '^Depends:.*libqt6widgets6' "$work/control"
  check "depends on the Chinese font" grep -Eq '^Depends:.*fonts-wqy-zenhei \| fonts-noto-cjk' "$work/control"
  dpkg-deb -c "$deb" | awk '{print $6}' >"$work/contents"
  check "package holds the menu entry" grep -qx './usr/share/applications/org.vostrel.Vostrel.desktop' "$work/contents"
fi

if command -v x86_64-w64-mingw32-windres >/dev/null; then
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
fi

echo "packaging: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
