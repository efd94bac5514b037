#!/usr/bin/env bash
# End-to-end test of the click sound: the built program in a real X server
# (Xvfb) with a sound server of its own (PulseAudio with a null sink). Each
# click of a past-data mode button must reach the sound server as a new
# playback stream, and the program must end with exit code 0.
#   run-sound.sh RUN-DIR [LEAK-SUPPRESSIONS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
run_dir=$1
source "$here/../../scripts/xvfb.sh"
source "$here/lib.sh"
work=$(mktemp -d -t lukimo-sound.XXXXXX)
pid= pulse= watcher=
cleanup() {
    local p
    for p in $pid $watcher $pulse; do kill "$p" 2>/dev/null || true; done
    # The sound server may take a moment over its exit; it must not outlive us.
    for _ in $(seq 20); do kill -0 "$pulse" 2>/dev/null || break; sleep 0.1; done
    [ -n "$pulse" ] && kill -9 "$pulse" 2>/dev/null || true
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' HUP INT TERM
fail() { echo "FAIL: $*"; sed 's/^/  sound server: /' "$work/pulse.log" 2>/dev/null | tail -5; exit 1; }
start_xvfb

# A sound server that only this test uses.
export XDG_RUNTIME_DIR=$work HOME=$work
chmod 700 "$work"
cat >"$work/default.pa" <<PA
load-module module-null-sink sink_name=lukimo_test
set-default-sink lukimo_test
load-module module-native-protocol-unix socket=$work/native auth-anonymous=1
PA
pulseaudio -n -F "$work/default.pa" --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
    --log-target=stderr >/dev/null 2>"$work/pulse.log" </dev/null &
pulse=$!
export PULSE_SERVER="unix:$work/native"
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info >/dev/null 2>&1 || fail "the sound server did not start"
pactl subscribe >"$work/events" 2>/dev/null </dev/null &
watcher=$!

cd "$run_dir"
export QT_QPA_PLATFORM=xcb
use_leak_suppressions "${2:-}"
./lukimo >"$work/stdout" 2>"$work/stderr" &
pid=$!

window=$(wait_for_window Lukimo "$pid") || fail "the number window did not appear"
xdotool mousemove --window "$window" 100 30 click 3
settings=$(wait_for_window "settei menu numbers3" "$pid") || fail "no settings dialog"
past=$(open_past_data "$settings") || fail "no past-data window"
# The sound gets ready on its own thread, right after the program has
# become a client of the sound server.
for _ in $(seq 100); do
    pactl list clients | grep -q "application.process.id = \"$pid\"" && break
    sleep 0.1
done
# count_is N PATTERN FILE: FILE comes to hold N lines matching PATTERN within
# a generous guard.
count_is() {
    for _ in $(seq 100); do
        [ "$(grep -c "$2" "$3" || true)" = "$1" ] && return 0
        sleep 0.1
    done
    return 1
}
# "Data to Times" is the middle one of the three mode buttons shown, at a
# fixed distance from the window's top: what the window adds below them
# (the line of known draws, "Add draws…") moves it no more.
for n in 1 2 3; do
    xdotool mousemove --window "$past" 30 103 click 1
    count_is $n '^data to times=1$' "$work/stdout" || fail "click $n missed the mode button"
    count_is $n "'new' on sink-input" "$work/events" ||
        fail "$(grep -c "'new' on sink-input" "$work/events" || true) of $n clicks reached the sound server"
    # The next click comes once this one's sound has ended: one coming while
    # it plays may restart it in the same stream.
    count_is $n "'remove' on sink-input" "$work/events" || fail "click $n's sound never ended"
done

close_all_and_expect_exit "sound"
echo "sound: three clicks, three playback streams on the sound server, exit code 0"
