#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds Lukimo for the browser into build-web/ (or the folder given, inside
# the checkout) and packs lukimo-<version>-web.zip there, with the page also
# unpacked in its page/ folder. It runs in the Debian 13 chroot of
# web-chroot.sh, as the calling user, with our Qt 6.8.2 for WebAssembly (the
# patches and switches of patches/qt-wasm, named by qt-wasm-name.sh) from
# the user's cache: a pack of that name beside the project
# (../shared/toolchains/NAME.tar.xz, or the file named in
# LUKIMO_QT_WASM_TARBALL) is unpacked there once, into a folder named by its
# checksum; without one, that Qt is built from Debian 13's source once
# (build-qt-wasm.sh, about 15 minutes on two cores). A Qt of another series,
# the unpatched pack among them, is never used.
#   scripts/web-build.sh [build-dir] [cmake options...]
# e.g. scripts/web-build.sh build-web -DLUKIMO_WEB_FLOOR=ON also builds the
# bare QLCDNumber page the benchmark measures against (in page-floor/).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-web}
shift || true
repo=$(pwd -P)
name=$(scripts/qt-wasm-name.sh)
tarball=${LUKIMO_QT_WASM_TARBALL:-../shared/toolchains/$name.tar.xz}
cache=${XDG_CACHE_HOME:-$HOME/.cache}/lukimo
built=$cache/$name-from-source

mkdir -p "$build"
case $(cd "$build" && pwd -P)/ in
    "$repo"/*) ;;
    *) echo "the build folder must lie inside the checkout ($repo)" >&2; exit 1 ;;
esac

if [ -f "$tarball" ]; then
    qt=$(scripts/unpack-qt.sh "$tarball" "$name" "$cache" bin/qt-cmake)
else
    scripts/build-qt-wasm.sh "$built" >&2
    qt=$built
fi

# Configured again only when the Qt or the options change.
options="-DCMAKE_BUILD_TYPE=Release $*"
stamp="$qt $options"
configure=
if [ ! -f "$build/build.ninja" ] || [ "$(cat "$build/.lukimo-web-configured" 2>/dev/null)" != "$stamp" ]; then
    # Another Qt (another patch series) is another toolchain, which CMake
    # takes only into a fresh cache.
    if [ "$(cut -d' ' -f1 "$build/.lukimo-web-configured" 2>/dev/null)" != "$qt" ]; then
        rm -rf "$build/CMakeCache.txt" "$build/CMakeFiles"
    fi
    configure="$qt/bin/qt-cmake -S . -B '$build' -G Ninja -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake $options >/dev/null && \
        echo '$stamp' > '$build/.lukimo-web-configured' &&"
fi
scripts/web-chroot.sh run -b "$qt" -- bash -c "set -e; $configure cmake --build '$build' \
    \${LUKIMO_JOBS:+--parallel \$LUKIMO_JOBS}"
ls -l "$build"/lukimo-*-web.zip
