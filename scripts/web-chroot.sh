#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# The Debian 13 chroot that the browser build runs in (Debian 12's emscripten
# is too old for Qt 6.8). It lives in the user's cache outside the source
# tree, is shared by every checkout on the machine, is made once with
# debootstrap and is checked for its packages on every use (what is missing
# is installed).
#   web-chroot.sh                  make or complete the chroot; print its folder
#   web-chroot.sh run [-b DIR]... -- CMD...
#                                  run CMD in it as the calling user, in the
#                                  checkout's folder, with the checkout and
#                                  each DIR bound at the same path
#   web-chroot.sh run-as-root ...  the same, as root (the Qt build installs
#                                  its source packages with it)
#
# Sharing: whatever is mounted for a command is mounted in a private mount
# namespace of that command alone, so nothing stays mounted when it ends or
# fails, and two checkouts' commands can run side by side. A lock file beside
# the chroot is held shared while a command runs and exclusive while the
# chroot is made or changed, so it never changes under a running build.
# Called by a user other than root, the mounting part runs through sudo (the
# command itself still runs as that user). LUKIMO_JOBS, when set, reaches the
# command, which may use it as its number of parallel jobs.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd -P)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/lukimo
root=$cache/debian-13-web
lockfile=$cache/debian-13-web.lock

# What WASM.md lists, plus the font subset's font and tools, the icon
# renderer and zip for the package.
packages=(emscripten binaryen nodejs cmake ninja-build python3 perl qt6-base-dev
    qt6-base-dev-tools qt6-tools-dev-tools qt6-l10n-tools qt6-tools-dev xz-utils brotli file
    g++ make pkg-config ca-certificates fonts-vlgothic python3-fonttools librsvg2-bin zip
    dpkg-dev)

as_root() {
    if [ "$(id -u)" = 0 ]; then "$@"; else sudo -- "$@"; fi
}

# The archive the host itself installs from, so that a machine behind a
# local mirror uses it for Debian 13 too.
mirror() {
    local uri
    uri=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list \
        2>/dev/null | grep -v '^[[:space:]]*#' | grep -oE '(https?|file)://[^ ]+' | sed 's,/*$,,' |
        grep -vE 'security|updates|backports' | grep -E '/debian$' | head -n1 || true)
    echo "${uri:-http://deb.debian.org/debian}"
}

missing_packages() {
    local installed
    installed=$(dpkg-query --admindir="$root/var/lib/dpkg" -W -f '${db:Status-Status} ${Package}\n' \
        "${packages[@]}" 2>/dev/null | awk '$1 == "installed" { print $2 }' || true)
    for p in "${packages[@]}"; do
        grep -qxF "$p" <<<"$installed" || echo "$p"
    done
}

# The source of Qt comes from the same archive (build-qt-wasm.sh).
has_sources() {
    grep -qs '^deb-src ' "$root/etc/apt/sources.list"
}

ready() {
    [ -f "$root/.lukimo-complete" ] && [ -f "$root/opt/emsdk-shim/.emscripten" ] &&
        has_sources && [ -z "$(missing_packages)" ]
}

# Removes a chroot folder, but never one with anything mounted in it (in
# this namespace: the others' mounts are kept out by the lock).
remove_tree() {
    if findmnt -rn -o TARGET | grep -qE "^$1(/|\$)"; then
        echo "$1 has something mounted in it; not removing it" >&2
        exit 1
    fi
    as_root rm -rf "$1"
}

# Runs a command as root in the chroot with /proc, /dev and a private /tmp,
# all mounted in a namespace that ends with it.
root_in_chroot() {
    as_root unshare -m --propagation private -- bash -c '
        set -e
        root=$1; shift
        mount -t proc proc "$root/proc"
        mount --rbind /dev "$root/dev"
        mount -t tmpfs tmpfs "$root/tmp"
        cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
        exec chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
            LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"' _ "$root" "$@"
}

