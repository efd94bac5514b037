#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# The check that a run executes only what the install steps bring: it
# records what a command runs, and fails on a program no package owns and
# on one whose package the install steps stop naming (debootstrap, which a
# new machine once lacked); what dpkg runs for an install (a trigger of a
# package the machine already had) is the package system's, not counted.
#   exec-audit-test.sh
set -euo pipefail
audit=$(cd "$(dirname "$0")/../.." && pwd)/scripts/exec-audit.py
work=$(mktemp -d -t lukimo-exec-audit.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

if [ "$(id -u)" = 0 ]; then
    out=$(python3 "$audit" --log "$work/ran" \
        -- sh -c '(sh -c "sleep 0.2; exec /usr/bin/true" &); sleep 1' 2>&1) ||
        fail "a run of Essential programs failed the check: $out"
    grep -qx /usr/bin/true "$work/ran" || fail "an orphaned grandchild's program was not recorded: $(cat "$work/ran")"

    # Two packages in a dpkg database of the test's own: installing the
    # second fires the first one's file trigger, which runs cmake (here
    # since ctest runs this). The trigger's cmake goes to the package
    # system's list; the same cmake run by the command itself is counted.
    cmake=$(realpath "$(command -v cmake)")
    for p in interest activate; do
        mkdir -p "$work/$p/DEBIAN"
        printf 'Package: lukimo-audit-%s\nVersion: 1\nArchitecture: all\nMaintainer: t <t@example.org>\nDescription: t\n' \
            $p >"$work/$p/DEBIAN/control"
    done
    echo "interest-noawait /usr/share/lukimo-audit" >"$work/interest/DEBIAN/triggers"
    printf '#!/bin/sh\n[ "$1" != triggered ] || "%s" --version >/dev/null\n' "$cmake" >"$work/interest/DEBIAN/postinst"
    chmod 755 "$work/interest/DEBIAN/postinst"
    mkdir -p "$work/activate/usr/share/lukimo-audit" && touch "$work/activate/usr/share/lukimo-audit/file"
    mkdir -p "$work/root/var/lib/dpkg/info" "$work/root/var/lib/dpkg/updates" && touch "$work/root/var/lib/dpkg/status"
    dpkg="dpkg --root=$work/root --force-script-chrootless"
    for p in interest activate; do dpkg-deb -Zgzip --root-owner-group -b "$work/$p" "$work/$p.deb" >/dev/null; done
    $dpkg -i "$work/interest.deb" >/dev/null
    python3 "$audit" --log "$work/ran" -- $dpkg -i "$work/activate.deb" >"$work/out" 2>&1 ||
        fail "a trigger's program failed the check: $(cat "$work/out")"
    grep -qx "$cmake" "$work/ran.dpkg" || fail "the trigger did not run cmake: $(cat "$work/out")"
    ! grep -qx "$cmake" "$work/ran" || fail "the trigger's cmake was counted as the run's"
    python3 "$audit" --log "$work/ran" -- "$cmake" --version >/dev/null 2>&1
    grep -qx "$cmake" "$work/ran" || fail "cmake run by the command itself was not counted"
else
    echo "recording needs root; checking recorded lists only"
fi

echo /usr/bin/lukimo-from-no-package >"$work/unowned"
! out=$(python3 "$audit" --check "$work/unowned") || fail "a program of no package passed: $out"
grep -q '(no package): /usr/bin/lukimo-from-no-package' <<<"$out" || fail "the failure does not say why: $out"

# A named package's program passes, and fails once its install step is
# gone: debootstrap where the browser build installed it, else Xvfb.
for program in debootstrap Xvfb; do
    path=$(command -v "$program") || continue
    package=$(dpkg-query -S "$(realpath "$path")" 2>/dev/null | cut -d: -f1) || continue
    realpath "$path" >"$work/ran"
    python3 "$audit" --check "$work/ran" >/dev/null || fail "$program fails the check while named"
    ! out=$(python3 "$audit" --check "$work/ran" --without "$package") ||
        fail "$program passed with its install step gone: $out"
    grep -q "^  $package: " <<<"$out" || fail "the failure does not name $package: $out"
    break
done
echo PASS
