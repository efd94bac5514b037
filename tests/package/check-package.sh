#!/usr/bin/env bash
# Checks that the install script takes the build dependencies from
# debian/control, then builds the Debian source and binary packages from a
# copy of the tracked files as Debian does (dpkg-buildpackage, which runs the
# unit tests) and checks them: the source package holds exactly the tracked
# files; lintian finds no errors; the binary package's name, declared
# dependencies, files, desktop entry and AppStream metadata are right, and a
# plain `cmake --install` of a build of the program alone installs the same.
# Then it unpacks the package and starts the installed `lukimo` command from
# another folder under a Japanese locale on a virtual X display, which must
# find its data and write its trace to standard output, and starts it as the
# desktop entry does, which must discard the trace.
#   check-package.sh SOURCE-DIR VERSION
set -euo pipefail
source_dir=$(cd "$1" && pwd)
version=$2
source "$source_dir/scripts/xvfb.sh"
work=$(mktemp -d -t lukimo-package.XXXXXX)
trap 'kill ${pid:-} ${XVFB_PID:-} 2>/dev/null || true; rm -rf "$work"' EXIT
trap 'exit 1' HUP INT TERM
# Every temporary file of this check, its tools' included, stays in $work.
export TMPDIR="$work" XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
fail() { echo "FAIL: $*"; exit 1; }

# The sources as a fresh clone has them: what git tracks, as it is now.
mkdir "$work/src"
if git -C "$source_dir" rev-parse --git-dir >/dev/null 2>&1; then
    git -C "$source_dir" ls-files -z --cached --others --exclude-standard |
        (cd "$source_dir" && xargs -0 cp --parents -t "$work/src")
else
    cp -a "$source_dir/." "$work/src"
    rm -rf "$work/src"/build*
