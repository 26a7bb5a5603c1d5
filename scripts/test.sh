#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite: unit and offscreen tests, the same under
# AddressSanitizer and UndefinedBehaviorSanitizer, the fuzz targets for a bounded time, the desktop tests under
# Xvfb, and the style check. Ends with one line: "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/deps.sh || { echo "0 passed, 1 failed"; exit 1; }

jobs=$(nproc)
fuzz_seconds=${VOSTREL_FUZZ_SECONDS:-30}
passed=0
failed=0
failures=()

record() {  # record NAME PASSED FAILED
  passed=$((passed + $2))
  failed=$((failed + $3))
  [[ $3 -eq 0 ]] || failures+=("$1")
}

# Runs a command as one check.
check() {
  local name=$1
  shift
  echo "== $name"
  if "$@"; then record "$name" 1 0; else record "$name" 0 1; fi
}

# Runs ctest in a build folder and counts its tests one by one.
run_ctest() {
  local name=$1 dir=$2 log
  log=$(mktemp)
  echo "== $name"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" 2>&1 | tee "$log"
  local total failing
  total=$(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "$log" | tail -n 1)
  failing=$(sed -n 's/.*, \([0-9]*\) tests failed out of.*/\1/p' "$log" | tail -n 1)
  if [[ -z "$total" ]]; then
    record "$name" 0 1
  else
    record "$name" $((total - failing)) "$failing"
  fi
  rm -f "$log"
}

build() {  # build DIR [cmake options...]
  local dir=$1
  shift
  cmake -S . -B "$dir" "$@" >/dev/null && cmake --build "$dir" -j "$jobs"
}

if check "build" build build/release -DCMAKE_BUILD_TYPE=Release; then
  run_ctest "unit and offscreen tests" build/release
fi

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0
if check "sanitizer build" build build/sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVOSTREL_SANITIZE=ON \
  -DVOSTREL_BENCH=OFF; then
  run_ctest "unit and offscreen tests under ASan and UBSan" build/sanitize
fi
unset ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS

fuzz() {
  local corpus
  corpus=$(mktemp -d)
  cp fuzz/corpus/* "$corpus"/
  build/fuzz/fuzz/fuzz_keystrokes -max_total_time="$fuzz_seconds" -print_final_stats=0 "$corpus" 2>&1 | tail -n 3
  local status=${PIPESTATUS[0]}
  rm -rf "$corpus"
  return "$status"
}
if check "fuzz build" env CC=clang CXX=clang++ bash -c "$(declare -f build); build build/fuzz \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVOSTREL_CORE_ONLY=ON -DVOSTREL_FUZZ=ON -DVOSTREL_BENCH=OFF"; then
  check "fuzz keystrokes for ${fuzz_seconds}s" fuzz
fi

if [[ -x tests/desktop/run.sh && -x build/release/app/vostrel ]]; then
  echo "== desktop tests"
  desktop_log=$(mktemp)
  tests/desktop/run.sh build/release 2>&1 | tee "$desktop_log"
  desktop=$(grep -E '^desktop total: [0-9]+ passed, [0-9]+ failed' "$desktop_log" | tail -n 1)
  if [[ -n "$desktop" ]]; then
    read -r dp df < <(sed -E 's/desktop total: ([0-9]+) passed, ([0-9]+) failed.*/\1 \2/' <<<"$desktop")
    record "desktop tests" "$dp" "$df"
  else
    record "desktop tests" 0 1
  fi
  rm -f "$desktop_log"
fi

check "clang-format" bash -c 'git ls-files "*.cpp" "*.h" | xargs clang-format --dry-run --Werror'

echo
[[ ${#failures[@]} -eq 0 ]] || echo "failing: ${failures[*]}"
echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
