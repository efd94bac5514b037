#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Runs a cross-built Qt Test program under wine, in the wine prefix the test
# run created (LUKIMO_WINEPREFIX), with the Qt and MinGW DLLs on its path:
# DLL-DIRS names their folders, separated by colons.
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
status=0
wine "$@" -o "$(windows_path "$log"),txt" || status=$?
cat "$log"
exit "$status"
