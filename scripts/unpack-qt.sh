#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Unpacks a packed Qt (a .tar.xz holding one NAME/ prefix) into the cache
# once, into a folder named by the tarball's checksum, and prints that
# folder. Every checkout on the machine shares the cache, so the unpacking
# holds a lock: a second caller waits for the first and takes its folder,
# and a folder once handed out is never replaced under a running build.
#   unpack-qt.sh TARBALL NAME CACHE CHECK
# CHECK is a path inside the prefix that a real one has (bin/qt-cmake).
set -euo pipefail
tarball=$1 name=$2 cache=$3 check=$4
sum=$(sha256sum "$tarball" | cut -c1-16)
folder=$cache/$name-$sum
if [ ! -f "$folder/.unpacked" ]; then
    mkdir -p "$cache"
    exec 9>"$folder.lock"
    flock 9
    if [ ! -f "$folder/.unpacked" ]; then
        scratch=$(mktemp -d "$cache/unpack.XXXXXX")
        trap 'rm -rf "$scratch"' EXIT
        tar -xJf "$tarball" -C "$scratch"
        [ -e "$scratch/$name/$check" ] || { echo "$tarball holds no $name/ Qt prefix" >&2; exit 1; }
        touch "$scratch/$name/.unpacked"
        # What an interrupted unpacking left.
        rm -rf "$folder"
        mv -T "$scratch/$name" "$folder"
    fi
fi
echo "$folder"
