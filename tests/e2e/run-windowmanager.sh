#!/usr/bin/env bash
# End-to-end test of the program's windows under a window manager (jwm, on an
# Xvfb of the test's own): the settings asked for again while they are an
# icon come back and take the keyboard, F1 and Ctrl+Q work from other windows
# than the number window, Escape on the last window open ends the program,
# and the windows, title bars included, stand on the screen clear of each
# other, the settings also at twice the scale.
#   run-windowmanager.sh RUN-DIR [LEAK-SUPPRESSIONS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
run_dir=$1
source "$here/../../scripts/xvfb.sh"
source "$here/lib.sh"

work=$(mktemp -d -t lukimo-wm.XXXXXX)
trap 'kill ${pid:-} ${wm_pid:-} ${XVFB_PID:-} 2>/dev/null || true; rm -rf "$work"' EXIT
trap 'exit 1' HUP INT TERM
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
fail() { echo "FAIL: $*"; [ -s "$work/stderr" ] && sed 's/^/  program: /' "$work/stderr" | head -40; exit 1; }
start_xvfb

start_window_manager

# until WHAT COMMAND...: waits up to ten seconds for COMMAND to succeed.
until_true() {
    local what=$1
    shift
    for _ in $(seq 200); do
        "$@" && return 0
        sleep 0.05
    done
    fail "$what"
}
is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
is_icon() { xprop -id "$1" WM_STATE 2>/dev/null | grep -q 'window state: Iconic'; }
is_shown() { xprop -id "$1" WM_STATE 2>/dev/null | grep -q 'window state: Normal'; }
# frame ID: the window's frame on the screen, as "left top right bottom"
# (right and bottom exclusive).
frame() {
    local x y w h l r t b
    read -r x y w h < <(xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $4}
        /Absolute upper-left Y/ {y = $4} /Width:/ {w = $2} /Height:/ {h = $2}
        END {print x, y, w, h}')
    read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    echo $((x - l)) $((y - t)) $((x + w + r)) $((y + h + b))
}
# placed NAME ID [CLEAR-OF-ID...]: the window lies on the 1024 x 768 screen,
# its frame clear of the other windows' frames.
placed() {
    local name=$1 l t r b ol ot or ob other
    read -r l t r b < <(frame "$2")
    [ "$l" -ge 0 ] && [ "$t" -ge 0 ] && [ "$r" -le 1024 ] && [ "$b" -le 768 ] ||
        fail "the $name window ($l,$t)-($r,$b) leaves the screen"
    shift 2
    for other in "$@"; do
        read -r ol ot or ob < <(frame "$other")
        [ "$r" -le "$ol" ] || [ "$or" -le "$l" ] || [ "$b" -le "$ot" ] || [ "$ob" -le "$t" ] ||
            fail "the $name window ($l,$t)-($r,$b) covers another one ($ol,$ot)-($or,$ob)"
    done
}
start() {
    ./lukimo >"$work/stdout" 2>"$work/stderr" &
    pid=$!
    window=$(wait_for_window Lukimo "$pid") || fail "the number window did not appear"
    xdotool windowactivate --sync "$window"
}
# ends WHAT: the program ends by itself, with exit code 0.
ends() {
    local status=0
    until_true "$1: the program did not end" eval '! kill -0 "$pid" 2>/dev/null'
    wait "$pid" || status=$?
    pid=
    [ "$status" = 0 ] || fail "$1: the program ended with exit code $status"
}

cd "$run_dir"
export QT_QPA_PLATFORM=xcb
use_leak_suppressions "${2:-}"
start

# Asked for again from an icon, the settings come back in front.
xdotool key shift+F10
settings=$(wait_for_window "settei menu numbers3" "$pid") || fail "Shift+F10 did not open the settings"
until_true "the settings did not take the keyboard" is_active "$settings"
xdotool windowminimize --sync "$settings"
until_true "the settings did not become an icon" is_icon "$settings"
xdotool windowactivate --sync "$window"
xdotool key shift+F10
until_true "Shift+F10 left the settings an icon" is_shown "$settings"
until_true "Shift+F10 left the settings without the keyboard" is_active "$settings"

placed settings "$settings" "$window"

# F1 in the settings opens the help in front, clear of both.
xdotool key F1
help=$(wait_for_window "How to use" "$pid") || fail "F1 in the settings did not open the help"
until_true "the help did not take the keyboard" is_active "$help"
placed help "$help" "$window" "$settings"

# Escape on the past data, the last window left, ends the program.
xdotool windowactivate --sync "$settings"
past=$(open_past_data "$settings") || fail "serch did not open the past data"
until_true "the past data did not take the keyboard" is_active "$past"
for id in "$window" "$settings" "$help"; do
    python3 "$here/close-window.py" "$id"
done
until_true "the other windows did not close" eval '[ "$(xdotool search --onlyvisible --pid "$pid" | wc -l)" = 1 ]'
xdotool windowactivate --sync "$past"
xdotool key Escape
ends "Escape on the last window"

# Ctrl+Q in the help window quits.
start
xdotool key F1
help=$(wait_for_window "How to use" "$pid") || fail "F1 did not open the help"
until_true "the help did not take the keyboard" is_active "$help"
xdotool key ctrl+q
ends "Ctrl+Q in the help"

# At twice the scale the settings only just fit below a number window in
# the screen's corner.
QT_SCALE_FACTOR=2 start
xdotool windowmove --sync "$window" 28 28
xdotool key shift+F10
settings=$(wait_for_window "settei menu numbers3" "$pid") || fail "Shift+F10 did not open the settings at twice the scale"
until_true "the settings did not take the keyboard at twice the scale" is_active "$settings"
placed "settings at twice the scale" "$settings" "$window"
xdotool key ctrl+q
ends "Ctrl+Q in the settings"

echo "window manager: the settings come back from an icon with the keyboard, F1 works in the settings, Ctrl+Q in the help and the settings, Escape on the last window ends the program; settings and help on the screen, clear of each other and of the number window, the settings also at twice the scale"
