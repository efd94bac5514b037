# Sourced by scripts that need a real X server of their own.
#
# start_xvfb [WxHxDEPTH] starts Xvfb (1024x768x24 unless told), sets DISPLAY
# and XVFB_PID. The server chooses its
# display number itself (-displayfd), so two scripts started side by side can
# never end up on one server. Stopping it is the caller's job, in the caller's
# one EXIT trap: `kill "${XVFB_PID:-}"`.

start_xvfb() {
    local fd n= screen=${1:-1024x768x24}
    # The server writes its display number down the pipe once it accepts
    # connections; its other output is noise. Without -noreset it would reset
    # whenever its last client leaves, and drop a client that connects just
    # then.
    exec {fd}< <(exec Xvfb -displayfd 3 -noreset -screen 0 "$screen" -nolisten tcp \
        3>&1 >/dev/null 2>&1)
    XVFB_PID=$!
    read -r -t 20 -u "$fd" n || true
    exec {fd}<&-
    if ! [[ $n =~ ^[0-9]+$ ]] || ! kill -0 "$XVFB_PID" 2>/dev/null; then
        echo "Xvfb did not start" >&2
        kill "$XVFB_PID" 2>/dev/null || true
        return 1
    fi
    if ! xvfb_owns_display "$XVFB_PID" "$n" ||
        ! DISPLAY=":$n" xdotool getdisplaygeometry >/dev/null 2>&1; then
        echo "Xvfb (pid $XVFB_PID) does not serve display :$n" >&2
        kill "$XVFB_PID" 2>/dev/null || true
        return 1
    fi
    export DISPLAY=":$n"
}

# xvfb_owns_display PID N: true when process PID holds the listening socket of
# display N.
xvfb_owns_display() {
    local inodes
    inodes=$(find "/proc/$1/fd" -lname 'socket:*' -printf '%l\n' 2>/dev/null |
        sed 's/^socket:\[\([0-9]*\)\]$/\1/')
    [ -n "$inodes" ] || return 1
    awk -v want="$2" -v inodes="$inodes" '
        BEGIN { n = split(inodes, list, "\n"); for (i = 1; i <= n; i++) mine[list[i]] = 1 }
        $8 ~ ("^@?/tmp/.X11-unix/X" want "$") && ($7 in mine) { found = 1 }
        END { exit !found }' /proc/net/unix
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
