#!/usr/bin/env bash
# End-to-end test of what a screen reader finds: the built program in a real
# X server (Xvfb), with a D-Bus session bus and an accessibility bus of its
# own, read and driven by atspi-check.py as a screen reader would.
#   run-atspi.sh RUN-DIR [LEAK-SUPPRESSIONS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
run_dir=$1
source "$here/../../scripts/xvfb.sh"
source "$here/lib.sh"

work=$(mktemp -d -t lukimo-atspi.XXXXXX)
pid= bus= launcher=
cleanup() {
    local p
    for p in $pid $launcher $bus ${XVFB_PID:-}; do kill "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' HUP INT TERM
fail() { echo "FAIL: $*"; [ -s "$work/stderr" ] && sed 's/^/  program: /' "$work/stderr" | head -40; exit 1; }

export XDG_RUNTIME_DIR="$work/runtime" HOME="$work"
mkdir -m 700 "$XDG_RUNTIME_DIR"
start_xvfb

# A session bus that only this test uses: the accessibility bus is found
# through it (and through the private X server), never through the desktop's.
exec {fd}< <(exec dbus-daemon --session --nofork --nopidfile --print-address=3 3>&1 >/dev/null 2>&1)
bus=$!
read -r -t 20 -u "$fd" DBUS_SESSION_BUS_ADDRESS || fail "the session bus did not start"
exec {fd}<&-
export DBUS_SESSION_BUS_ADDRESS
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
launcher=$!
for _ in $(seq 100); do
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
        >/dev/null 2>&1 && break
    sleep 0.1
done

cd "$run_dir"
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LC_ALL=C.UTF-8 LANG=C.UTF-8
use_leak_suppressions "${2:-}"
./lukimo >"$work/stdout" 2>"$work/stderr" &
pid=$!
window=$(wait_for_window Lukimo "$pid") || fail "the number window did not appear"

/usr/bin/python3 "$here/atspi-check.py" "$pid" "$window" || fail "see above"

python3 "$here/close-window.py" "$window"
close_all_and_expect_exit "after the screen reader's checks"
