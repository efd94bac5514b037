#!/usr/bin/env bash
# End-to-end test of adding draws (under jwm, on an Xvfb of the test's own):
# a draw pasted into "Add draws…" and added is kept in draws.csv in the data
# folder, and the program started again answers for it; a line of the file
# that contradicts a built-in draw is said in the trace. A program that adds
# nothing writes no file.
#   run-adddraws.sh RUN-DIR [LEAK-SUPPRESSIONS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
run_dir=$1
source "$here/../../scripts/xvfb.sh"
source "$here/lib.sh"

work=$(mktemp -d -t lukimo-add.XXXXXX)
trap 'kill ${pid:-} ${wm_pid:-} ${XVFB_PID:-} 2>/dev/null || true; rm -rf "$work"' EXIT
trap 'exit 1' HUP INT TERM
export XDG_RUNTIME_DIR="$work/runtime" XDG_DATA_HOME="$work/data" HOME="$work"
mkdir -m 700 "$XDG_RUNTIME_DIR"
fail() { echo "FAIL: $*"; [ -s "$work/stderr" ] && sed 's/^/  program: /' "$work/stderr" | head -40; exit 1; }
start_xvfb

start_window_manager
is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
until_true() {
    local what=$1
    shift
    wait_until 10 "$@" || fail "$what"
}

cd "$run_dir"
export QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 LANG=C.UTF-8
use_leak_suppressions "${2:-}"
file="$XDG_DATA_HOME/lukimo/draws.csv"

# start: the program and its past-data window, with the keyboard in its field.
start() {
    ./lukimo >>"$work/stdout" 2>>"$work/stderr" &
    pid=$!
    window=$(wait_for_window Lukimo "$pid") || fail "the number window did not appear"
    xdotool windowactivate --sync "$window"
    xdotool key shift+F10
    settings=$(wait_for_window "settei menu numbers3" "$pid") || fail "the settings did not open"
    until_true "the settings did not take the keyboard" is_active "$settings"
    past=$(open_past_data "$settings") || fail "serch did not open the past data"
    until_true "the past data did not take the keyboard" is_active "$past"
}
# asks DRAW TITLE: "Times to Data" for DRAW is answered in a box titled TITLE.
# A refused draw stays in the field; it is emptied first.
asks() {
    xdotool key ctrl+a BackSpace
    xdotool type "$1"
    xdotool key Return
    local box
    box=$(wait_for_window "$2" "$pid") || fail "draw $1 was not answered by a box titled $2"
    xdotool windowactivate --sync "$box" key Return
    wait_until 10 no_window "$2" || fail "the box for draw $1 did not close"
    until_true "the past data did not take the keyboard back" is_active "$past"
}

start
asks 6874 Error
[ ! -e "$file" ] || fail "draws.csv was written before anything was added"

# "Add draws…" is the last stop of the window's Tab chain.
xdotool key shift+Tab space
dialog=$(wait_for_window "Add draws" "$pid") || fail "Add draws… did not open its dialog"
until_true "the dialog did not take the keyboard" is_active "$dialog"
xdotool type '6874,2025-12-09,735'
xdotool key Return
xdotool type '6875,2025-12-10,017'
# Tab to "Preview", then past the preview to "Add".
xdotool key Tab Tab Tab Tab Tab space
sleep 0.3
xdotool key Tab Tab space
wait_until 10 test -s "$file" || fail "Add wrote no draws.csv"
grep -qx '6874,2025-12-09,735' "$file" || fail "draws.csv holds $(cat "$file")"
grep -qx '6875,2025-12-10,017' "$file" || fail "draws.csv holds $(cat "$file")"
xdotool key Escape
wait_until 10 no_window "Add draws" || fail "Escape did not close the dialog"
# The keyboard is back on "Add draws…"; Tab goes round to the field.
until_true "the past data did not take the keyboard back" is_active "$past"
xdotool key Tab
asks 6875 "serch result"
close_all_and_expect_exit "after adding"

# A line that contradicts a built-in draw (draw 1 was 191) is skipped and
# said once in the trace, and the file is left as it was.
echo '1,1994-10-07,999' >>"$file"
cp "$file" "$work/before.csv"

# Started again, the program knows the added draws, and only them.
start
asks 6874 "serch result"
asks 6876 Error
asks 1 "serch result"
close_all_and_expect_exit "after the restart"
[ "$(grep -c '^draws.csv line 4 skipped: draw 1 ' "$work/stdout")" = 1 ] ||
    fail "the skipped line was not said once in the trace: $(cat "$work/stdout")"
cmp -s "$file" "$work/before.csv" || fail "reading draws.csv changed it"
echo "PASS"
