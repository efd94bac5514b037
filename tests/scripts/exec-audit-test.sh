#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# The check that a run executes only what the install steps bring: it
# records what a command runs, and fails on a program no package owns and
# on one whose package the install steps stop naming (debootstrap, which a
# new machine once lacked).
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
