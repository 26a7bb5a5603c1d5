#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vostrel authors
# SPDX-License-Identifier: MIT
# Installs what is missing, builds, and runs the whole test suite through CTest: every unit and offscreen case,
# the package checks, the desktop cases under Xvfb and the exhaustive check of all 2^32 values (release build);
# the Windows program cross-built with mingw-w64, its GoogleTest suites and its desktop cases under Wine; in one
# clang build, the same unit and offscreen cases under AddressSanitizer and UndefinedBehaviorSanitizer and the
# keystroke fuzzer for a bounded time; the style check; and a second build of the packages in another folder,
# which must give the same bytes; and, at the end, that no process it started is left running. VOSTREL_EXHAUSTIVE=0
# leaves the exhaustive check out, counted as skipped.
# Counts from CTest's JUnit files, prints how long each step took, and ends with one line: "N passed, N failed,
# N skipped".
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
run_started=$EPOCHREALTIME

# How long each step took, for the table at the end.
timings=()
note_time() {  # note_time NAME STARTED: the step NAME took from STARTED (an EPOCHREALTIME) until now
  local micro=$((${EPOCHREALTIME/[.,]/} - ${2/[.,]/}))
  timings+=("$(printf '%5d.%d s  %s' $((micro / 1000000)) $((micro % 1000000 / 100000)) "$1")")
}

started=$EPOCHREALTIME
scripts/deps.sh || { echo "0 passed, 1 failed"; exit 1; }
note_time "installing what is missing" "$started"
# Every build of this run stamps what it makes with the last commit's time, so that the same sources give the
# same bytes.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 315532800)}
export SOURCE_DATE_EPOCH
# Every process this run starts inherits the mark, by which the end of the run finds any left behind.
export VOSTREL_TEST_RUN="$$.$EPOCHSECONDS"

jobs=$(nproc)
fuzz_seconds=${VOSTREL_FUZZ_SECONDS:-30}
passed=0
failed=0
skipped=0
said=()

fail() {  # fail WHAT: one failure, with one line saying what is missing or broke
  failed=$((failed + 1))
  said+=("FAILED $1")
}

# Runs a command as one check.
check() {
  local name=$1 started=$EPOCHREALTIME status=0
  shift
  echo "== $name"
  if "$@"; then passed=$((passed + 1)); else
    status=1
    fail "$name"
  fi
  note_time "$name" "$started"
  return $status
}

build() {  # build DIR [cmake options...]
  local dir=$1
  shift
  cmake -S . -B "$dir" "$@" >/dev/null && cmake --build "$dir" -j "$jobs"
}

