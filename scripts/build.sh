#!/usr/bin/env bash
# Installs what is missing, then configures (once) and builds incrementally:
# everything, or only the targets named.
#   scripts/build.sh [build-dir [target...]]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
shift || true
scripts/install-deps.sh
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" ${1:+--target "$@"}
