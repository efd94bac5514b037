#!/usr/bin/env bash
# Builds Lukimo (installing what it needs) and runs every test: the unit
# tests headless, the end-to-end and package tests in servers they start
# themselves, then the same built with AddressSanitizer and
# UndefinedBehaviorSanitizer, then the fuzz targets' regression run, then the
# Windows and the browser builds' tests
# where their toolchains are at hand, and last checks that every program the
# run executed was installed by a script. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh test
# The rest runs watched: every program it executes must come from a package
# an install step names, or a new machine would lack it.
if [ -z "${LUKIMO_EXEC_AUDIT:-}" ]; then
    exec python3 scripts/exec-audit.py --log build/exec-audit.log -- "$0" "$@"
fi
cmake --workflow --preset default
echo "== the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --workflow --preset sanitize
# Every reader of outside input fuzzed with libFuzzer: each target's corpus,
# then a short search with a fixed seed (scripts/fuzz.sh SECONDS searches
# longer).
scripts/fuzz.sh --ci
# The Windows build under wine, where Qt for Windows is at hand; it says so
# plainly when it skips.
scripts/windows-tests.sh build-windows
# The browser build in Chromium, where Qt for WebAssembly is at hand; it says
# so plainly when it skips.
scripts/web-tests.sh build-web
