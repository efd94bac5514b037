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

for tool in node unzip "${LUKIMO_CHROMIUM:-chromium}"; do
    command -v "$tool" >/dev/null || { echo "the browser tests need $tool" >&2; exit 1; }
done
export LUKIMO_CHROMIUM=$(command -v "${LUKIMO_CHROMIUM:-chromium}")
LUKIMO_WEB_NODE_MODULES=$("$here/node-modules.sh")
export LUKIMO_WEB_NODE_MODULES

work=$(mktemp -d -t lukimo-webtests.XXXXXX)
trap 'rm -rf "$work"' EXIT
unzip -q "$zip" -d "$work/page"
export LUKIMO_WEB_PAGE=$work/page
echo "node $(node --version), $("$LUKIMO_CHROMIUM" --version 2>/dev/null), playwright-core" \
    "$(node -p "require('$LUKIMO_WEB_NODE_MODULES/playwright-core/package.json').version")"
# One file at a time: each starts a browser, and the machine has two cores.
node --test --test-concurrency=1 --test-timeout=300000 --test-reporter=spec "${tests[@]}"