fi
(cd "$work/src" && find . -type f | sed 's|^\./||' | sort) >"$work/tracked.files"
# What a working copy gathers besides: git's own folder, a sample of
# everything the .gitignore files name (build folders among them), the web
# tools' downloads and the caches of Python and clangd. None of it may reach
# the source package.
junk() { mkdir -p "$(dirname "$work/src/$1")" && echo junk >"$work/src/$1"; }
junk .git/HEAD
junk node_modules/qt/package.json
junk scripts/__pycache__/mutation.cpython-311.pyc
junk .cache/clangd/index/main.cpp.idx
while IFS= read -r ignore; do
    dir=$(dirname "$ignore")
    while IFS= read -r pattern; do
        case "$pattern" in '' | '#'* | '!'*) continue ;; esac
        sample=${pattern#/}
        sample=${sample//\*/x}
        sample=${sample//\?/x}
        case "$sample" in
        */) junk "$dir/${sample}CMakeCache.txt" ;;
        *) junk "$dir/$sample" ;;
        esac
    done <"$work/src/$ignore"
done < <(cd "$work/src" && find . -name .gitignore -printf '%P\n')

# A source package without a Debian revision: its upstream is this same
# repository, so the changelog's latest entry is the version CMake builds.
changelog_version=$(cd "$work/src" && dpkg-parsechangelog -S Version)
[ "$changelog_version" = "$version" ] ||
    fail "debian/changelog's latest entry is $changelog_version, the program's version $version"
# The build dependencies are listed once, in debian/control: the install
# script takes them from there and names only what running and testing need
# besides. Those for the tests alone may be named again where running needs
# them too (a font).
build_depends=$(sed -n '/^Build-Depends:/,/^[^ ]/{s/^Build-Depends://;/^[^ ]/d;p}' \
    "$work/src/debian/control" | tr ',' '\n' | grep -v '<!nocheck>' |
    sed 's/[[:space:]]*\([^ :(]*\).*/\1/' | grep .)
named=$(sed 's/#.*//' "$work/src/scripts/install-deps.sh" | tr -s ' \t()' '\n\n')
for package in $build_depends; do
    ! grep -qxF "$package" <<<"$named" ||
        fail "scripts/install-deps.sh names $package, a build dependency of debian/control"
done
# Where nothing is missing, it installs nothing and needs no root.
mkdir "$work/no-root"
for tool in sudo apt-get; do
    printf '#!/bin/sh\necho "%s $*" >>"%s"\nexit 1\n' "$tool" "$work/no-root/called" >"$work/no-root/$tool"
    chmod +x "$work/no-root/$tool"
done
PATH="$work/no-root:$PATH" "$work/src/scripts/install-deps.sh" test >"$work/install-deps.log" 2>&1 ||
    { cat "$work/install-deps.log"; fail "scripts/install-deps.sh test fails where nothing is missing"; }
[ ! -e "$work/no-root/called" ] ||
    fail "scripts/install-deps.sh test calls $(cat "$work/no-root/called") where nothing is missing"

# Built as a build machine would: the source package and the binary ones, with
# the unit tests, without a compiler launcher, on two cores.
unset CMAKE_CXX_COMPILER_LAUNCHER CMAKE_C_COMPILER_LAUNCHER DEB_BUILD_PROFILES
export DEB_BUILD_OPTIONS=parallel=2
(cd "$work/src" && dpkg-buildpackage -us -uc >"$work/dpkg-buildpackage.log" 2>&1) ||
    { tail -n 40 "$work/dpkg-buildpackage.log"; fail "dpkg-buildpackage failed"; }
build_seconds=$SECONDS
# The package build runs the unit tests, and only them: the end-to-end and
# package tests need what a build machine lacks.
grep -Eq '^100% tests passed, 0 tests failed out of [1-9]' "$work/dpkg-buildpackage.log" ||
    fail "the package build ran no unit tests"
labels=$(sed -n '/^Label Time Summary:/,/^$/s/^\([a-z0-9_-]*\) *=.*/\1/p' "$work/dpkg-buildpackage.log")
[ "$labels" = unit ] || fail "the package build ran tests labelled: $labels"
arch=$(dpkg --print-architecture)
deb="$work/lukimo_${changelog_version}_${arch}.deb"
changes="$work/lukimo_${changelog_version}_${arch}.changes"
tarball="$work/lukimo_${changelog_version}.tar.xz"
for file in "$deb" "$changes" "$tarball" "$work/lukimo_${changelog_version}.dsc"; do
    [ -f "$file" ] || fail "dpkg-buildpackage made no $(basename "$file")"
done

# The source package holds exactly the tracked files.
tar -tf "$tarball" | sed -n 's|^[^/]*/||; /[^/]$/p' | sort >"$work/tarball.files"
diff -u "$work/tracked.files" "$work/tarball.files" ||
    fail "the source package holds other files than git tracks"

python3 "$source_dir/tests/package/check-copyright.py" "$work/src" ||
    fail "debian/copyright lacks the stanza of a file from elsewhere"

depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6multimedia6 qt6-qpa-plugins libc6; do
    grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
# Wayland's plugin only where it is wanted: X11 and XWayland run without it.
recommends=$(dpkg-deb -f "$deb" Recommends)
grep -qw qt6-wayland <<<"$recommends" && ! grep -qw qt6-wayland <<<"$depends" ||
    fail "qt6-wayland is not a recommendation alone: Depends $depends; Recommends $recommends"
repeated=$(tr ',' '\n' <<<"$depends" | awk '{ print $1 }' | sort | uniq -d)
[ -z "$repeated" ] || fail "Depends names $repeated more than once: $depends"

# lintian: no errors, and none of its hardening hints. What it still says
# is shown in the test's output.
lintian --no-cfg --fail-on error --display-info "$changes" >"$work/lintian" 2>&1 ||
    { cat "$work/lintian"; fail "lintian finds errors"; }
grep -v '^running with root privileges' "$work/lintian" | sed 's/^/lintian: /' || true
! grep -q 'hardening-' "$work/lintian" || fail "the program is built without Debian's hardening"

root="$work/root"
dpkg-deb -x "$deb" "$root"
for file in usr/bin/lukimo usr/libexec/lukimo/lukimo usr/libexec/lukimo/lukimosound.so \
    usr/share/lukimo/lukimo_ja.qm \
    usr/share/lukimo/html/index.html usr/share/lukimo/wav/check.wav \
    usr/share/applications/org.lukimo.Lukimo.desktop \
    usr/share/metainfo/org.lukimo.Lukimo.metainfo.xml \
    usr/share/icons/hicolor/scalable/apps/lukimo.svg \
    usr/share/man/man1/lukimo.1.gz usr/share/doc/lukimo/copyright; do
    [ -e "$root/$file" ] || fail "the package lacks /$file"
done
doc="$root/usr/share/doc/lukimo"
# A native package's changelog is the program's own: changelog, not
# changelog.Debian.
zcat "$doc/changelog.gz" | head -n 1 | grep -qF "lukimo ($changelog_version)" ||
    fail "the installed changelog's latest entry is not $changelog_version"
# debhelper compresses the README; read either way, and find its pictures.
[ -f "$doc/README.md.gz" ] || [ -f "$doc/README.md" ] || fail "the package lacks the README"
pictures=$(zcat -f "$doc"/README.md* | sed -n 's/.*!\[[^]]*\](\([^)]*\)).*/\1/p')
[ -n "$pictures" ] || fail "the installed README shows no pictures"
for picture in $pictures; do
    [ -f "$doc/$picture" ] || fail "the installed README shows $picture, which is not installed"
done
for size in 16 22 24 32 48 64 128 256; do
    icon="$root/usr/share/icons/hicolor/${size}x${size}/apps/lukimo.png"
    [ -f "$icon" ] || fail "the package lacks the ${size} px icon"
    [ "$(identify -format '%wx%h' "$icon")" = "${size}x${size}" ] ||
        fail "the ${size} px icon is $(identify -format '%wx%h' "$icon")"
done
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/org.lukimo.Lukimo.metainfo.xml" ||
    fail "the metainfo does not name release $version"
desktop-file-validate "$root/usr/share/applications/org.lukimo.Lukimo.desktop" ||
    fail "desktop entry is not valid"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.lukimo.Lukimo.metainfo.xml" >/dev/null ||
    fail "AppStream metadata is not valid"

# The README's way without Debian's tools: the program alone built, then
# `cmake --install`. It installs what the package holds, less what Debian adds
# (its changelog and copyright) and compresses (the manual page).
cmake -S "$work/src" -B "$work/plain" -G Ninja -DBUILD_TESTING=OFF -DLUKIMO_BENCHMARKS=OFF \
    >"$work/plain.log" 2>&1 && cmake --build "$work/plain" --target lukimo >>"$work/plain.log" 2>&1 ||
    { tail -n 40 "$work/plain.log"; fail "the program alone does not build"; }
cmake --install "$work/plain" --prefix "$work/prefix" >>"$work/plain.log" 2>&1 ||
    { tail -n 40 "$work/plain.log"; fail "cmake --install fails after building the program alone"; }
(cd "$work/prefix" && find . -type f | sed 's/\.gz$//' | sort) >"$work/plain.files"
(cd "$root/usr" && find . -type f | sed 's/\.gz$//' |
    grep -v -e '^./share/doc/lukimo/changelog$' -e '^./share/doc/lukimo/copyright$' |
    sort) >"$work/package.files"
diff -u "$work/package.files" "$work/plain.files" ||
    fail "cmake --install and the package install different files"
icon=$(sed -n 's/^Icon=//p' "$root/usr/share/applications/org.lukimo.Lukimo.desktop")
[ -f "$work/prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] ||
    fail "cmake --install leaves out the icon $icon that the desktop entry names"

desktop="$root/usr/share/applications/org.lukimo.Lukimo.desktop"
start_xvfb
cd "$work"
unset QT_QPA_PLATFORM
export PATH="$root/usr/bin:$PATH"

# started COMMAND...: starts the installed program in the background, its
# standard output in $work/stdout, and sets pid and window.
started() {
    "$@" >"$work/stdout" 2>"$work/stderr" &
    pid=$!
    window=$(wait_for_search "$pid" --pid "$pid") ||
        { cat "$work/stderr"; fail "the installed program showed no window"; }
}
# stop_roll: a left click stops the roll, which writes a trace line; the
# display then stays the same.
stop_roll() {
    xdotool mousemove --window "$window" 100 30 click 1
    sleep 0.5
    import -window "$window" "$work/a.png"
    sleep 0.5
    import -window "$window" "$work/b.png"
    [ "$(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1 || true)" = 0 ] ||
        fail "a left click did not stop the roll"
}
ended() { kill "$pid"; wait "$pid" 2>/dev/null || true; pid=; }

# From a terminal the command finds its catalogue wherever it is started:
# under a Japanese locale the window title is translated. Its trace reaches
# standard output.
started env LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8 lukimo
title=$(xdotool getwindowname "$window")
[ "$title" = "ルキモ" ] || fail "the window title is '$title', not the Japanese one"
# Docks tie the window to the desktop entry by its class.
wm_class=$(sed -n 's/^StartupWMClass=//p' "$desktop")
window_class=$(xprop -id "$window" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = ".*", "\(.*\)"$/\1/p')
[ "$window_class" = "$wm_class" ] ||
    fail "the window's class is '$window_class', the desktop entry's StartupWMClass '$wm_class'"
stop_roll
[ -s "$work/stdout" ] || fail "the lukimo command wrote no trace to standard output"
ended

# From the desktop menu the trace is discarded.
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
started eval "exec $exec_line"
stop_roll
[ ! -s "$work/stdout" ] || fail "the desktop entry's start writes the trace: $(head -c 200 "$work/stdout")"
ended
echo "package: $(basename "$deb") is complete, and its lukimo command and desktop entry run"
echo "package: dpkg-buildpackage took ${build_seconds} s, the whole check ${SECONDS} s"
