# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Sourced by the scripts that run Windows programs under wine.

# Wine's own chatter and its first-start dialogs (Mono, Gecko) stay out of
# the tests' way.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# create_wine_prefix DIR: a new wine prefix in DIR, which must not exist.
# Never the user's ~/.wine: every test run brings its own.
create_wine_prefix() {
    mkdir -p "$(dirname "$1")"
    WINEPREFIX=$1 wineboot -i >/dev/null 2>&1
    WINEPREFIX=$1 wineserver -w
}

# remove_wine_prefix DIR: ends the prefix's wine server and deletes it.
remove_wine_prefix() {
    [ -d "$1" ] || return 0
    WINEPREFIX=$1 wineserver -k 2>/dev/null || true
    WINEPREFIX=$1 wineserver -w 2>/dev/null || true
    rm -rf "$1"
}

# windows_path UNIX-PATH: the path as a Windows program sees it, on the
# drive Z: that wine maps to the root.
windows_path() {
    local path
    path=$(realpath -m "$1")
    echo "Z:${path//\//\\}"
}
