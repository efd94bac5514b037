#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Runs a cross-built Qt Test program under wine, in the wine prefix the test
# run created (LUKIMO_WINEPREFIX), with the Qt and MinGW DLLs on its path:
# DLL-DIRS names their folders, separated by colons. A program that does not
# end within a minute of finishing its tests fails as hung at exit, unless
# LUKIMO_WINE_EXIT_HANG names a known reason and every test passed.
#   wine-run.sh DLL-DIRS PROGRAM [ARGS...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-lib.sh"
IFS=: read -r -a dll_dirs <<<"$1"
shift
if [ -z "${LUKIMO_WINEPREFIX:-}" ] || [ ! -d "$LUKIMO_WINEPREFIX" ]; then
    echo "wine-run.sh: no wine prefix of the test run's own (LUKIMO_WINEPREFIX)" >&2
    exit 1
fi
export WINEPREFIX=$LUKIMO_WINEPREFIX
path=
for dir in "${dll_dirs[@]}"; do
    path+="$(windows_path "$dir");"
done
export WINEPATH=$path
# Variables named QT_* do not reach a program under wine; the same names
# with a WINE prefix do.
while IFS='=' read -r name value; do
    export "WINE$name=$value"
done < <(env | grep '^QT_' || true)
# With no console, Qt Test writes its results to the debugger channel; a
# file keeps them.
log=$(mktemp -t lukimo-qtest.XXXXXX)
trap 'rm -f "$log"' EXIT
wine "$@" -o "$(windows_path "$log"),txt" &
program=$!
# A program that has finished its tests but does not end hangs at exit:
# that fails at once, saying so, rather than at the test's time limit.
ended=
while kill -0 "$program" 2>/dev/null; do
    if [ -z "$ended" ] && grep -q '^\*\*\*\*\*\*\*\*\* Finished testing of' "$log"; then
        ended=$SECONDS
    elif [ -n "$ended" ] && [ $((SECONDS - ended)) -ge 60 ]; then
        kill "$program" 2>/dev/null || true
        cat "$log"
        if [ -n "${LUKIMO_WINE_EXIT_HANG:-}" ] && grep -q '^Totals: .* 0 failed' "$log"; then
            echo "WARNING: $(basename "$1") passed, then hung at exit: $LUKIMO_WINE_EXIT_HANG" >&2
            exit 0
        fi
        echo "FAIL: $(basename "$1") finished its tests but did not end within 60 s: it hangs at exit" >&2
        exit 1
    fi
    sleep 1
done
status=0
wait "$program" || status=$?
cat "$log"
exit "$status"
