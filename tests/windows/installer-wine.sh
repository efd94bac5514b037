#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# The Windows installer in a fresh wine prefix of the test's own: it speaks
# Japanese under a Japanese locale, installs silently for the user alone (nothing under Program Files, nothing for all
# users), puts a Start-menu shortcut in place, the program started from that
# shortcut runs in its own folder (under a Japanese locale its title is the
# catalogue's), and the uninstaller leaves no file and no registry key of it
# behind.
#   installer-wine.sh INSTALLER.exe
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
installer=$(realpath "$1")
source "$here/../../scripts/xvfb.sh"
source "$here/wine-lib.sh"

work=$(mktemp -d -t lukimo-wine-installer.XXXXXX)
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    remove_wine_prefix "$work/prefix"
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' HUP INT TERM
fail() { echo "FAIL: $*"; exit 1; }

create_wine_prefix "$work/prefix"
export WINEPREFIX=$work/prefix
start_xvfb
drive=$WINEPREFIX/drive_c
user_dir=$drive/users/$(id -un)
programs="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
folder=$user_dir/AppData/Local/Programs/Lukimo

# What the prefix holds, less Windows itself and the temporary folders, where
# the uninstaller runs from a copy of itself that Windows removes at the next
# start.
contents() {
    (cd "$drive" && find . -path ./windows -prune -o -path './users/*/Temp' -prune \
        -o -path './users/*/AppData/Local/Temp' -prune -o -print | sort)
}
# Under a Japanese locale the installer's own texts are Japanese. Wine takes
# its language from the C library's locale, which is built here for it.
mkdir "$work/locale"
localedef -i ja_JP -f UTF-8 "$work/locale/ja_JP.UTF-8" 2>/dev/null || [ -d "$work/locale/ja_JP.UTF-8" ]
LOCPATH=$work/locale LANG=ja_JP.UTF-8 wine "$installer" &
pid=$!
window=$(wait_for_search "$pid" --classname "^$(basename "$installer")\$") ||
    fail "the installer shows no window"
title=$(xdotool getwindowname "$window")
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=
wineserver -k
wineserver -w
[ "$title" = "Lukimo セットアップ" ] || fail "under Japanese the installer is titled \"$title\""

contents >"$work/before"

wine "$installer" /S
wineserver -w
for file in lukimo.exe lukimosound.dll lukimo_ja.qm html/index.html wav/check.wav \
    Qt6Core.dll platforms/qwindows.dll styles/qwindowsvistastyle.dll Uninstall.exe; do
    [ -f "$folder/$file" ] || fail "$file is not in the user's program folder"
done
[ -f "$programs/Lukimo/Lukimo.lnk" ] || fail "no Start-menu shortcut for the user"
[ ! -e "$drive/Program Files/Lukimo" ] || fail "installed under Program Files"
[ ! -e "$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Lukimo" ] ||
    fail "a shortcut for all users"
grep -q 'Uninstall\\\\Lukimo\]' "$WINEPREFIX/user.reg" ||
    fail "not registered for removal under the user's Apps"

# Started through its shortcut, as from the Start menu: it finds its
# catalogue only when it runs in its own folder. The shortcut starts it apart
# from wine's start command, which returns at once.
LANG=ja_JP.UTF-8 wine start \
    "C:\\users\\$(id -un)\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Lukimo\\Lukimo.lnk"
window=
for _ in $(seq 400); do
    window=$(xdotool search --onlyvisible --classname "^lukimo.exe$" 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    sleep 0.05
done
[ -n "$window" ] || fail "the shortcut started no program"
title=$(xdotool getwindowname "$window")
[ "$title" = ルキモ ] || fail "started from its shortcut the title is \"$title\", not ルキモ"
# With no window manager wine focuses a window when it is clicked.
xdotool mousemove --window "$window" 100 30 click 1
sleep 0.3
xdotool key ctrl+q
# The prefix's wine server ends once its last program has.
timeout 60 wineserver -w || fail "the program started from its shortcut did not end on Ctrl+Q"

wine "$folder/Uninstall.exe" /S
wineserver -w
contents >"$work/after"
if ! diff -u "$work/before" "$work/after" >"$work/left"; then
    sed 's/^/  /' "$work/left" | head -30
    fail "the uninstaller left these behind"
fi
if grep -i lukimo "$WINEPREFIX/user.reg" "$WINEPREFIX/system.reg" >"$work/keys"; then
    sed 's/^/  /' "$work/keys" | head -10
    fail "the uninstaller left registry entries behind"
fi
echo "installer under wine: Japanese under Japanese, silent per-user install with a Start-menu shortcut, started" \
    "from the shortcut in its own folder (ルキモ), removed without a trace"
