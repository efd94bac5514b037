# Sourced by the end-to-end scripts, after scripts/xvfb.sh. They keep the
# program's process id in $pid, define fail(), and set $here to their folder.

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
