#!/usr/bin/env bash
# Sets up everything on a fresh Debian 12 machine, builds, and starts Tavlix.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTAVLIX_BUILD_TESTS=OFF -DTAVLIX_BUILD_BENCHMARKS=OFF
cmake --build build/release --target tavlix tavlix-cli
exec build/release/program/tavlix
