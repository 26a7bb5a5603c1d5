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
      kernel32.dll | user32.dll | gdi32.dll | advapi32.dll | imm32.dll | msvcrt.dll | oleacc.dll | ole32.dll | oleaut32.dll) ;;
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
check "resources: icon, version information and manifest" python3 - "$exe" <<'PYTHON'
import sys
data = open(sys.argv[1], "rb").read()
texts = ["ProductName", "Vostrel", "FileVersion", "1.00", "FileDescription", "080404B0"]
missing = [t for t in texts if t.encode("utf-16-le") not in data]
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
