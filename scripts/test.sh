#!/usr/bin/env bash
# Installs what is missing, builds Tavola with its tests and runs them.
#   scripts/test.sh          the suite, the browser edition's suite (the core's
#                            tests under node, the page in Chromium), the same
#                            suite under the sanitizers and a bounded fuzz run
#                            of the text readers
#   scripts/test.sh quick    the suite alone, for the edit-test loop
#   scripts/test.sh repeat N [REGEX]
#                            the tests matching REGEX (all by default), each
#                            alone N times in both builds, the second half of
#                            the runs with the other core kept busy; prints
#                            every test's pass count
#   scripts/test.sh clean-room
#                            the whole run above in a fresh Debian 12 root,
#                            on a clone of the committed HEAD (needs root)
# Each run ends with one line: "tests: N passed, N failed".
set -euo pipefail
cd "$(dirname "$0")/.."
usage="usage: $0 [quick | repeat N [REGEX] | clean-room]"
case "${1:-all}" in
  all | quick) mode=${1:-all} ;;
  clean-room) exec scripts/clean_room.sh ;;
  repeat)
    mode=repeat times=${2:-} regex=${3:-.}
    [[ $times =~ ^[1-9][0-9]*$ ]] || { echo "$usage" >&2; exit 2; }
    ;;
  *) echo "$usage" >&2; exit 2 ;;
esac

status=0 logs=() fuzzRuns=0 fuzzFailed=0
# The closing line, over every suite run so far and the fuzz runs.
finish() {
  local passed=0 failed=0 log failedHere total
  for log in "${logs[@]}"; do
    failedHere=0 total=0
    read -r failedHere total < <(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1 \2/p' "$log") || true
    passed=$((passed + total - failedHere)) failed=$((failed + failedHere))
  done
  echo "tests: $((passed + fuzzRuns - fuzzFailed)) passed, $((failed + fuzzFailed)) failed"
  exit "$status"
}

# The same suite under AddressSanitizer and UndefinedBehaviorSanitizer. Every
# report, from a test or from a program a test starts, is written to a file,
# so that one from a child process whose exit status nobody reads fails too.
reports=$PWD/build/asan/sanitizer-reports
asan_ctest() {
  ASAN_OPTIONS="log_path=$reports/asan:detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1" \
  UBSAN_OPTIONS="log_path=$reports/ubsan:print_stacktrace=1:halt_on_error=1" \
    ctest --test-dir build/asan "$@"
}
build_asan() {
  cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVOLA_SANITIZE=ON -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
  cmake --build build/asan -j2
  rm -rf "$reports" && mkdir -p "$reports"
}
# Prints the reports and fails when there are any; starts afresh either way.
no_reports() {
  local clean=true
  if compgen -G "$reports/*" >/dev/null; then
    cat "$reports"/*
    echo "sanitizer reports above" >&2
    clean=false
  fi
  rm -rf "$reports" && mkdir -p "$reports"
  $clean
}

# Runs each test matching $regex alone, $times times, in the build whose ctest
# runner is $1; from the middle run on a spinning process keeps a core busy.
repeat_tests() {
  local runner=$1 label=$2 name names run passed spinner
  mapfile -t names < <($runner -N -R "$regex" | sed -n 's/^ *Test *#[0-9]*: //p')
  for name in "${names[@]}"; do
    passed=0
    for ((run = 1; run <= times; run++)); do
      spinner=
      if ((run > times / 2)); then
        (while :; do :; done) &
        spinner=$!
      fi
      if $runner -R "^${name//./\\.}\$" --output-on-failure >build/logs/repeat.log 2>&1 && no_reports >>build/logs/repeat.log 2>&1; then
        passed=$((passed + 1))
      else
        cp build/logs/repeat.log "build/logs/repeat-$label-$name-$run.log"
      fi
      [ -z "$spinner" ] || { kill "$spinner"; wait "$spinner" 2>/dev/null || true; }
    done
    echo "$label $name: $passed of $times passed"
    repeatPassed=$((repeatPassed + passed)) repeatFailed=$((repeatFailed + times - passed))
  done
}

scripts/setup.sh test
# The package test's package is signed by whoever runs the tests (Debian's
# DEBFULLNAME and DEBEMAIL), or by a test run on the reserved example.org:
# it is checked, never shipped.
maintainer="${DEBFULLNAME:-Tavola test run} <${DEBEMAIL:-test-run@example.org}>"
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
  -DCPACK_DEBIAN_PACKAGE_MAINTAINER="$maintainer" >/dev/null
cmake --build build/test -j2
mkdir -p build/logs
scripts/build_web.sh
(cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
if [ "$mode" = repeat ]; then
  build_asan
  repeatPassed=0 repeatFailed=0
  repeat_tests "ctest --test-dir build/test" plain
  repeat_tests asan_ctest sanitized
  repeat_tests "ctest --test-dir build/web" web
  echo "tests: $repeatPassed passed, $repeatFailed failed (failed runs' logs: build/logs/repeat-*.log)"
  [ "$repeatFailed" -eq 0 ]
  exit
fi
logs+=(build/logs/ctest.log)
ctest --test-dir build/test --output-on-failure -j2 | tee build/logs/ctest.log || status=$?
logs+=(build/logs/ctest-web.log)
ctest --test-dir build/web --output-on-failure -j2 | tee build/logs/ctest-web.log || status=$?
[ "$mode" = quick ] && finish

build_asan
logs+=(build/logs/ctest-asan.log)
asan_ctest --output-on-failure -j2 | tee build/logs/ctest-asan.log || status=$?
no_reports || status=1

# Fuzz the answer reader and the end-time entry for a bounded time each, both
# at once on the two cores. The corpus found so far stays in build/fuzz.
cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVOLA_FUZZ=ON -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build build/fuzz -j2
fuzz() {
  local name=$1
  shift
  mkdir -p "build/fuzz/corpus/$name"
  "build/fuzz/tests/fuzz/${name}_fuzz" -max_total_time=30 -print_final_stats=1 -artifact_prefix=build/fuzz/ "$@" \
    "build/fuzz/corpus/$name" "tests/fuzz/corpus/$name" >"build/fuzz/$name.log" 2>&1
}
fuzz answer & answer=$!
fuzz time_entry -dict=tests/fuzz/time_entry.dict & time_entry=$!
for name in answer time_entry; do
  fuzzRuns=$((fuzzRuns + 1))
  if wait "${!name}"; then
    echo "fuzz $name: $(grep -ah 'stat::number_of_executed_units' "build/fuzz/$name.log" | awk '{print $2}') inputs, no failure"
  else
    tail -n 40 "build/fuzz/$name.log"
    echo "fuzz $name failed; the input that failed is saved as build/fuzz/crash-*" >&2
    status=1 fuzzFailed=$((fuzzFailed + 1))
  fi
done
finish