# Makes the chroot, or installs what it lacks. Called with the lock held
# exclusively.
make_ready() {
    if [ ! -f "$root/.lukimo-complete" ]; then
        local scratch=$root.new start=$SECONDS
        # A half-made chroot from a run that failed: nothing can be mounted
        # in it, since its mounts lived in a namespace that has ended.
        remove_tree "$scratch"
        echo "Making the Debian 13 chroot in $root (a few minutes, once)" >&2
        as_root unshare -m --propagation private -- \
            debootstrap --variant=minbase trixie "$scratch" "$(mirror)" >&2
        printf '#!/bin/sh\nexit 101\n' | as_root tee "$scratch/usr/sbin/policy-rc.d" >/dev/null
        as_root chmod 755 "$scratch/usr/sbin/policy-rc.d"
        as_root touch "$scratch/.lukimo-complete"
        remove_tree "$root"
        as_root mv "$scratch" "$root"
        echo "debootstrap took $((SECONDS - start)) s" >&2
    fi
    local missing
    missing=$(missing_packages)
    if ! has_sources; then
        sed -n 's/^deb /deb-src /p' "$root/etc/apt/sources.list" | head -n1 |
            as_root tee -a "$root/etc/apt/sources.list" >/dev/null
        missing=${missing:-apt}
    fi
    if [ -n "$missing" ]; then
        local start=$SECONDS
        echo "Installing into the chroot:" $missing >&2
        root_in_chroot apt-get update -qq >&2
        # shellcheck disable=SC2086
        root_in_chroot apt-get install -y -qq --no-install-recommends $missing >&2
        root_in_chroot apt-get clean >&2
        echo "the packages took $((SECONDS - start)) s" >&2
    fi
    # Qt's CMake wants an emsdk layout: a folder with a .emscripten file and
    # upstream/emscripten in it (Debian keeps emscripten elsewhere).
    if [ ! -f "$root/opt/emsdk-shim/.emscripten" ]; then
        as_root mkdir -p "$root/opt/emsdk-shim/upstream"
        as_root ln -sfn /usr/share/emscripten "$root/opt/emsdk-shim/upstream/emscripten"
        echo "EMSCRIPTEN_ROOT = '/upstream/emscripten'" |
            as_root tee "$root/opt/emsdk-shim/.emscripten" >/dev/null
    fi
}

# debootstrap and the rest of the host's side; stdout is this script's answer.
"$repo/scripts/install-deps.sh" web >&2
mkdir -p "$cache"
exec 9>>"$lockfile"
# Shared for a look; exclusive only when something has to change, which
# waits for the builds running in it to end.
flock -s 9
if ! ready; then
    flock -u 9
    flock -x 9
    make_ready
    flock -s 9
fi

mode=${1:-}
case $mode in
    "")
        echo "$root"
        exit 0
        ;;
    run | run-as-root) shift ;;
    *)
        echo "usage: $0 [run|run-as-root [-b DIR]... -- CMD...]" >&2
        exit 2
        ;;
esac

binds=("$repo")
while [ $# -gt 0 ] && [ "$1" != -- ]; do
    case $1 in
        -b) binds+=("$(cd "$2" && pwd -P)"); shift 2 ;;
        *) echo "unknown option $1" >&2; exit 2 ;;
    esac
done
[ "${1:-}" = -- ] && shift
[ $# -gt 0 ] || { echo "no command to run" >&2; exit 2; }

caller=
[ "$mode" = run ] && caller=$(id -u):$(id -g)
# The lock stays held (shared) by this shell while the command runs.
as_root unshare -m --propagation private -- bash -c '
    set -e
    root=$1 caller=$2 workdir=$3 term=$4 jobs=$5 nbinds=$6; shift 6
    mount -t proc proc "$root/proc"
    mount --rbind /dev "$root/dev"
    mount -t tmpfs -o mode=1777 tmpfs "$root/tmp"
    # Made after the private /tmp, so that a folder under /tmp (a checkout
    # or a cache there) has its mount point too. An empty folder to mount
    # on is the only change a run makes to the chroot; making it cannot
    # disturb another build, so the shared lock is enough.
    for ((i = 0; i < nbinds; i++)); do
        mkdir -p "$root$1"
        mount --bind "$1" "$root$1"
        shift
    done
    exec chroot ${caller:+--userspec=$caller} "$root" /usr/bin/env -i \
        PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/tmp LANG=C.UTF-8 EMSDK=/opt/emsdk-shim \
        TERM="$term" LUKIMO_JOBS="$jobs" \
        bash -c "cd \"\$0\" && exec \"\$@\"" "$workdir" "$@"' \
    _ "$root" "$caller" "$PWD" "${TERM:-dumb}" "${LUKIMO_JOBS:-}" "${#binds[@]}" "${binds[@]}" "$@"
