#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Runs the browser tests against a built page: the zip is unpacked into a
# folder of its own, each test serves it from a sub-folder on a free port and
# drives Debian's Chromium with a fresh profile through playwright-core, which
# is installed from package-lock.json into the user's cache (outside the
# source tree) once per lock file.
#   tests/web/run.sh ZIP [TEST-FILE...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
zip=$(realpath "$1")
shift
[ -f "$zip" ] || { echo "no page to test: $zip" >&2; exit 1; }
tests=("$@")
[ ${#tests[@]} -gt 0 ] || tests=("$here"/*.test.mjs)

for tool in node npm unzip "${LUKIMO_CHROMIUM:-chromium}"; do
    command -v "$tool" >/dev/null || { echo "the browser tests need $tool" >&2; exit 1; }
done
export LUKIMO_CHROMIUM=$(command -v "${LUKIMO_CHROMIUM:-chromium}")
# playwright-core asks for node 20 (Debian 12's own is 18).
node_major=$(node -p 'process.versions.node.split(".")[0]')
[ "$node_major" -ge 20 ] || { echo "the browser tests need node 20 or later, not $(node --version)" >&2; exit 1; }

cache=${XDG_CACHE_HOME:-$HOME/.cache}/lukimo
sum=$(cat "$here/package.json" "$here/package-lock.json" | sha256sum | cut -c1-16)
modules=$cache/web-tests-node-$sum
if [ ! -f "$modules/.installed" ]; then
    mkdir -p "$cache"
    scratch=$(mktemp -d "$cache/npm.XXXXXX")
    trap 'rm -rf "$scratch"' EXIT
    cp "$here/package.json" "$here/package-lock.json" "$scratch/"
    start=$(date +%s%N)
    (cd "$scratch" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)
    echo "npm ci took $((($(date +%s%N) - start) / 1000000)) ms"
    touch "$scratch/.installed"
    # Another checkout may have installed the same lock file meanwhile.
    mv -T "$scratch" "$modules" 2>/dev/null || [ -f "$modules/.installed" ]
    rm -rf "$scratch"
fi
export LUKIMO_WEB_NODE_MODULES=$modules/node_modules

work=$(mktemp -d -t lukimo-webtests.XXXXXX)
trap 'rm -rf "$work"' EXIT
unzip -q "$zip" -d "$work/page"
export LUKIMO_WEB_PAGE=$work/page
echo "node $(node --version), $("$LUKIMO_CHROMIUM" --version 2>/dev/null), playwright-core" \
    "$(node -p "require('$LUKIMO_WEB_NODE_MODULES/playwright-core/package.json').version")"
# One file at a time: each starts a browser, and the machine has two cores.
node --test --test-concurrency=1 --test-timeout=300000 --test-reporter=spec "${tests[@]}"
