#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Two checkouts that unpack the same packed Qt at once share one folder: the
# second waits for the first and takes the folder it made, which stays the
# same folder while the first one's build uses it. A tarball without the
# prefix is refused, saying so, and leaves nothing behind, and so is one
# without the record of the Qt source it was built from. Needs only tar,
# xz and flock.
#   unpack-qt-test.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d -t lukimo-unpack.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

mkdir -p "$work/src/qt-test/bin" "$work/bin" "$work/cache"
echo qt >"$work/src/qt-test/bin/qt-cmake"
echo "Qt: test" >"$work/src/qt-test/lukimo-qt-source.txt"
tar -cJf "$work/qt-test.tar.xz" -C "$work/src" qt-test
# A tar that takes as long as the caller says, as a large Qt does.
real_tar=$(command -v tar)
cat >"$work/bin/tar" <<SH
#!/bin/sh
sleep "\${UNPACK_TAKES:-0}"
exec "$real_tar" "\$@"
SH
chmod +x "$work/bin/tar"
unpack() {
    PATH="$work/bin:$PATH" UNPACK_TAKES=$1 \
        "$root/scripts/unpack-qt.sh" "$work/qt-test.tar.xz" qt-test "$work/cache" bin/qt-cmake
}

unpack 1 >"$work/first" &
first=$!
sleep 0.3
unpack 3 >"$work/second" &
second=$!
wait "$first" || fail "the first unpacking failed"
folder=$(cat "$work/first")
[ -f "$folder/bin/qt-cmake" ] || fail "the first caller got no Qt in $folder"
handed=$(stat -c %i "$folder")
wait "$second" || fail "the second unpacking failed"
[ "$(cat "$work/second")" = "$folder" ] || fail "the two callers got different folders"
[ "$(stat -c %i "$folder")" = "$handed" ] ||
    fail "the folder handed to the first caller was replaced under it"
[ -z "$(find "$work/cache" -maxdepth 1 -name 'unpack.*')" ] || fail "an unpacking left its scratch folder"

mkdir -p "$work/bad/qt-test/lib"
tar -cJf "$work/bad.tar.xz" -C "$work/bad" qt-test
if out=$("$root/scripts/unpack-qt.sh" "$work/bad.tar.xz" qt-test "$work/cache" bin/qt-cmake 2>&1); then
    fail "a tarball without a Qt prefix was taken: $out"
fi
grep -q 'holds no qt-test/ Qt prefix' <<<"$out" || fail "the refusal does not say why: $out"
[ "$(find "$work/cache" -mindepth 1 -maxdepth 1 -type d | wc -l)" = 1 ] ||
    fail "the refused tarball left a folder behind: $(ls "$work/cache")"

# A Qt that says nothing of its source, and that no record names, is
# refused too: its notice could not name what it was built from.
mkdir -p "$work/unrecorded/qt-test/bin"
echo qt >"$work/unrecorded/qt-test/bin/qt-cmake"
tar -cJf "$work/unrecorded.tar.xz" -C "$work/unrecorded" qt-test
if out=$("$root/scripts/unpack-qt.sh" "$work/unrecorded.tar.xz" qt-test "$work/cache" bin/qt-cmake 2>&1); then
    fail "a Qt without the record of its source was taken: $out"
fi
grep -q 'no record of the Qt source' <<<"$out" || fail "the refusal does not say why: $out"
echo "PASS"
