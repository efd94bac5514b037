#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds Qt 6.8.2 for WebAssembly (static, single-threaded, qtbase only) from
# Debian 13's qt6-base source package, inside the chroot of web-chroot.sh,
# and installs it into the folder given, with the record of what it was
# built from (lukimo-qt-source.txt, which the page's notice quotes). Debian
# replaces a source package at each point release, so the version is taken
# as it comes, but only a Qt 6.8.2 is built: the page's workarounds are
# for it. web-build.sh runs it when there is
# no packed Qt; from scratch on two cores it took 15 minutes. The switches are
# those of the packed one (../shared/toolchains/WASM.md says why each).
#   scripts/build-qt-wasm.sh PREFIX
set -euo pipefail
cd "$(dirname "$0")/.."
prefix=${1:?usage: $0 PREFIX}
mkdir -p "$(dirname "$prefix")"
prefix=$(cd "$(dirname "$prefix")" && pwd -P)/$(basename "$prefix")
work=$(mktemp -d "$(dirname "$prefix")/qt-wasm-build.XXXXXX")
trap 'rm -rf "$work"' EXIT
start=$SECONDS
scripts/web-chroot.sh run -b "$work" -b "$(dirname "$prefix")" -- bash -c '
    set -euo pipefail
    work=$1 prefix=$2
    cd "$work"
    apt-get source -qq qt6-base >/dev/null
    cd qt6-base-*/
    version=$(dpkg-parsechangelog -S Version)
    case $version in
    6.8.2+*) ;;
    *)
        echo "Debian 13 now has qt6-base $version, not Qt 6.8.2, which the browser build is" \
            "made for; bring the build and its workarounds to the new Qt first" >&2
        exit 1
        ;;
    esac
    # Debian keeps static apps from linking their platform plugin by
    # default, which leaves a browser app with none.
    patch -R -p1 < debian/patches/enable_skip_plugins.patch
    mkdir build && cd build
    ../configure -platform wasm-emscripten -prefix "$work/install" -qt-host-path /usr \
        -static -release -optimize-size -no-feature-thread -nomake examples -nomake tests \
        -no-feature-sql -no-feature-network -no-feature-concurrent -no-feature-xml \
        -no-feature-printsupport -no-dbus -no-icu -no-fontconfig \
        -qt-zlib -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-pcre \
        -- -G Ninja -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    cmake --build . --parallel "${LUKIMO_JOBS:-2}"
    cmake --install .
    {
        echo "Qt: 6.8.2"
        echo "Source: qt6-base $version (Debian 13)"
        echo "Changes: Debian'"'"'s patches applied, enable_skip_plugins.patch reverted; configured by scripts/build-qt-wasm.sh"
        echo "Compiler: emscripten $(dpkg-query -W -f "\${Version}" emscripten) (Debian 13)"
    } >"$work/install/lukimo-qt-source.txt"
    touch "$work/install/.built"' _ "$work" "$prefix"
rm -rf "$prefix"
mv "$work/install" "$prefix"
echo "Qt for WebAssembly built into $prefix in $(((SECONDS - start) / 60)) min" >&2
