#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Unpacks a packed Qt (a .tar.xz holding one NAME/ prefix) into the cache
# once, into a folder named by the tarball's checksum, and prints that
# folder. The folder holds the record of the Qt's source
# (lukimo-qt-source.txt), from the pack or, for a pack made before packs
# carried one, from scripts/qt-packs.txt; a pack with neither is refused. Every checkout on the machine shares the cache, so the unpacking
# holds a lock: a second caller waits for the first and takes its folder,
# and a folder once handed out is never replaced under a running build.
#   unpack-qt.sh TARBALL NAME CACHE CHECK
# CHECK is a path inside the prefix that a real one has (bin/qt-cmake).
set -euo pipefail
tarball=$1 name=$2 cache=$3 check=$4
record=lukimo-qt-source.txt
full=$(sha256sum "$tarball" | cut -d' ' -f1)
folder=$cache/$name-${full:0:16}

# Gives a Qt folder its record from the table, unless it has one.
recorded() {
    [ -f "$1/$record" ] && return
    sed -n "s/^$full //p" "$(dirname "$0")/qt-packs.txt" >"$1/$record.new"
    if [ ! -s "$1/$record.new" ]; then
        rm -f "$1/$record.new"
        echo "$tarball carries no record of the Qt source it was built from, and" \
            "scripts/qt-packs.txt knows no pack of its checksum ($full)" >&2
        exit 1
    fi
    mv "$1/$record.new" "$1/$record"
}

if [ ! -f "$folder/.unpacked" ] || [ ! -f "$folder/$record" ]; then
    mkdir -p "$cache"
    exec 9>"$folder.lock"
    flock 9
    if [ ! -f "$folder/.unpacked" ]; then
        scratch=$(mktemp -d "$cache/unpack.XXXXXX")
        trap 'rm -rf "$scratch"' EXIT
        tar -xJf "$tarball" -C "$scratch"
        [ -e "$scratch/$name/$check" ] || { echo "$tarball holds no $name/ Qt prefix" >&2; exit 1; }
        recorded "$scratch/$name"
        touch "$scratch/$name/.unpacked"
        # What an interrupted unpacking left.
        rm -rf "$folder"
        mv -T "$scratch/$name" "$folder"
    fi
    # A folder unpacked before packs were recorded is never replaced under
    # a build that uses it: it only gains its record.
    recorded "$folder"
fi
echo "$folder"
