#!/usr/bin/env bash
# run.sh and test.sh configure their builds through scripts/configure.sh. Whatever
# one left in a build folder, the other's configure makes the build it needs: tried
# in one folder, run.sh's configure then test.sh's keeps every test on and warnings
# fatal, and the other way round turns them off again. Configure only, no build.
#   configure_test.sh SOURCE_DIR
set -euo pipefail
source=$1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
build=$work/build

passed=0
failed=0
check() {  # NAME ACTUAL EXPECTED
  if [ "$2" = "$3" ]; then echo "PASS $1"; passed=$((passed + 1)); else
    echo "FAIL $1: '$2', expected '$3'"; failed=$((failed + 1)); fi
}
configure() {
  "$source/scripts/configure.sh" "$1" "$build" > "$work/configure.log" 2>&1 ||
    { cat "$work/configure.log"; exit 1; }
}
cached() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
listed_tests() { ctest --test-dir "$build" -N | sed -n 's/^Total Tests: //p'; }

configure program
check "program: tests off" "$(cached TAVLIX_BUILD_TESTS)" OFF
configure suite
check "suite after program: tests on" "$(cached TAVLIX_BUILD_TESTS)" ON
check "suite after program: benchmarks on" "$(cached TAVLIX_BUILD_BENCHMARKS)" ON
check "suite after program: warnings are errors" "$(cached TAVLIX_WARNINGS_AS_ERRORS)" ON
tests=$(listed_tests)
check "suite after program: ctest finds tests" "$([ "${tests:-0}" -gt 0 ] && echo some || echo none)" some
configure program
check "program after suite: tests off" "$(cached TAVLIX_BUILD_TESTS)" OFF
check "program after suite: warnings not fatal" "$(cached TAVLIX_WARNINGS_AS_ERRORS)" OFF
check "program after suite: benchmarks off" "$(cached TAVLIX_BUILD_BENCHMARKS)" OFF

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
