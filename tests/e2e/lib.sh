# Sourced by the end-to-end scripts (those on X after scripts/xvfb.sh). They
# keep the program's process id in $pid, define fail(), and set $here to
# their folder.
#
# The scripts wait for events, not for fixed times: each wait polls for what
# it expects and gives up only after a guard far longer than a slow machine
# needs, so that the guard never decides a run that works.

# wait_until SECONDS COMMAND...: runs COMMAND every 50 ms until it succeeds;
# false when it has not succeeded within SECONDS.
wait_until() {
    local now end
    now=${EPOCHREALTIME//[!0-9]/}
    end=$((now + $1 * 1000000))
    shift
    until "$@"; do
        now=${EPOCHREALTIME//[!0-9]/}
        [ "$now" -lt "$end" ] || return 1
        sleep 0.05
    done
}

# has_lines FILE N: FILE holds N lines or more.
has_lines() {
    [ "$(wc -l <"$1")" -ge "$2" ]
}

# ended PID: the process has ended.
ended() {
    ! kill -0 "$1" 2>/dev/null
}

# no_window NAME: no visible window is titled NAME.
no_window() {
    ! xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1
}

# expect_running: fails the test when the program has ended.
expect_running() {
    local status=0
    if ended "$pid"; then
        wait "$pid" || status=$?
        pid=
        fail "the program ended by itself with exit code $status"
    fi
}

# answers WINDOW: the program answers a window manager's ping to WINDOW
# within 20 s. Its answer comes from its event loop once it has handled what
# it was sent before (a click, a key) and drawn the result. A program that
# has ended fails the test.
answers() {
    python3 "$here/ping-window.py" "$1" 20 "$pid" && return 0
    expect_running
    return 1
}

# look WINDOW FILE: photographs WINDOW into FILE. import asks for a mouse
# click on some window when the one it is given is gone, so it only runs
# while the program lives, and never for long.
look() {
    expect_running
    timeout 20 import -window "$1" "$2" || fail "the window could not be photographed"
}

# same_picture A B: the two pictures agree to the pixel.
same_picture() {
    [ "$(compare -metric AE "$1" "$2" null: 2>&1 || true)" = 0 ]
}

# picture_changes WINDOW PREFIX N: looks at WINDOW again and again until its
# picture has changed N times from one look to the next (each change is at
# least one new drawing); false when it has not within 20 s. The last two
# looks are PREFIX-1.png and PREFIX-2.png.
picture_changes() {
    local window=$1 prefix=$2 left=$3
    look "$window" "$prefix-2.png"
    wait_until 20 changed_again
}

# changed_again: picture_changes's next look; true once it has seen $left
# changes.
changed_again() {
    mv "$prefix-2.png" "$prefix-1.png"
    look "$window" "$prefix-2.png"
    same_picture "$prefix-1.png" "$prefix-2.png" || left=$((left - 1))
    [ "$left" -le 0 ]
}

# use_leak_suppressions FILE: a sanitizer build reports leaks, less those
# FILE names (the libraries' own caches). Nothing when FILE is empty.
use_leak_suppressions() {
    [ -n "${1:-}" ] || return 0
    export LSAN_OPTIONS="suppressions=$1:print_suppressions=0"
    export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}:fast_unwind_on_malloc=0"
}

# open_past_data SETTINGS-WINDOW: presses "serch", the third of the four
# buttons along the settings dialog's foot, and prints the past-data window.
open_past_data() {
    local WIDTH HEIGHT X Y SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove --window "$1" $((WIDTH * 62 / 100)) $((HEIGHT - 20)) click 1
    wait_for_window "serch menu" "$pid"
}

# close_all_and_expect_exit WHAT: closes every window of the program, as a
# window manager's close button does, and expects the program to end with
# exit code 0. A program that froze answers no close request.
close_all_and_expect_exit() {
    local what=$1 id status=0
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
            python3 "$here/close-window.py" "$id" 2>/dev/null || true
        done
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill -9 "$pid"
        fail "$what: the program froze and did not end when its windows were closed"
    fi
    wait "$pid" || status=$?
    pid=
    [ "$status" = 0 ] || fail "$what: the program ended with exit code $status"
}

# start_window_manager: a bare jwm (no panel, focus follows clicks) on the
# display, its configuration and log in $work; its process in wm_pid, which
# the caller's exit trap ends. Fails the test when it does not come up.
start_window_manager() {
    cat >"$work/jwmrc" <<'CONFIG'
<?xml version="1.0"?>
<JWM><FocusModel>click</FocusModel></JWM>
CONFIG
    jwm -f "$work/jwmrc" >"$work/jwm.log" 2>&1 &
    wm_pid=$!
    for _ in $(seq 200); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        kill -0 "$wm_pid" 2>/dev/null || fail "the window manager did not start"
        sleep 0.05
    done
}
