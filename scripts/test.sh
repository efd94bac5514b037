#!/usr/bin/env bash
# Runs every test headless through CTest; exits non-zero on any failure.
set -euo pipefail
build=${1:-build}
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j2
