#!/usr/bin/env bash
# End-to-end test of the built program as a native Wayland client, in a
# headless weston compositor of its own: a top-level window titled "Lukimo"
# appears and gets a picture, new pictures keep coming while the number
# rolls, and the program ends when it is told to.
#
# The headless compositor has no input devices and nothing outside it can
# close a client's window, so the program is ended with SIGTERM.
# The protocol traffic of the program (WAYLAND_DEBUG=client, on standard
# error) shows what it asked of the compositor.
#   run-wayland.sh RUN-DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
run_dir=$1
source "$here/lib.sh"

work=$(mktemp -d -t lukimo-wayland.XXXXXX)
trap 'kill ${pid:-} ${weston:-} 2>/dev/null || true; rm -rf "$work"' EXIT
trap 'exit 1' HUP INT TERM
fail() {
    echo "FAIL: $*"
    [ -s "$work/weston.log" ] && grep -v '^ ' "$work/weston.log" | tail -10 | sed 's/^/  weston: /'
    [ -s "$work/stderr" ] && grep -v '^\[' "$work/stderr" | head -20 | sed 's/^/  program: /'
    exit 1
}

# The compositor's socket lives in a run-time folder of this run alone, so
# two runs side by side never share one.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export WAYLAND_DISPLAY="lukimo-e2e-$$"
weston --no-config --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" \
    --width=1024 --height=768 --idle-time=0 --log="$work/weston.log" >/dev/null 2>&1 &
weston=$!
weston_listens() {
    kill -0 "$weston" 2>/dev/null || fail "weston ended at start"
    [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ]
}
wait_until 20 weston_listens || fail "weston did not open its socket within 20 s"

cd "$run_dir"
unset DISPLAY
export QT_QPA_PLATFORM=wayland
WAYLAND_DEBUG=client ./lukimo >/dev/null 2>"$work/stderr" &
pid=$!

# requests PATTERN: how many requests the program has sent that match PATTERN.
requests() { grep -c -E "^\[ *[0-9.]+\]  -> $1" "$work/stderr" || true; }

# The window: an xdg_toplevel titled Lukimo on its own surface, given a
# picture after the compositor's first configure.
surface=
window_shown() {
    kill -0 "$pid" 2>/dev/null || fail "the program ended at start"
    [ "$(requests 'xdg_toplevel@[0-9]+\.set_title\("Lukimo"\)')" -gt 0 ] || return 1
    surface=$(sed -n -E 's/.*-> xdg_wm_base@[0-9]+\.get_xdg_surface\(new id xdg_surface@[0-9]+, (wl_surface@[0-9]+)\).*/\1/p' \
        "$work/stderr" | head -n 1)
    [ -n "$surface" ] && [ "$(requests "$surface\\.attach\\(wl_buffer")" -gt 0 ]
}
if ! wait_until 20 window_shown; then
    [ -n "$surface" ] || fail "no top-level window titled Lukimo appeared within 20 s"
fi
[ "$(requests 'xdg_surface@[0-9]+\.ack_configure')" -gt 0 ] || fail "the window never took the compositor's configure"
# Docks tie the window to the launcher by the desktop entry's id.
[ "$(requests 'xdg_toplevel@[0-9]+\.set_app_id\("org\.lukimo\.Lukimo"\)')" -gt 0 ] ||
    fail "the window does not name the desktop entry org.lukimo.Lukimo as its app id"
[ "$(requests "$surface\\.attach\\(wl_buffer")" -gt 0 ] || fail "the window never got a picture"

# Rolling: a new number is drawn every 100 ms, and each one is a new picture
# committed to the window's surface. Five new ones come within a second of
# each other by the program's own clock (the times of the protocol trace, in
# microseconds), however slowly this script looks at them.
commit_times() {
    sed -n -E "s/^\[ *([0-9]+)\.([0-9]{3})\]  -> $surface\.commit\(\).*/\1\2/p" "$work/stderr"
}
commits_since() { [ "$(commit_times | wc -l)" -ge $(($1 + 5)) ]; }
before=$(commit_times | wc -l)
wait_until 20 commits_since "$before" ||
    fail "the window showed $(($(commit_times | wc -l) - before)) new pictures in 20 s: it does not roll"
first=$(commit_times | sed -n "$((before + 1))p")
fifth=$(commit_times | sed -n "$((before + 5))p")
span=$(((10#$fifth - 10#$first) / 1000))
[ "$span" -le 1000 ] || fail "five new pictures took $span ms: the number does not roll every 100 ms"

kill -TERM "$pid"
status=0
wait_until 20 ended "$pid" || fail "the program did not end on SIGTERM"
wait "$pid" || status=$?
pid=
# 143 is the end by SIGTERM itself; 0 a program that quits cleanly on it.
[ "$status" = 143 ] || [ "$status" = 0 ] || fail "the program ended with exit code $status on SIGTERM"
echo "wayland: top-level window Lukimo, five new pictures in $span ms, ended on SIGTERM ($status)"
