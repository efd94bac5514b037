# Sourced by scripts that need a real X server: starts Xvfb on a free display
# number and stops it when the calling script exits.

start_xvfb() {
    local n=${XVFB_FIRST_DISPLAY:-90}
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    trap 'kill $XVFB_PID 2>/dev/null || true' EXIT
    export DISPLAY=":$n"
    for _ in $(seq 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && return 0
        sleep 0.05
    done
    echo "Xvfb did not start on :$n" >&2
    return 1
}

# wait_for_search PID SEARCH-ARGS...: prints the id of the first visible
# window that `xdotool search` finds, waiting while the process lives.
wait_for_search() {
    local pid=$1 id
    shift
    for _ in $(seq 200); do
        kill -0 "$pid" 2>/dev/null || return 1
        id=$(xdotool search --onlyvisible "$@" 2>/dev/null | head -n 1) || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.05
    done
    return 1
}

# wait_for_window NAME PID: prints the id of the visible window titled NAME.
wait_for_window() {
    wait_for_search "$2" --name "^$1\$"
}

# window_title_of PID: waits for a visible window of the process and prints
# its title (UTF-8, as the window manager would show it).
window_title_of() {
    local id
    id=$(wait_for_search "$1" --pid "$1") || return 1
    xdotool getwindowname "$id"
}
