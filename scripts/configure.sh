#!/usr/bin/env bash
# Configures one of the builds that run.sh and test.sh make. Every option the build
# depends on is given, so a build folder becomes the build asked for whatever an
# earlier configure left in its cache.
#   scripts/configure.sh program|suite|sanitize|fuzz BUILD_DIR
#     program   the desktop program and tavlix-cli, optimised, without tests
#     suite     everything with every test and benchmark, optimised as a packager
#               builds it, with warnings as errors
#     sanitize  the core tests under AddressSanitizer and UndefinedBehaviorSanitizer
#     fuzz      the libFuzzer targets, built with clang
set -euo pipefail
kind=$1
build=$2

# Each build names every option; "-DTAVLIX_SANITIZE=" clears what another left.
case "$kind" in
  program)  options=(-DCMAKE_BUILD_TYPE=Release -DTAVLIX_BUILD_GUI=ON -DTAVLIX_BUILD_TESTS=OFF
                     -DTAVLIX_BUILD_BENCHMARKS=OFF -DTAVLIX_BUILD_FUZZERS=OFF -DTAVLIX_SANITIZE=
                     -DTAVLIX_WARNINGS_AS_ERRORS=OFF) ;;
  suite)    options=(-DCMAKE_BUILD_TYPE=Release -DTAVLIX_BUILD_GUI=ON -DTAVLIX_BUILD_TESTS=ON
                     -DTAVLIX_BUILD_BENCHMARKS=ON -DTAVLIX_BUILD_FUZZERS=OFF -DTAVLIX_SANITIZE=
                     -DTAVLIX_WARNINGS_AS_ERRORS=ON) ;;
  sanitize) options=(-DCMAKE_BUILD_TYPE=Debug -DTAVLIX_BUILD_GUI=OFF -DTAVLIX_BUILD_TESTS=ON
                     -DTAVLIX_BUILD_BENCHMARKS=OFF -DTAVLIX_BUILD_FUZZERS=OFF
                     -DTAVLIX_SANITIZE=address,undefined -DTAVLIX_WARNINGS_AS_ERRORS=ON) ;;
  fuzz)     options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DTAVLIX_BUILD_GUI=OFF
                     -DTAVLIX_BUILD_TESTS=OFF -DTAVLIX_BUILD_BENCHMARKS=OFF -DTAVLIX_BUILD_FUZZERS=ON
                     -DTAVLIX_SANITIZE= -DTAVLIX_WARNINGS_AS_ERRORS=ON) ;;
  *) echo "usage: $0 program|suite|sanitize|fuzz BUILD_DIR" >&2; exit 2 ;;
esac

cmake -S "$(dirname "$0")/.." -B "$build" -G Ninja "${options[@]}"
