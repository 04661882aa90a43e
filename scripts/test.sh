#!/usr/bin/env bash
# Sets up everything on a fresh Debian 12 machine, builds, and runs every test: the
# full suite (widget tests without a display, the program itself under Xvfb), the core
# tests again under AddressSanitizer and UndefinedBehaviorSanitizer, and a short run of
# the fuzz target. Benchmarks are built here, not timed.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

scripts/install-deps.sh

# Its own build folders: run.sh's build/release stays as it is.
echo "== Build and test"
scripts/configure.sh suite build/test
cmake --build build/test -j "$jobs"
ctest --test-dir build/test --output-on-failure --no-tests=error -j "$jobs"

echo "== Core tests under AddressSanitizer + UndefinedBehaviorSanitizer"
scripts/configure.sh sanitize build/sanitize
cmake --build build/sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/sanitize --output-on-failure --no-tests=error -j "$jobs" -L core

echo "== Fuzz targets, short runs"
scripts/configure.sh fuzz build/fuzz
cmake --build build/fuzz -j "$jobs" --target tavlix-fuzz-engine tavlix-fuzz-settings
# Each target grows a copy of its own seeds; the committed corpora stay as they are.
corpora=$(mktemp -d)
trap 'rm -rf "$corpora"' EXIT
fuzz() {
  local target=$1 seeds=$2 seconds=$3
  mkdir "$corpora/$target"
  cp "$seeds"/* "$corpora/$target"/
  build/fuzz/fuzz/"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    "$corpora/$target"
  echo "Fuzz run of $target: $seconds s clean"
}
fuzz tavlix-fuzz-engine fuzz/corpus 30
fuzz tavlix-fuzz-settings fuzz/corpus-settings 30
