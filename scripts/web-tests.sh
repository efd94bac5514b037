#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Runs the browser tests when Qt for WebAssembly is at hand: builds the page
# into build-web/ (or the folder given) with scripts/web-build.sh, then
# drives the zip in Debian's Chromium, Firefox ESR and WebKitGTK
# (tests/web/run.sh; LUKIMO_ENGINES=webkit picks engines). Without Qt for
# WebAssembly it says so and succeeds: the other tests do not depend on it.
#   scripts/web-tests.sh [build-dir] [TEST-FILE...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-web}
shift || true
name=qt-6.8.2-wasm
tarball=${LUKIMO_QT_WASM_TARBALL:-../shared/toolchains/$name.tar.xz}
built=${XDG_CACHE_HOME:-$HOME/.cache}/lukimo/$name-from-source
if [ ! -f "$tarball" ] && [ ! -f "$built/.built" ]; then
    echo "== Web tests SKIPPED: no Qt for WebAssembly: neither $tarball nor a Qt built" \
        "from source in $built (scripts/web-build.sh builds one, in about 15 minutes)"
    exit 0
fi

scripts/install-deps.sh web-test

echo "== the browser build in ${LUKIMO_ENGINES:-Chromium, Firefox and WebKit}"
start=$SECONDS
scripts/web-build.sh "$build"
echo "the browser build took $((SECONDS - start)) s"
# The one the build just made, whatever older versions lie beside it.
zip=$(ls -t "$build"/lukimo-*-web.zip | head -n1)
tests/scripts/web-chroot-test.sh
tests/web/run.sh "$zip" "$@"
