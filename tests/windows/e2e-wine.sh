#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# End-to-end test of the Windows program under wine, with Qt's real Windows
# platform plugin drawing into an X server of the test's own (Xvfb), in a
# wine prefix of its own. The portable zip holds no more than 12 MB and all
# the program needs, every DLL that it and its plugins import among it, and
# the licence and source of each part:
# started from the zip's folder, its window is titled
# "Lukimo" and rolls, a left click stops it and the stop's trace line
# reaches a redirected output, a right click opens the settings, Ctrl+Q ends
# it with exit status 0. Under a Japanese locale the title is the
# catalogue's. A reader that goes away, one that never reads and a closed
# output neither stop nor freeze it.
#   e2e-wine.sh PORTABLE.zip
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
zip=$(realpath "$1")
source "$here/../../scripts/xvfb.sh"
source "$here/wine-lib.sh"

work=$(mktemp -d -t lukimo-wine-e2e.XXXXXX)
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    exec 3>&- 2>/dev/null || true
    remove_wine_prefix "$work/prefix"
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' HUP INT TERM
fail() { echo "FAIL: $*"; [ -s "$work/stderr" ] && sed 's/^/  program: /' "$work/stderr" | head -20; exit 1; }

size=$(stat -c %s "$zip")
[ "$size" -le 12000000 ] || fail "the portable zip holds $size bytes, more than 12 MB"
mkdir "$work/portable"
unzip -q "$zip" -d "$work/portable"
create_wine_prefix "$work/prefix"
export WINEPREFIX=$work/prefix
folder=$work/portable/$(basename "$zip" .zip)

# Every DLL that the program, its sound plugin or Qt's plugins import is
# beside the program or part of Windows, for which wine's system folder
# stands in; so is one loaded only later, as Qt Multimedia on the first
# click sound, which no run below reaches. API sets (api-ms-win-...) are
# names that Windows' loader maps, held by no file of their own.
missing=
while IFS= read -r -d '' binary; do
    while read -r name; do
        [[ ${name,,} == api-ms-win-* || ${name,,} == ext-ms-* ]] && continue
        [ -n "$(find "$folder" "$WINEPREFIX/drive_c/windows/system32" -maxdepth 1 -iname "$name")" ] ||
            missing+=" $name (for ${binary#"$folder"/})"
    done < <(x86_64-w64-mingw32-objdump -p "$binary" | sed -n 's/^[[:space:]]*DLL Name: //p')
done < <(find "$folder" \( -iname '*.dll' -o -iname '*.exe' \) -print0)
[ -z "$missing" ] || fail "the portable zip lacks:$missing"
# What the zip carries besides Lukimo is named with its exact source
# (NOTICE.txt), and every licence text the notice names is in the zip.
[ -f "$folder/NOTICE.txt" ] || fail "the portable zip has no NOTICE.txt"
grep -q '^  Source: qt6-base 6\.4\.2' "$folder/NOTICE.txt" || fail "NOTICE.txt names no source of Qt"
for licence in $(grep -o 'licences/[A-Za-z0-9.-]*\.txt' "$folder/NOTICE.txt" | sort -u); do
    [ -s "$folder/$licence" ] || fail "NOTICE.txt names $licence, which the zip lacks"
done

start_xvfb
cd "$folder"

# start [REDIRECTIONS...]: starts the program from its folder under wine.
start() {
    eval "wine lukimo.exe $*" &
    pid=$!
}
click() { xdotool mousemove --window "$1" 100 30 click "$2"; }
shot() {
    kill -0 "$pid" 2>/dev/null || fail "the program ended by itself"
    timeout 20 import -window "$window" "$work/$1.png" || fail "the window could not be photographed"
}
same() { [ "$(compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1 || true)" = 0 ]; }
rolling() {
    shot "$1-1"
    for _ in $(seq 20); do
        sleep 0.25
        shot "$1-2"
        same "$1-1" "$1-2" || return 0
    done
    return 1
}
still() {
    sleep 0.4
    shot "$1-1"
    sleep 0.6
    shot "$1-2"
    same "$1-1" "$1-2"
}
# quit WHAT: Ctrl+Q in the number window ends the program with status 0.
quit() {
    local status=0
    # With no window manager wine focuses a window when it is clicked.
    click "$window" 1
    sleep 0.3
    xdotool key ctrl+q
    for _ in $(seq 200); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    if kill -0 "$pid" 2>/dev/null; then
        fail "$1: Ctrl+Q did not end the program"
    fi
    wait "$pid" || status=$?
    pid=
    [ "$status" = 0 ] || fail "$1: the program ended with exit status $status"
}

start ">'$work/stdout' 2>'$work/stderr'"
window=$(wait_for_window Lukimo "$pid") || fail "no window titled Lukimo"
rolling start || fail "the number does not roll"
click "$window" 1
still click || fail "a left click did not stop the roll"
grep -qx 9 "$work/stdout" || fail "the stop's trace line did not reach the redirected output"
click "$window" 3
wait_for_window "settei menu numbers3" "$pid" >/dev/null || fail "a right click did not open the settings"
quit "redirected to a file"

LANG=ja_JP.UTF-8 start ">/dev/null 2>'$work/stderr'"
# wine writes the title in full only into _NET_WM_NAME, which xdotool's
# search by name does not read.
window=$(wait_for_search "$pid" --classname "^lukimo.exe$") || fail "Japanese: no window"
title=$(xdotool getwindowname "$window")
[ "$title" = ルキモ ] || fail "under Japanese the window is titled \"$title\", not ルキモ"
quit "Japanese"

# The reader goes away after five lines; with the settings open every tick
# writes trace lines into the closed pipe.
start "2>/dev/null > >(head -n 5 >'$work/head')"
window=$(wait_for_window Lukimo "$pid") || fail "vanished reader: no window"
click "$window" 3
wait_for_window "settei menu numbers3" "$pid" >/dev/null || fail "vanished reader: no settings"
sleep 1.5
[ "$(wc -l <"$work/head")" = 5 ] || fail "vanished reader: it did not get the first five lines"
click "$window" 1
still vanished || fail "vanished reader: the window froze"
quit "vanished reader"

# A reader that holds the pipe open, full, and never reads.
mkfifo "$work/stalled"
exec 3<>"$work/stalled"
python3 "$here/../e2e/fill-pipe.py" "$work/stalled"
start ">'$work/stalled' 2>/dev/null"
window=$(wait_for_window Lukimo "$pid") || fail "stalled reader: no window"
click "$window" 3
wait_for_window "settei menu numbers3" "$pid" >/dev/null || fail "stalled reader: no settings"
sleep 1
click "$window" 1
still stalled || fail "stalled reader: the window froze"
quit "stalled reader"
exec 3>&-

# No output at all, as for a program started from the desktop.
start ">&- 2>&-"
window=$(wait_for_window Lukimo "$pid") || fail "closed output: no window"
click "$window" 1
still closed || fail "closed output: the window froze"
quit "closed output"

echo "e2e under wine: titled Lukimo and rolling, stopped by a left click with its trace line in" \
    "the redirected output, settings on a right click, Ctrl+Q ends with 0; ルキモ under Japanese;" \
    "a vanished, a stalled and a closed output change nothing"
