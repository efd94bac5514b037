#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds Qt 6.4.2 for 64-bit Windows from Debian 12's own source packages
# (qt6-base, qt6-shadertools, qt6-multimedia, with Debian's patches) with
# Debian's MinGW-w64 (POSIX threads), and installs it into PREFIX. Used by
# windows-toolchain.sh when no packed Qt for Windows is at hand. From scratch
# on two cores it took 28.5 minutes, downloads included, qtbase most of it;
# the result is about 100 MB. Needs a deb-src line for bookworm main, which it
# adds when apt has none.
#   build-qt-windows.sh PREFIX
set -euo pipefail
prefix=$1
here=$(cd "$(dirname "$0")" && pwd)
cache=$(dirname "$prefix")
work=$cache/qt-windows-build
mkdir -p "$work"

sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
"$here/install-deps.sh" windows
# The host's tools of the same Qt version (moc, rcc, qsb) and what the
# source packages need to unpack and configure.
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    dpkg-dev perl qt6-base-dev-tools qt6-shadertools-dev qt6-shader-baker
if ! apt-get source --print-uris qt6-base >/dev/null 2>&1; then
    # apt refuses to read any list once two entries for one archive trust
    # different keys, so the source entry names the key the binary entry
    # names, in either of apt's formats; and it goes again if apt cannot
    # read the lists with it, so that apt is never left broken.
    key=$(
        for list in /etc/apt/sources.list.d/*.sources; do
            [ ! -f "$list" ] || awk -v RS= '/URIs:[^\n]*deb\.debian\.org\/debian([ \n]|$)/' "$list"
        done | sed -n 's/^Signed-By: *//p'
        cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
            sed -n 's|^deb .*signed-by=\([^] ]*\).* http://deb\.debian\.org/debian .*|\1|p' || true
    )
    key=${key%%$'\n'*}
    entry=/etc/apt/sources.list.d/lukimo-deb-src.sources
    {
        printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: bookworm\nComponents: main\n'
        [ -z "$key" ] || printf 'Signed-By: %s\n' "$key"
    } | $sudo tee "$entry" >/dev/null
    if ! $sudo apt-get update -q; then
        $sudo rm -f "$entry"
        echo "apt could not read a source entry for bookworm main; add one by hand" >&2
        exit 1
    fi
fi

# The toolchain Qt's own build uses; Qt remembers its path in the installed
# qt.toolchain.cmake, so it stays beside the prefix.
toolchain=$cache/mingw-w64-x86_64-qt.cmake
cat >"$toolchain" <<'CMAKE'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
CMAKE

cd "$work"
for package in qt6-base qt6-shadertools qt6-multimedia; do
    ls -d "$package"-*/ >/dev/null 2>&1 || apt-get source -q "$package"
done
# The host's Qt says where it lives; Debian keeps its CMake packages in the
# multiarch library folder, which differs from one architecture to the next.
[ "$(qtpaths6 --query QT_VERSION)" = 6.4.2 ] || { echo "the host's Qt is not 6.4.2" >&2; exit 1; }
host=(-DQT_HOST_PATH="$(qtpaths6 --query QT_HOST_PREFIX)"
    -DQT_HOST_PATH_CMAKE_DIR="$(qtpaths6 --query QT_HOST_LIBS)/cmake")

# qtbase. What is switched off is what the +dfsg tarball lacks (wintab for
# tablets, sqlite) or what Lukimo does not use; MinGW has no Debian packages
# of the third-party libraries, so Qt's bundled copies are built.
cmake -S qt6-base-*/ -B build-qtbase -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" "${host[@]}" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DQT_QMAKE_TARGET_MKSPEC=win32-g++ -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
    -DFEATURE_tabletevent=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF \
    -DINPUT_opengl=no -DFEATURE_vulkan=OFF -DFEATURE_direct2d1_1=OFF -DFEATURE_printsupport=OFF \
    -DFEATURE_concurrent=OFF -DFEATURE_openssl=OFF -DFEATURE_zstd=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF \
    -DFEATURE_system_jpeg=OFF -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF \
    -DFEATURE_system_doubleconversion=OFF
nice -n 19 cmake --build build-qtbase -j2
cmake --install build-qtbase

module() {
    cmake -S "$1"-*/ -B "build-$1" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$prefix/lib/cmake/Qt6/qt.toolchain.cmake" \
        "${host[@]}" -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF "${@:2}"
    nice -n 19 cmake --build "build-$1" -j2
    cmake --install "build-$1"
}
module qt6-shadertools

# Qt Multimedia's Windows sources spell some headers with capitals
# (<Mferror.h>, "Mfidl.h") where MinGW has them in lower case; on a
# case-sensitive file system each gets a capitalised name beside it here.
mapped=$work/mingw-capitalised
mkdir -p "$mapped"
for header in /usr/x86_64-w64-mingw32/include/*.h; do
    base=$(basename "$header")
    ln -sf "$header" "$mapped/${base^}"
done
# Its search for Media Foundation asks for Mf, Mfplat... by capitalised
# names too, which MinGW has in lower case; it is given the libraries the
# compiler names. Without them Qt leaves out the Windows audio output that
# QSoundEffect plays through, and then fails to build, so the feature is
# asked for outright: a configuration that lacks it stops at once.
wmf=()
for library in Mf Mfuuid Mfplat Mfcore Propsys; do
    path=$(x86_64-w64-mingw32-gcc-posix -print-file-name="lib${library,,}.a")
    [ -f "$path" ] || { echo "MinGW has no lib${library,,}.a" >&2; exit 1; }
    wmf+=(-DWMF_${library^^}_LIBRARY="$path")
done
# The player and camera plugin includes Qt Concurrent, which is off, and its
# build does not check for it; it is left out. The sound effects Lukimo
# plays go through the audio output inside Qt6Multimedia.
sed -i 's/^if (QT_FEATURE_wmf)$/if (QT_FEATURE_wmf AND TARGET Qt6::Concurrent)/' \
    qt6-multimedia-*/src/plugins/multimedia/CMakeLists.txt
module qt6-multimedia -DFEATURE_ffmpeg=OFF -DFEATURE_gstreamer=OFF -DFEATURE_wmf=ON "${wmf[@]}" \
    -DCMAKE_CXX_FLAGS="-I$mapped"
# What it was built from, for the notice the Windows packages carry.
{
    echo "Qt: 6.4.2"
    for package in qt6-base qt6-shadertools qt6-multimedia; do
        echo "Source: $package $(dpkg-parsechangelog -l "$(ls -d "$package"-*/)debian/changelog" -S Version) (Debian 12)"
    done
    echo "Changes: Debian's patches applied; Qt Multimedia's Windows plugin left out and its header names mapped, as scripts/build-qt-windows.sh does"
    echo "Compiler: g++-mingw-w64-x86-64-posix $(dpkg-query -W -f '${Version}' g++-mingw-w64-x86-64-posix) (Debian 12)"
} >"$prefix/lukimo-qt-source.txt"
touch "$prefix/.built"
echo "Qt for Windows built into $prefix"
