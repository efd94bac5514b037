#!/usr/bin/env bash
# Takes the screenshots the README shows: the number window, the settings
# dialog and the help window, each on a virtual X display. Needs a build.
#   scripts/screenshots.sh [build-dir] [output-dir]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
out=$(mkdir -p "${2:-$here/../docs}" && cd "${2:-$here/../docs}" && pwd)
source "$here/xvfb.sh"
runtime=$(mktemp -d -t lukimo-runtime.XXXXXX)
trap 'kill ${pid:-} ${XVFB_PID:-} 2>/dev/null || true; rm -rf "$runtime"' EXIT
trap 'exit 1' HUP INT TERM
export XDG_RUNTIME_DIR="$runtime"
start_xvfb

cd "$build/run"
./lukimo >/dev/null &
pid=$!
number=$(wait_for_window Lukimo "$pid")
sleep 0.5
import -window "$number" "$out/numberwindow.png"

xdotool mousemove --window "$number" 100 30 click 3
settings=$(wait_for_window "settei menu numbers3" "$pid")
sleep 0.5
import -window "$settings" "$out/settings.png"

# The help button sits at the right end of the dialog's button row.
eval "$(xdotool getwindowgeometry --shell "$settings")"
xdotool mousemove --window "$settings" $((WIDTH - 60)) $((HEIGHT - 20)) click 1
help=$(wait_for_window "How to use" "$pid")
sleep 0.5
import -window "$help" "$out/help.png"
echo "Screenshots in $out: numberwindow.png settings.png help.png"
