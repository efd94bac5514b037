#!/usr/bin/env bash
# End-to-end test of the built program against hostile standard streams, in
# a real X server (Xvfb): started with standard output or error closed, with
# a reader that goes away, and with a reader that stopped reading, the
# program must keep answering and end with exit code 0 when its windows are
# closed.
#   run-hostile.sh RUN-DIR [LEAK-SUPPRESSIONS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
run_dir=$1
source "$here/../../scripts/xvfb.sh"
source "$here/lib.sh"
work=$(mktemp -d -t lukimo-hostile.XXXXXX)
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
    exec 3>&- 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' HUP INT TERM
# Qt and the sound system keep their run-time files here, not in /tmp.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
start_xvfb
# fail names the case it ended, as "$running: ...".
running=
fail() {
    local message=$*
    [ -z "$running" ] || [[ $message == "$running:"* ]] || message="$running: $message"
    echo "FAIL: $message"
    exit 1
}

cd "$run_dir"
export QT_QPA_PLATFORM=xcb
use_leak_suppressions "${2:-}"

click() { xdotool mousemove --window "$1" 100 30 click "$2"; }

# 1. Standard output closed, then standard error closed: the stop's trace
# line (and the toolkit's warnings) must not go into the display connection.
for closed in 1 2; do
    running="fd $closed closed"
    if [ "$closed" = 1 ]; then ./lukimo >&- 2>/dev/null & else ./lukimo 2>&- >/dev/null & fi
    pid=$!
    window=$(wait_for_window Lukimo "$pid") || fail "fd $closed closed: no window"
    click "$window" 3
    settings=$(wait_for_window "settei menu numbers3" "$pid") || fail "fd $closed closed: no settings"
    # The stop writes its trace line; an answer after it means the line did
    # not break the display connection.
    click "$window" 1
    answers "$window" || fail "fd $closed closed: the program stopped answering after a stop"
    close_all_and_expect_exit "fd $closed closed"
done

# 2. A reader that goes away: head takes five lines and ends; the program
# goes on without its trace. Once the settings are open, each tick (a new
# picture) writes trace lines.
running="head"
./lukimo 2>/dev/null > >(head -n 5 >"$work/head") &
pid=$!
window=$(wait_for_window Lukimo "$pid") || fail "head: no window"
click "$window" 3
wait_for_window "settei menu numbers3" "$pid" >/dev/null || fail "head: no settings"
wait_until 20 has_lines "$work/head" 5 || fail "head: the reader did not get five lines within 20 s"
# Three new pictures after head has gone: three ticks wrote to no reader.
picture_changes "$window" "$work/head" 3 || fail "head: the number did not roll on after its reader went away"
kill -0 "$pid" 2>/dev/null || fail "head: the program died when its reader went away"
answers "$window" || fail "head: the program stopped answering when its reader went away"
[ "$(wc -l <"$work/head")" = 5 ] || fail "head: the reader did not get the first five lines"
close_all_and_expect_exit "head"

# 3. A reader that stopped reading: the pipe is full before the program
# writes its first line.
mkfifo "$work/stalled"
exec 3<>"$work/stalled" # holds the pipe open and never reads it
python3 "$here/fill-pipe.py" "$work/stalled"
running=stalled
./lukimo 2>/dev/null >"$work/stalled" &
pid=$!
window=$(wait_for_window Lukimo "$pid") || fail "stalled: no window"
click "$window" 3
wait_for_window "settei menu numbers3" "$pid" >/dev/null || fail "stalled: no settings"
# Three new pictures: three ticks had their trace lines refused.
picture_changes "$window" "$work/stalled" 3 || fail "stalled: the number did not roll on with its reader stalled"
click "$window" 1
answers "$window" || fail "stalled: the program stopped answering after a stop"
close_all_and_expect_exit "stalled"

exec 3>&-

# 4. A sound server that accepts and never answers: opening the past-data
# window (which gets the click sound ready) must not freeze the program. The
# server notes each connection it takes in a line of its log.
: >"$work/pulse.log"
python3 - "$work/pulse" "$work/pulse.log" <<'PY' &
import os, socket, sys, time
server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
server.bind(sys.argv[1])
server.listen(8)
held = []
server.settimeout(60)
try:
    while True:
        held.append(server.accept()[0])
        with open(sys.argv[2], "a") as log:
            log.write("connected\n")
except OSError:
    pass
PY
hung_server=$!
running="hung sound"
wait_until 20 test -S "$work/pulse" || fail "hung sound: the sound server did not start"
PULSE_SERVER="unix:$work/pulse" ./lukimo >/dev/null 2>&1 &
pid=$!
window=$(wait_for_window Lukimo "$pid") || fail "hung sound: no window"
click "$window" 3
settings=$(wait_for_window "settei menu numbers3" "$pid") || fail "hung sound: no settings"
past=$(open_past_data "$settings") || fail "hung sound: no past-data window"
# The program is now waiting for the server's answer, in vain.
wait_until 20 has_lines "$work/pulse.log" 1 || fail "hung sound: the program never asked the sound server"
answers "$past" || fail "hung sound: the program froze waiting for the sound server"
close_all_and_expect_exit "hung sound"
kill "$hung_server" 2>/dev/null || true

echo "hostile: closed stdout and stderr, a vanished reader, a stalled one, a hung sound server; alive, exit code 0"
