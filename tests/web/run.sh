#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Runs the browser tests against a built page in every engine a phone runs:
# Debian's Chromium, Firefox ESR and WebKitGTK (LUKIMO_ENGINES=firefox,webkit
# runs only those). The zip is unpacked into a folder of its own; each test
# serves it from a sub-folder on a free port and drives a fresh browser
# through puppeteer-core or selenium-webdriver, installed from
# package-lock.json into the user's cache (outside the source tree) once per
# lock file. WebKitGTK has no headless mode: it gets an Xvfb display of this
# run's own, and the Japanese locale generated into this run's folder.
#   tests/web/run.sh ZIP [TEST-FILE...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
zip=$(realpath "$1")
shift
[ -f "$zip" ] || { echo "no page to test: $zip" >&2; exit 1; }
tests=("$@")
[ ${#tests[@]} -gt 0 ] || tests=("$here"/*.test.mjs)
export LUKIMO_ENGINES=${LUKIMO_ENGINES:-chromium,firefox,webkit}

export LUKIMO_CHROMIUM=${LUKIMO_CHROMIUM:-/usr/bin/chromium}
export LUKIMO_FIREFOX=${LUKIMO_FIREFOX:-/usr/bin/firefox-esr}
export LUKIMO_WEBKIT_DRIVER=${LUKIMO_WEBKIT_DRIVER:-/usr/bin/WebKitWebDriver}
export LUKIMO_MINIBROWSER=${LUKIMO_MINIBROWSER:-/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser}
need=(node unzip)
versions="node $(node --version)"
[[ ,$LUKIMO_ENGINES, != *,chromium,* ]] || need+=("$LUKIMO_CHROMIUM")
[[ ,$LUKIMO_ENGINES, != *,firefox,* ]] || need+=("$LUKIMO_FIREFOX")
[[ ,$LUKIMO_ENGINES, != *,webkit,* ]] || need+=("$LUKIMO_WEBKIT_DRIVER" "$LUKIMO_MINIBROWSER" Xvfb xdotool localedef)
for tool in "${need[@]}"; do
    command -v "$tool" >/dev/null || { echo "the browser tests need $tool" >&2; exit 1; }
done
LUKIMO_WEB_NODE_MODULES=$("$here/node-modules.sh")
export LUKIMO_WEB_NODE_MODULES

work=$(mktemp -d -t lukimo-webtests.XXXXXX)
XVFB_PID=
trap 'kill $XVFB_PID 2>/dev/null || true; rm -rf "$work"' EXIT
unzip -q "$zip" -d "$work/page"
export LUKIMO_WEB_PAGE=$work/page
for engine in ${LUKIMO_ENGINES//,/ }; do
    case $engine in
    chromium) versions+=", $("$LUKIMO_CHROMIUM" --version 2>/dev/null)" ;;
    firefox) versions+=", $("$LUKIMO_FIREFOX" --version 2>/dev/null)" ;;
    webkit)
        versions+=", WebKitGTK $(dpkg-query -W -f='${Version}' webkit2gtk-driver 2>/dev/null || echo '?')"
        source "$here/../../scripts/xvfb.sh"
        start_xvfb 1600x1000x24
        # localedef warns about the definition and still writes the locale.
        export LUKIMO_LOCALES=$work/locales
        mkdir -p "$LUKIMO_LOCALES"
        localedef -i ja_JP -f UTF-8 "$LUKIMO_LOCALES/ja_JP.UTF-8" >/dev/null 2>&1 ||
            [ -f "$LUKIMO_LOCALES/ja_JP.UTF-8/LC_CTYPE" ] ||
            { echo "could not generate the ja_JP.UTF-8 locale" >&2; exit 1; }
        ;;
    *) echo "no such engine: $engine (chromium, firefox, webkit)" >&2; exit 2 ;;
    esac
done
modules=$LUKIMO_WEB_NODE_MODULES
echo "$versions; puppeteer-core $(node -p "require('$modules/puppeteer-core/package.json').version")," \
    "selenium-webdriver $(node -p "require('$modules/selenium-webdriver/package.json').version")"
# One file at a time, one browser at a time: the machine has two cores.
node --test --test-concurrency=1 --test-timeout=300000 --test-reporter=spec "${tests[@]}"
