#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Checks first that the Windows toolchain file finds the compiler's runtime
# and the host's Qt wherever they are, which needs CMake alone. Then runs the
# Windows tests under wine when Qt for Windows is at hand: builds into
# build-windows/ (or the folder given), then runs the unit tests, the
# packages, the end-to-end test of the portable program and the installer's
# test, each wine run in a prefix of its own. Without Qt for Windows it says
# so and succeeds: the Linux tests do not depend on it.
#   scripts/windows-tests.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-windows}
echo "== the Windows toolchain file"
tests/windows/toolchain-test.sh
if ! reason=$(scripts/windows-toolchain.sh --check 2>&1); then
    echo "== Windows tests SKIPPED: $reason"
    exit 0
fi
echo "== the Windows build under wine"
scripts/windows-build.sh "$build" --no-packages
ctest --test-dir "$build" --output-on-failure -j2
