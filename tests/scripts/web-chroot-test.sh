#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# The browser build's chroot reaches a folder the build names wherever it
# lies, under /tmp too, where a checkout or a cache may be and where the
# chroot has a /tmp of its own: the command sees the folder's files, runs as
# the caller, and leaves nothing mounted behind. Needs the chroot, which
# scripts/web-chroot.sh makes.
#   web-chroot-test.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d /tmp/lukimo-chroot-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

echo "seen inside" >"$work/probe"
out=$("$root/scripts/web-chroot.sh" run -b "$work" -- sh -c "cat '$work/probe'; id -u" 2>&1) ||
    fail "a folder under /tmp could not be reached: $out"
[ "$(sed -n 1p <<<"$out")" = "seen inside" ] || fail "the command did not see the folder's file: $out"
[ "$(sed -n 2p <<<"$out")" = "$(id -u)" ] || fail "the command did not run as the caller: $out"
chroot_dir=$("$root/scripts/web-chroot.sh")
! findmnt -rn -o TARGET | grep -q "^$chroot_dir/" || fail "something stayed mounted in $chroot_dir"
echo "PASS"
