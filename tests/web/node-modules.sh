#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Installs the packages pinned by package-lock.json (puppeteer-core for
# Chromium and Firefox, selenium-webdriver for WebKit, playwright-core for the
# web benchmark) into the user's cache, outside the source tree, once per
# lock file, and prints the node_modules folder that holds them.
#   tests/web/node-modules.sh
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
command -v npm >/dev/null || { echo "the browser tests need npm" >&2; exit 1; }
# selenium-webdriver 4.46 asks for node 20 (Debian 12's own is 18); the
# newer puppeteer-core 25 and selenium-webdriver 4.54 need node 22.
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
    (cd "$scratch" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --ignore-scripts --no-audit --no-fund --loglevel=error) >&2
    echo "npm ci took $((($(date +%s%N) - start) / 1000000)) ms" >&2
    touch "$scratch/.installed"
    # Another checkout may have installed the same lock file meanwhile.
    mv -T "$scratch" "$modules" 2>/dev/null || [ -f "$modules/.installed" ]
fi
echo "$modules/node_modules"
