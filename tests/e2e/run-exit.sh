#!/usr/bin/env bash
# End-to-end test of the program's exit: with its sound thread started (the
# past-data window open), the program ends with exit code 0 on Ctrl+Q, and
# again when its last window is closed, and leaves nothing behind: no
# process of its session, no file in its temporary folder, no warning about
# a thread still running. (The run-time folder is the sound library's to
# keep its session's files in.) The waits are guards, not limits.
#   run-exit.sh RUN-DIR [LEAK-SUPPRESSIONS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
run_dir=$1
source "$here/../../scripts/xvfb.sh"
source "$here/lib.sh"

work=$(mktemp -d -t lukimo-exit.XXXXXX)
pid=
trap 'kill ${pid:-} ${XVFB_PID:-} 2>/dev/null || true; rm -rf "$work"' EXIT
trap 'exit 1' HUP INT TERM
fail() { echo "FAIL: $*"; [ -s "$work/stderr" ] && sed 's/^/  program: /' "$work/stderr" | head -20; exit 1; }
start_xvfb

cd "$run_dir"
export QT_QPA_PLATFORM=xcb
# Without a session bus, libdbus would start one for the display (dbus-launch
# --autolaunch) that outlives any program; a desktop has its own.
export DBUS_SESSION_BUS_ADDRESS=disabled:
use_leak_suppressions "${2:-}"

# start: the program in a session of its own, its past-data window open.
start() {
    rm -rf "$work/tmp" "$work/runtime"
    mkdir -m 700 "$work/tmp" "$work/runtime"
    TMPDIR=$work/tmp XDG_RUNTIME_DIR=$work/runtime setsid ./lukimo >/dev/null 2>"$work/stderr" &
    pid=$!
    window=$(wait_for_window Lukimo "$pid") || fail "the number window did not appear"
    xdotool mousemove --window "$window" 100 30 click 3
    settings=$(wait_for_window "settei menu numbers3" "$pid") || fail "no settings dialog"
    open_past_data "$settings" >/dev/null || fail "no past-data window"
}

# left_nothing WHAT: the program has ended; nothing of it remains.
left_nothing() {
    local what=$1 session=$pid
    pid=
    if pgrep -s "$session" >/dev/null; then
        fail "$what: processes of the program's session outlived it: $(pgrep -s "$session" -a)"
    fi
    [ -z "$(ls -A "$work/tmp")" ] || fail "$what: files left in TMPDIR: $(ls -A "$work/tmp")"
    ! grep -E "QThread|still running" "$work/stderr" || fail "$what: a thread was still running"
}

start
xdotool windowfocus --sync "$window"
xdotool key ctrl+q
for _ in $(seq 200); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && { kill -9 "$pid"; fail "Ctrl+Q did not end the program"; }
status=0
wait "$pid" || status=$?
[ "$status" = 0 ] || fail "Ctrl+Q: the program ended with exit code $status"
left_nothing "Ctrl+Q"

start
session=$pid
close_all_and_expect_exit "last window closed"
pid=$session
left_nothing "last window closed"
echo "exit: Ctrl+Q and the last window closed end the program with exit code 0, leaving no process, file or running thread"
