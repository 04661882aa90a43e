#!/usr/bin/env bash
# Sets up everything on a fresh Debian 12 machine, builds, and starts Tavlix.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/configure.sh program build/release
cmake --build build/release --target tavlix tavlix-cli
exec build/release/program/tavlix
