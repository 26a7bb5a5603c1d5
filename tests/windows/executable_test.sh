#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vostrel authors
# SPDX-License-Identifier: MIT
# The Windows program as a file: it needs nothing but Windows' own DLLs, carries no symbols, and holds its icon,
# version information and manifest. Usage: executable_test.sh BUILD_DIR
set -uo pipefail
exe=${1:?build folder}/app/vostrel.exe
passed=0
failed=0
check() {  # check NAME COMMAND...
  local name=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
    echo "PASS $name"
  else
    failed=$((failed + 1))
    echo "FAIL $name"
  fi
}
objdump=x86_64-w64-mingw32-objdump
command -v $objdump >/dev/null || { echo "FAIL needs $objdump (Debian package binutils-mingw-w64-x86-64)"; exit 1; }
[[ -f $exe ]] || { echo "FAIL no $exe"; exit 1; }

imports=$($objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr '[:upper:]' '[:lower:]' | sort | tr '\n' ' ')
echo "imports: $imports"
only_windows_dlls() {
  local dll
  for dll in $imports; do
    case $dll in
      kernel32.dll | user32.dll | gdi32.dll | advapi32.dll | imm32.dll | msvcrt.dll | oleacc.dll | ole32.dll | oleaut32.dll | shcore.dll) ;;
      *) echo "  not one of Windows' own: $dll"; return 1 ;;
    esac
  done
  [[ -n $imports ]]
}
check "imports only Windows' own DLLs" only_windows_dlls
check "no debugging sections" bash -c "! $objdump -h '$exe' | grep -q '\.debug'"
check "no symbol table" bash -c "$objdump -t '$exe' | grep -q 'SYMBOL TABLE:' && [[ \$($objdump -t '$exe' | grep -c '^\[') -eq 0 ]]"
size=$(stat -c %s "$exe")
check "at most 300 KB ($size bytes)" test "$size" -le 307200
check "a program for the windowed subsystem" bash -c "$objdump -p '$exe' | grep -q 'Subsystem.*(Windows GUI)'"
check "version information: its fields and language" python3 - "$exe" <<'PYTHON'
import struct
import sys
data = open(sys.argv[1], "rb").read()


def node(at):
    """One node of the version tree at `at`: its key, its value's bytes (texts as text) and its children."""
    length, value_length, is_text = struct.unpack_from("<HHH", data, at)
    key_end = at + 6
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[at + 6:key_end].decode("utf-16-le")
    value_at = (key_end + 2 + 3) & ~3
    size = value_length * 2 if is_text else value_length
    value = data[value_at:value_at + size]
    value = value.decode("utf-16-le").rstrip("\0") if is_text else value
    children, child = [], (value_at + size + 3) & ~3
    while child < at + length:
        children.append(node(child))
        child = (child + children[-1][3] + 3) & ~3
    return key, value, children, length


root = node(data.index("VS_VERSION_INFO".encode("utf-16-le")) - 6)
fixed = struct.unpack_from("<13I", root[1])
strings = {key: value for block in root[2] if block[0] == "StringFileInfo" for table in block[2]
           for key, value, _, _ in table[2]}
tables = [table[0] for block in root[2] if block[0] == "StringFileInfo" for table in block[2]]
translation = [struct.unpack("<HH", value) for block in root[2] if block[0] == "VarFileInfo"
               for key, value, _, _ in block[2] if key == "Translation"]
seen = {"signature": hex(fixed[0]), "file version": (fixed[2] >> 16, fixed[2] & 0xFFFF, fixed[3] >> 16),
        "product version": (fixed[4] >> 16, fixed[4] & 0xFFFF), "tables": tables, "translation": translation,
        **{key: strings.get(key) for key in ("ProductName", "FileDescription", "ProductVersion", "FileVersion")}}
wanted = {"signature": "0xfeef04bd", "file version": (1, 0, 0), "product version": (1, 0), "tables": ["080404B0"],
          "translation": [(0x0804, 1200)], "ProductName": "Vostrel", "FileDescription": "Vostrel",
          "ProductVersion": "1.00", "FileVersion": "1.00"}
wrong = {key: seen[key] for key in wanted if seen[key] != wanted[key]}
print(f"  not as wanted: {wrong}" if wrong else "  all as wanted")
sys.exit(1 if wrong else 0)
PYTHON
check "resources: icon and manifest" python3 - "$exe" <<'PYTHON'
import sys
data = open(sys.argv[1], "rb").read()
missing = []
for needed in (b"PerMonitorV2", b"Microsoft.Windows.Common-Controls", b'level="asInvoker"'):
    if needed not in data:
        missing.append(needed.decode())
# The icon directory names the 16 to 64 pixel images in 16 colours and the 256 pixel one (written 0) in true
# colour, a PNG.
for side, colours, bits in ((16, 16, 4), (32, 16, 4), (48, 16, 4), (64, 16, 4), (0, 0, 32)):
    if bytes([side, side, colours, 0, 1, 0, bits, 0]) not in data:
        missing.append(f"the {side or 256} pixel icon")
if b"\x89PNG\r\n\x1a\n" not in data:
    missing.append("the PNG icon")
print("  missing: " + ", ".join(missing) if missing else "  all there")
sys.exit(1 if missing else 0)
PYTHON
echo "executable: $passed passed, $failed failed, $(stat -c %s "$exe") bytes"
[[ $failed -eq 0 ]]
