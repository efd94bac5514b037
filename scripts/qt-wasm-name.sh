#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# The name of the Qt for WebAssembly this checkout builds with:
# qt-6.8.2-wasm-lukimo-ID, where ID is the first 12 hex digits of a SHA-256
# over what makes that Qt ours: patches/qt-wasm's series, its configure
# switches, the characters its fonts keep and every patch the series names,
# in its order, and the script that builds it. A Qt of another
# name (the unpatched pack among them) is never used, and a pack made for
# this checkout's series is named so: ../shared/toolchains/NAME.tar.xz.
#   qt-wasm-name.sh        the name
#   qt-wasm-name.sh --id   the ID alone
#   qt-wasm-name.sh --list the series' patches, one path a line
set -euo pipefail
dir=$(cd "$(dirname "$0")/../patches/qt-wasm" && pwd)
patches=$(sed -e 's/#.*//' -e 's/[[:space:]]*$//' "$dir/series" | grep -v '^$' || true)
if [ "${1:-}" = --list ]; then
    for p in $patches; do echo "$dir/$p"; done
    exit 0
fi
id=$( (cd "$dir" && for f in series configure-options fonts $patches; do
    [ -f "$f" ] || { echo "patches/qt-wasm/series names $f, which is not there" >&2; exit 1; }
    sha256sum "$f"
done && cd ../../scripts && sha256sum build-qt-wasm.sh) | sha256sum | cut -c1-12)
case ${1:-} in
    --id) echo "$id" ;;
    "") echo "qt-6.8.2-wasm-lukimo-$id" ;;
    *) echo "usage: $0 [--id|--list]" >&2; exit 2 ;;
esac
