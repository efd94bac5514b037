#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Runs the browser tests: builds the page into build-web/ (or the folder
# given) with scripts/web-build.sh, which builds our Qt for WebAssembly from
# source once where no pack of its series is at hand, then drives the zip in
# Debian's Chromium, Firefox ESR and WebKitGTK (tests/web/run.sh;
# LUKIMO_ENGINES=webkit picks engines).
#   scripts/web-tests.sh [build-dir] [TEST-FILE...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-web}
shift || true

scripts/install-deps.sh web-test

echo "== the browser build in ${LUKIMO_ENGINES:-Chromium, Firefox and WebKit}"
start=$SECONDS
scripts/web-build.sh "$build"
echo "the browser build took $((SECONDS - start)) s"
# The one the build just made, whatever older versions lie beside it.
zip=$(ls -t "$build"/lukimo-*-web.zip | head -n1)
tests/scripts/web-chroot-test.sh
tests/web/run.sh "$zip" "$@"
