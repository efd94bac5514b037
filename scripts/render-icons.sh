#!/usr/bin/env bash
# Renders the icon's PNG sizes into data/icons/ from its drawings: the 16 px
# one from lukimo-16.svg, 22 and 24 px from lukimo-24.svg (drawn on those
# pixel grids so they stay sharp), the rest from lukimo.svg. The PNGs are
# committed; run this after changing a drawing. Needs rsvg-convert
# (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../data/icons"
command -v rsvg-convert >/dev/null ||
    { echo "rsvg-convert is missing: apt-get install librsvg2-bin" >&2; exit 1; }

for size in 16 22 24 32 48 64 128 256; do
    case $size in
        16) drawing=lukimo-16.svg ;;
        22 | 24) drawing=lukimo-24.svg ;;
        *) drawing=lukimo.svg ;;
    esac
    rsvg-convert --width "$size" --height "$size" "$drawing" --output "lukimo-$size.png"
done
echo "Rendered lukimo-{16,22,24,32,48,64,128,256}.png in data/icons/"
