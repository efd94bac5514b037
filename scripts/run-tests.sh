#!/usr/bin/env bash
# Runs every test: the unit tests headless, the end-to-end and package tests
# in a virtual X server they start themselves, and then the unit and
# end-to-end tests again built with AddressSanitizer and
# UndefinedBehaviorSanitizer (a whole session with LeakSanitizer watching).
# Exits non-zero on any failure.
set -euo pipefail
build=${1:-build}
sanitized=${build}-sanitize
export QT_QPA_PLATFORM=offscreen

ctest --test-dir "$build" --output-on-failure -j2

echo "== the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B "$sanitized" -G Ninja -DLUKIMO_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$sanitized"
ASAN_OPTIONS=detect_leaks=1:fast_unwind_on_malloc=0 \
    LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$sanitized" --output-on-failure -j2 -LE package

# The Windows build under wine, when Qt for Windows is at hand; otherwise it
# says that it skips.
scripts/windows-tests.sh "${build}-windows"
