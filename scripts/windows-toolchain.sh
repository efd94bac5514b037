#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Prints the folder of Qt for Windows that the Windows build uses, kept in
# the user's cache outside the source tree. A packed Qt beside the project
# (../shared/toolchains/qt-6.4.2-mingw-w64.tar.xz, or the file named in
# LUKIMO_QT_WINDOWS_TARBALL) is unpacked there once, into a folder named by
# its checksum; without one, a Qt built earlier from Debian's source packages
# is used.
#   windows-toolchain.sh           print the folder; fail, saying why, if none
#   windows-toolchain.sh --check   only whether there is one (or a packed one)
#   windows-toolchain.sh --build   build it from source first when there is
#                                  none (about half an hour; see build-qt-windows.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
version=6.4.2
name=qt-$version-mingw-w64
tarball=${LUKIMO_QT_WINDOWS_TARBALL:-../shared/toolchains/$name.tar.xz}
cache=${XDG_CACHE_HOME:-$HOME/.cache}/lukimo
built=$cache/$name-from-source
mode=${1:-}

if [ -f "$tarball" ]; then
    [ "$mode" = --check ] && exit 0
    scripts/unpack-qt.sh "$tarball" "$name" "$cache" lib/cmake/Qt6
elif [ -f "$built/.built" ] && [ -f "$built/lukimo-qt-source.txt" ]; then
    [ "$mode" = --check ] && exit 0
    echo "$built"
elif [ "$mode" = --build ]; then
    scripts/build-qt-windows.sh "$built" >&2
    echo "$built"
else
    echo "no Qt for Windows: neither $tarball nor a Qt built from source in $built" \
        "(scripts/windows-toolchain.sh --build builds one, in about half an hour)" >&2
    exit 1
fi
