#!/usr/bin/env bash
# Refreshes translations/lukimo_ja.ts from the sources: new texts arrive
# unfinished, texts no longer in the code are dropped. Translate the new ones
# before committing; the catalogue test fails on any that are left.
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=$(command -v lupdate6 || echo /usr/lib/qt6/bin/lupdate)
"$lupdate" -I . -locations none -no-obsolete app numberwindow settings pastdata help \
    -ts translations/lukimo_ja.ts