# Counts one CTest run's cases from its JUnit file; with SUITES, whole GoogleTest suites from their own reports.
count_results() {  # count_results NAME JUNIT_FILE [SUITES]
  local counts
  mapfile -t counts < <(python3 scripts/junit_counts.py "$2" ${3:+--suites "$3"} exhaustive_conversion)
  read -r p f s <<<"${counts[0]:-0 1 0}"
  passed=$((passed + p))
  failed=$((failed + f))
  skipped=$((skipped + s))
  [[ ${#counts[@]} -gt 1 ]] && said+=("${counts[@]:1}")
  [[ $((p + f + s)) -gt 0 ]] || fail "$1: CTest ran no case"
}

# Runs CTest in a build folder and counts its cases.
run_ctest() {  # run_ctest NAME DIR [ctest options...]
  local name=$1 dir=$2
  shift 2
  local results=$root/$dir/results.xml suites=
  rm -f "$results"
  # A build for another system runs each GoogleTest suite at once, reporting its cases in gtest/.
  if [[ -d $dir/gtest ]]; then
    suites=$root/$dir/gtest
    rm -f "$suites"/*.xml
  fi
  echo "== $name"
  local started=$EPOCHREALTIME
  ctest --test-dir "$dir" -j "$jobs" --output-on-failure --output-junit "$results" "$@"
  count_results "$name" "$results" "$suites"
  note_time "$name" "$started"
}

# The check of all 2^32 values keeps both cores busy for minutes. It runs beside the rest at the lowest
# priority, so it mostly takes the processor time that the builds, the desktop cases and the fuzzer leave over;
# the run waits for it at the end, and stops it if the run itself is stopped.
exhaustive_pid=
exhaustive_started=
exhaustive_log=$root/build/release/exhaustive.log
exhaustive_results=$root/build/release/exhaustive.xml
start_exhaustive() {
  rm -f "$exhaustive_results"
  exhaustive_started=$EPOCHREALTIME
  # Not in a session of its own: the kernel would then share the cores fairly between the two sessions, whatever
  # the priority, and starve the desktop cases.
  nice -n 19 ctest --test-dir build/release -L exhaustive -V --output-junit "$exhaustive_results" \
    >"$exhaustive_log" 2>&1 &
  exhaustive_pid=$!
  # CTest and the check it runs.
  trap 'pkill -P "$exhaustive_pid" 2>/dev/null; kill "$exhaustive_pid" 2>/dev/null' EXIT
}
finish_exhaustive() {
  echo "== exhaustive: every 32-bit value against the oracle"
  local waited=$EPOCHREALTIME
  wait "$exhaustive_pid"
  note_time "waiting for the exhaustive check at the end" "$waited"
  note_time "the exhaustive check, beside the steps above" "$exhaustive_started"
  trap - EXIT
  # CTest's verbose lines carry the test's number; the check's own lines are the ones it printed.
  sed -n 's/^[0-9]*: \(exhaustive: .*\|-\?[0-9]*: .*\)$/\1/p' "$exhaustive_log"
  count_results "exhaustive check" "$exhaustive_results"
}

# A suite that CTest did not list at all is a failure, not a silent skip.
require_cases() {  # require_cases DIR LABEL WHY
  local listed
  listed=$(ctest --test-dir "$1" -N -L "$2" | sed -n 's/^Total Tests: //p')
  [[ ${listed:-0} -gt 0 ]] || {
    fail "no $2 cases in $1: $3"
    return 1
  }
}

command -v python3 >/dev/null || fail "counting the results: python3 is missing (Debian package python3)"
# The exhaustive check is built and started first, so that it runs beside the rest of the release build too.
release_build() {
  cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release >/dev/null || return 1
  if [[ ${VOSTREL_EXHAUSTIVE:-1} == 0 ]]; then
    skipped=$((skipped + 1))
    said+=("SKIPPED exhaustive check: VOSTREL_EXHAUSTIVE=0")
  elif require_cases build/release exhaustive "the exhaustive check was not configured" &&
    cmake --build build/release -j "$jobs" --target exhaustive_conversion; then
    start_exhaustive
  fi
  cmake --build build/release -j "$jobs"
}
if check "release build" release_build; then
  require_cases build/release desktop "the desktop tests need X11, libSM and libICE at configure time"
  require_cases build/release packaging "the package checks were not configured"
  run_ctest "release: unit, offscreen, package and desktop cases" build/release -LE exhaustive
fi

# The Windows program, cross-built with mingw-w64 and run under Wine in prefixes of the tests' own, made afresh.
windows_build() {
  build build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DVOSTREL_BENCH=OFF
}
stop_wine() {  # stop_wine PREFIX...: ends every Wine process of the prefixes
  local prefix
  for prefix; do
    [[ -d $prefix ]] && WINEPREFIX=$root/$prefix timeout 20 wineserver -k 2>/dev/null
  done
  return 0
}
fresh_wine_prefixes() {
  stop_wine build/windows/wineprefix-*/
  rm -rf build/windows/wineprefix-*/
}
if check "Windows build (mingw-w64)" windows_build; then
  require_cases build/windows windows "the Windows desktop cases need Python 3 and a cross build"
  fresh_wine_prefixes
  run_ctest "Windows under Wine: GoogleTest suites, the executable and the desktop cases" build/windows
  stop_wine build/windows/wineprefix-*/
fi

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0
fuzz() {
  local corpus log
  corpus=$(mktemp -d)
  log=$(mktemp)
  cp fuzz/corpus/* "$corpus"/
  build/sanitize/fuzz/fuzz_keystrokes -max_total_time="$fuzz_seconds" -print_final_stats=1 "$corpus" >"$log" 2>&1
  local status=$?
  tail -n 3 "$log" | grep -v '^stat::'
  local runs
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  echo "fuzz: ${runs:-no count of} inputs in ${fuzz_seconds} s"
  rm -rf "$corpus" "$log"
  [[ $status -eq 0 && -n $runs ]]
}
# One clang build for both: the unit and offscreen cases under AddressSanitizer and UndefinedBehaviorSanitizer,
# and the keystroke fuzzer (libFuzzer). -O1 with line tables only: what the sanitizers need for exact reports, at
# half the build time of -O2 -g.
sanitizer_build() {
  CC=clang CXX=clang++ cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" -DVOSTREL_SANITIZE=ON -DVOSTREL_FUZZ=ON \
    -DVOSTREL_BENCH=OFF >/dev/null && cmake --build build/sanitize -j "$jobs" --target unit_tests fuzz_keystrokes
}
if ! command -v clang++ >/dev/null; then
  fail "sanitizers and fuzzing: clang++ is missing (Debian package clang)"
elif check "sanitizer and fuzzer build (clang)" sanitizer_build; then
  run_ctest "ASan and UBSan: unit and offscreen cases" build/sanitize -L unit
  check "fuzz keystrokes for ${fuzz_seconds}s" fuzz
fi
unset ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS

# The packages once more, built later in another folder: the same bytes, or the first file that differs.
check "reproducible: vostrel.exe, the zip, the installer and the .deb built again elsewhere" \
  tests/reproducible_test.sh build/release build/windows build/reproduce

if ! command -v clang-format >/dev/null; then
  fail "style: clang-format is missing (Debian package clang-format)"
else
  check "clang-format" bash -c 'git ls-files "*.cpp" "*.h" | xargs clang-format --dry-run --Werror'
fi

[[ -n $exhaustive_pid ]] && finish_exhaustive

# A test ends every process it starts: none may be left running, not a session bus nor a window manager.
check "no process left behind" python3 scripts/leftover_processes.py "VOSTREL_TEST_RUN=$VOSTREL_TEST_RUN"

echo
echo "== time per step"
note_time "the whole run" "$run_started"
printf '%s\n' "${timings[@]}"
echo
[[ ${#said[@]} -eq 0 ]] || printf '%s\n' "${said[@]}"
echo "$passed passed, $failed failed, $skipped skipped"
[[ $failed -eq 0 ]]
