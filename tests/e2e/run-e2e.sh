#!/usr/bin/env bash
# End-to-end test of the built program in a real X server (Xvfb): it starts
# from its run directory, its window appears at 200 x 60 showing a rolling
# number, a left click stops the roll, a double click counts as two
# presses, and closing the window ends the
# process with exit code 0.
#   run-e2e.sh RUN-DIR [LEAK-SUPPRESSIONS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
run_dir=$1
source "$here/../../scripts/xvfb.sh"
source "$here/lib.sh"

work=$(mktemp -d -t lukimo-e2e.XXXXXX)
trap 'kill ${pid:-} ${XVFB_PID:-} 2>/dev/null || true; rm -rf "$work"' EXIT
trap 'exit 1' HUP INT TERM
# Qt and the sound system keep their run-time files here, not in /tmp.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
start_xvfb
fail() { echo "FAIL: $*"; [ -s "$work/stderr" ] && sed 's/^/  program: /' "$work/stderr" | head -40; exit 1; }

cd "$run_dir"
unset QT_QPA_PLATFORM
export QT_QPA_PLATFORM=xcb
use_leak_suppressions "${2:-}"
./lukimo >"$work/stdout" 2>"$work/stderr" &
pid=$!

window=$(wait_for_window Lukimo "$pid") || fail "the number window did not appear"
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" = 200 ] && [ "$HEIGHT" = 60 ] || fail "window is ${WIDTH}x${HEIGHT}, not 200x60"

# rolling NAME: the picture changes twice, so the number is drawn again and
# again, not once; the last look is NAME-2.png.
rolling() {
    picture_changes "$window" "$work/$1" 2
}
# still NAME WHAT: WHAT stopped the roll. The stop writes one trace line (the
# settings' hundreds limit); once it is out and the program has drawn what
# followed, two looks 0.6 s apart agree.
still() {
    local name=$1 what=$2
    wait_until 20 has_lines "$work/stdout" $((traced + 1)) ||
        fail "no stop's trace line came out within 20 s of $what: the roll did not stop, or the line was held back"
    traced=$(wc -l <"$work/stdout")
    answers "$window" || fail "the program did not answer after $what"
    look "$window" "$work/$name-1.png"
    sleep 0.6
    look "$window" "$work/$name-2.png"
    same_picture "$work/$name-1.png" "$work/$name-2.png" || fail "the roll did not stop after $what"
}
# The trace lines so far: the roll writes none, each stop one.
traced=0

# Rolling: the picture changes between two looks a little apart, and it
# shows segments, not a blank face.
rolling start || fail "the number does not roll"
colours=$(identify -format '%k' "$work/start-2.png")
[ "$colours" -gt 1 ] || fail "the window shows no number"

# A left click stops the roll.
xdotool mousemove --window "$window" 100 30 click 1
still click "a left click"
# The stop asked the settings for the hundreds limit, and its trace line is
# already out while the program runs (standard output is a file here).
grep -qx 9 "$work/stdout" || fail "the stop's trace line was not written at once"

# A double click is two presses: the roll starts and stops again.
xdotool click --repeat 2 --delay 80 1
still double "the second press of a double click"

# The keyboard: Space restarts the roll and Return stops it again.
xdotool windowfocus --sync "$window"
xdotool key space
rolling space || fail "Space did not restart the roll"
xdotool key Return
still return "Return"

# Windows the number window opens stand beside it, on the screen, never
# over the display.
eval "$(xdotool getwindowgeometry --shell "$window" | sed 's/^/NUMBER_/')"
beside() {
    local name=$1 id=$2
    eval "$(xdotool getwindowgeometry --shell "$id")"
    [ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && [ $((X + WIDTH)) -le 1024 ] && [ $((Y + HEIGHT)) -le 768 ] ||
        fail "the $name window (${WIDTH}x${HEIGHT}+$X+$Y) leaves the screen"
    if [ "$X" -lt $((NUMBER_X + NUMBER_WIDTH)) ] && [ "$NUMBER_X" -lt $((X + WIDTH)) ] &&
        [ "$Y" -lt $((NUMBER_Y + NUMBER_HEIGHT)) ] && [ "$NUMBER_Y" -lt $((Y + HEIGHT)) ]; then
        fail "the $name window (${WIDTH}x${HEIGHT}+$X+$Y) covers the number window"
    fi
}
xdotool key F1
help=$(wait_for_window "How to use" "$pid") || fail "F1 did not open the help"
beside help "$help"
xdotool windowfocus --sync "$help"
xdotool key Escape
wait_until 20 no_window "How to use" || fail "Escape did not put the help away"
xdotool windowfocus --sync "$window"
xdotool key shift+F10
settings=$(wait_for_window "settei menu numbers3" "$pid") || fail "Shift+F10 did not open the settings"
beside settings "$settings"
python3 "$here/close-window.py" "$settings"
wait_until 20 no_window "settei menu numbers3" || fail "the settings window did not close"

python3 "$here/close-window.py" "$window"
if ! wait_until 20 ended "$pid"; then
    kill "$pid"
    fail "the process did not end when its window was closed"
fi
status=0
wait "$pid" || status=$?
pid=
[ "$status" = 0 ] || fail "the process ended with exit code $status"
echo "e2e: window 200x60, rolling, stopped by a left click, a double click is two presses, Space and Return, F1 and Shift+F10 open windows beside it, closed with exit code 0"
