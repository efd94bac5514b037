#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Cross-builds Lukimo for 64-bit Windows into build-windows/ (or the folder
# given) and packs the portable zip and the installer there:
#   lukimo-<version>-windows-x86_64.zip and lukimo-<version>-windows-x86_64.exe
# It installs what it needs, and takes Qt for Windows from
# windows-toolchain.sh, which builds it from source first when there is no
# packed one (about half an hour, once).
#   scripts/windows-build.sh [build-dir [--no-packages]]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-windows}
scripts/install-deps.sh windows
qt=$(scripts/windows-toolchain.sh --build)
if [ ! -f "$build/build.ninja" ] || ! grep -qxF "LUKIMO_WINDOWS_QT:PATH=$qt" "$build/CMakeCache.txt"; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
        -DLUKIMO_WINDOWS_QT:PATH="$qt" >/dev/null
fi
cmake --build "$build"
if [ "${2:-}" != --no-packages ]; then
    (cd "$build" && cpack)
fi
