#!/usr/bin/env bash
# Builds the Debian package and checks it: its name, its declared
# dependencies, its files, the desktop entry and AppStream metadata; then
# unpacks it and starts the installed `lukimo` command from another folder
# under a Japanese locale on a virtual X display, which must find its data.
#   check-package.sh BUILD-DIR SOURCE-DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
source "$source_dir/scripts/xvfb.sh"
work=$(mktemp -d -t lukimo-package.XXXXXX)
trap 'kill ${pid:-} ${XVFB_PID:-} 2>/dev/null || true; rm -rf "$work"' EXIT
trap 'exit 1' HUP INT TERM
# Every temporary file of this check, its tools' included, stays in $work.
export TMPDIR="$work" XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
fail() { echo "FAIL: $*"; exit 1; }

version=$(sed -n 's/^set(LUKIMO_VERSION "\(.*\)")$/\1/p' "$source_dir/CMakeLists.txt")
arch=$(dpkg --print-architecture)
deb="$work/lukimo_${version}_${arch}.deb"
(cd "$build" && cpack -B "$work" >/dev/null) || fail "cpack failed"
[ -f "$deb" ] || fail "no $(basename "$deb")"

depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6multimedia6 qt6-qpa-plugins libc6; do
    grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done

root="$work/root"
dpkg-deb -x "$deb" "$root"
for file in usr/bin/lukimo usr/libexec/lukimo/lukimo usr/share/lukimo/lukimo_ja.qm \
    usr/share/lukimo/html/index.html usr/share/lukimo/wav/check.wav \
    usr/share/applications/org.lukimo.Lukimo.desktop \
    usr/share/metainfo/org.lukimo.Lukimo.metainfo.xml \
    usr/share/icons/hicolor/scalable/apps/lukimo.svg; do
    [ -e "$root/$file" ] || fail "the package lacks /$file"
done
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/org.lukimo.Lukimo.metainfo.xml" ||
    fail "the metainfo does not name release $version"
desktop-file-validate "$root/usr/share/applications/org.lukimo.Lukimo.desktop" ||
    fail "desktop entry is not valid"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.lukimo.Lukimo.metainfo.xml" >/dev/null ||
    fail "AppStream metadata is not valid"

# The command finds its catalogue wherever it is started from: under a
# Japanese locale the window title is translated.
start_xvfb
cd "$work"
unset QT_QPA_PLATFORM
LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8 "$root/usr/bin/lukimo" >/dev/null 2>"$work/stderr" &
pid=$!
title=$(window_title_of "$pid") || { cat "$work/stderr"; fail "the installed program showed no window"; }
[ "$title" = "ルキモ" ] || fail "the window title is '$title', not the Japanese one"
echo "package: $(basename "$deb") is complete and its lukimo command runs"
