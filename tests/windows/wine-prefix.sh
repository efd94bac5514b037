#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Creates a fresh wine prefix for a test run, or removes it again.
#   wine-prefix.sh create|remove DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-lib.sh"
case $1 in
create)
    rm -rf "$2"
    create_wine_prefix "$2"
    ;;
remove)
    remove_wine_prefix "$2"
    ;;
*)
    echo "usage: $0 create|remove DIR" >&2
    exit 2
    ;;
esac
