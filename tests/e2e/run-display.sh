#!/usr/bin/env bash
# End-to-end test of the built program started where it cannot show its
# windows: on an X display that does not exist, on a platform that does not
# exist, and on a 15-bit X display it cannot paint on. Each must end the
# program at once with exit status 1 and one plain line on standard error
# that names the display, never an abort or a core dump. A 16-bit display,
# the least it paints on, is used.
#   run-display.sh RUN-DIR [LEAK-SUPPRESSIONS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
run_dir=$1
source "$here/../../scripts/xvfb.sh"
source "$here/lib.sh"
work=$(mktemp -d -t lukimo-display.XXXXXX)
pid=
trap 'kill ${pid:-} ${XVFB_PID:-} 2>/dev/null || true; rm -rf "$work"' EXIT
trap 'exit 1' HUP INT TERM
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
fail() { echo "FAIL: $*"; exit 1; }
cd "$run_dir"
use_leak_suppressions "${2:-}"

# refused WHAT NAMED ENV...: runs the program with the environment given and
# expects status 1 and one line on standard error that contains NAMED.
refused() {
    local what=$1 named=$2 status=0
    shift 2
    env "$@" timeout 20 ./lukimo >"$work/out" 2>"$work/err" || status=$?
    [ "$status" = 1 ] || { cat "$work/err"; fail "$what: exit status $status, not 1"; }
    [ "$(wc -l <"$work/err")" = 1 ] || { cat "$work/err"; fail "$what: not one line"; }
    grep -qF -- "$named" "$work/err" || fail "$what: '$(cat "$work/err")' does not name $named"
    echo "$what: $(cat "$work/err")"
}

refused "no X display" '":99999"' QT_QPA_PLATFORM=xcb DISPLAY=:99999
refused "no X display set" 'DISPLAY' QT_QPA_PLATFORM=xcb DISPLAY=
refused "unknown platform" '"nosuch"' QT_QPA_PLATFORM=nosuch
start_xvfb 640x480x15
refused "15-bit display" "\"$DISPLAY\"" QT_QPA_PLATFORM=xcb DISPLAY="$DISPLAY"
kill "$XVFB_PID"
wait "$XVFB_PID" 2>/dev/null || true

start_xvfb 640x480x16
QT_QPA_PLATFORM=xcb ./lukimo >/dev/null 2>"$work/err" &
pid=$!
wait_for_window Lukimo "$pid" >/dev/null || { cat "$work/err"; fail "16-bit display: no window"; }
close_all_and_expect_exit "16-bit display"
echo "display: every display the program cannot use is refused in one line; a 16-bit one is used"
