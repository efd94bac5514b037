#!/usr/bin/env bash
# Installs what is missing, then configures (once) and builds incrementally.
#   scripts/build.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
scripts/install-deps.sh
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build"
