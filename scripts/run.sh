#!/usr/bin/env bash
# Sets up everything on a fresh Debian 12 machine, builds, and starts Tavlix.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build/release --target tavlix-cli
exec build/release/src/cli/tavlix-cli solve 3 3 8 8
