#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds Qt 6.8.2 for WebAssembly (static, single-threaded, qtbase only) from
# Debian 13's qt6-base source package with our patches (patches/qt-wasm/,
# in the order of its series file, configured with its configure-options),
# inside the chroot of web-chroot.sh, and installs it into the folder given,
# with the record of what it was built from (lukimo-qt-source.txt, which the
# page's notice quotes and the browser build checks). Debian replaces a
# source package at each point release, so the version is taken as it
# comes, but only a Qt 6.8.2 is built: the patches are for it. web-build.sh
# runs it when there is no pack of this series; from scratch on two cores it
# took 15 minutes. Two builds of the same folder at once wait for each
# other, and the second takes what the first made.
#   scripts/build-qt-wasm.sh PREFIX [--pack TARBALL]
# --pack also packs the result into TARBALL, as ../shared/toolchains holds
# it (one folder, named as qt-wasm-name.sh says, in a .tar.xz).
set -euo pipefail
cd "$(dirname "$0")/.."
prefix=${1:?usage: $0 PREFIX [--pack TARBALL]}
pack=
[ "${2:-}" = --pack ] && pack=${3:?--pack needs a file}
name=$(scripts/qt-wasm-name.sh)
id=$(scripts/qt-wasm-name.sh --id)
mkdir -p "$(dirname "$prefix")"
prefix=$(cd "$(dirname "$prefix")" && pwd -P)/$(basename "$prefix")
exec 8>"$prefix.lock"
flock 8
if [ ! -f "$prefix/.built" ]; then
    work=$(mktemp -d "$(dirname "$prefix")/qt-wasm-build.XXXXXX")
    trap 'rm -rf "$work"' EXIT
    mkdir "$work/patches"
    scripts/qt-wasm-name.sh --list | while read -r p; do cp "$p" "$work/patches/"; done
    scripts/qt-wasm-name.sh --list | xargs -r -n1 basename >"$work/patches/series"
    sed -e 's/#.*//' patches/qt-wasm/configure-options | tr -s ' \n' ' ' >"$work/options"
    sed -e 's/#.*//' patches/qt-wasm/fonts | grep -v '^[[:space:]]*$' >"$work/fonts"
    start=$SECONDS
    scripts/web-chroot.sh run -b "$work" -b "$(dirname "$prefix")" -- bash -c '
        set -euo pipefail
        work=$1 id=$2
        cd "$work"
        apt-get source -qq qt6-base >/dev/null
        cd qt6-base-*/
        version=$(dpkg-parsechangelog -S Version)
        case $version in
        6.8.2+*) ;;
        *)
            echo "Debian 13 now has qt6-base $version, not Qt 6.8.2, which the patches" \
                "in patches/qt-wasm are made for; bring them to the new Qt first" >&2
            exit 1
            ;;
        esac
        # Debian keeps static apps from linking their platform plugin by
        # default, which leaves a browser app with none.
        patch -s -R -p1 < debian/patches/enable_skip_plugins.patch
        while read -r p; do
            echo "applying $p" >&2
            patch -s -p1 --no-backup-if-mismatch < "$work/patches/$p"
        done < "$work/patches/series"
        # Qt compiles its fonts for the browser into every page: each is cut
        # down to the characters the program draws with it, keeping the box
        # it draws for a character that no font has.
        while read -r font ranges; do
            python3 -m fontTools.subset "src/3rdparty/wasm/$font" --unicodes="$ranges" \
                --layout-features="*" --notdef-outline \
                --output-file="src/3rdparty/wasm/$font.subset" 2>/dev/null
            mv "src/3rdparty/wasm/$font.subset" "src/3rdparty/wasm/$font"
        done < "$work/fonts"
        mkdir build && cd build
        # shellcheck disable=SC2046
        ../configure -platform wasm-emscripten -prefix "$work/install" -qt-host-path /usr \
            $(cat "$work/options") \
            -- -G Ninja -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
        cmake --build . --parallel "${LUKIMO_JOBS:-2}"
        cmake --install .
        {
            echo "Qt: 6.8.2"
            echo "Source: qt6-base $version (Debian 13)"
            echo "Changes: Debian'"'"'s patches applied, enable_skip_plugins.patch reverted; then Lukimo'"'"'s patches of series $id (patches/qt-wasm of Lukimo'"'"'s source: $(tr "\n" " " < "$work/patches/series"| sed "s/ *$//")); its fonts for the browser cut down to the characters of patches/qt-wasm/fonts; configured by scripts/build-qt-wasm.sh"
            echo "Series: $id"
            echo "Compiler: emscripten $(dpkg-query -W -f "\${Version}" emscripten) (Debian 13)"
        } >"$work/install/lukimo-qt-source.txt"
        touch "$work/install/.built"' _ "$work" "$id"
    rm -rf "$prefix"
    mv "$work/install" "$prefix"
    echo "Qt for WebAssembly built into $prefix in $(((SECONDS - start) / 60)) min" >&2
fi
if [ -n "$pack" ]; then
    base=$(basename "$prefix")
    tar -cJf "$pack" -C "$(dirname "$prefix")" --exclude=.built --exclude=.unpacked \
        --transform "s,^$base,$name," "$base"
    echo "packed as $pack" >&2
fi
