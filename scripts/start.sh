#!/usr/bin/env bash
# Starts Lukimo from its run directory. Without a display it runs the program
# on a virtual X display for a few seconds and saves a screenshot instead.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}
cd "$build/run"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec ./lukimo
fi

shot="$(cd .. && pwd)/lukimo-screenshot.png"
echo "No display found: running Lukimo on a virtual X display (Xvfb) for a few seconds."
source "$here/xvfb.sh"
runtime=$(mktemp -d -t lukimo-runtime.XXXXXX)
trap 'kill ${pid:-} ${XVFB_PID:-} 2>/dev/null || true; rm -rf "$runtime"' EXIT
trap 'exit 1' HUP INT TERM
export XDG_RUNTIME_DIR="$runtime"
start_xvfb
./lukimo &
pid=$!
window=$(wait_for_window Lukimo "$pid") || { echo "The number window did not appear." >&2; exit 1; }
sleep 2
import -window "$window" "$shot"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
pid=
echo "Screenshot of the number window: $shot"
