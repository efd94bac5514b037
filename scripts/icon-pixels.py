#!/usr/bin/env python3
"""Writes the window icon's small sizes as raw RGBA pixels into a C++ source,
so that setting the icon at start-up decodes no image file. The build runs it
on data/icons/lukimo-SIZE.png (8-bit RGBA, as scripts/render-icons.sh makes
them); it needs nothing beyond Python's standard library.

    icon-pixels.py OUTPUT.cpp ICON.png...
"""
import struct
import sys
import zlib


def decode_png(path):
    """The pixels of an 8-bit, non-interlaced RGBA PNG, row after row."""
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit(f"{path}: not a PNG file")
    at, header, compressed = 8, None, b""
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        at += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            compressed += body
        elif kind == b"IEND":
            break
    width, height, depth, colour, _, _, interlace = header
    if (depth, colour, interlace) != (8, 6, 0):
        sys.exit(f"{path}: only 8-bit non-interlaced RGBA is read, not {header}")
    raw = zlib.decompress(compressed)
    stride, bpp = width * 4, 4
    pixels, previous = bytearray(), bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        row = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for x in range(stride):
            left = row[x - bpp] if x >= bpp else 0
            up = previous[x]
            corner = previous[x - bpp] if x >= bpp else 0
            if kind == 1:
                row[x] = (row[x] + left) & 0xFF
            elif kind == 2:
                row[x] = (row[x] + up) & 0xFF
            elif kind == 3:
                row[x] = (row[x] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                best = left if pa <= pb and pa <= pc else up if pb <= pc else corner
                row[x] = (row[x] + best) & 0xFF
            elif kind != 0:
                sys.exit(f"{path}: unknown row filter {kind}")
        pixels += row
        previous = row
    return width, height, bytes(pixels)


def main():
    output, icons = sys.argv[1], sys.argv[2:]
    lines = ['#include "app/iconpixels.h"', ""]
    table = []
    for path in icons:
        width, height, pixels = decode_png(path)
        if width != height:
            sys.exit(f"{path}: not square")
        lines.append(f"static const unsigned char icon{width}[{len(pixels)}] = {{")
        for at in range(0, len(pixels), 24):
            lines.append("    " + ", ".join(str(b) for b in pixels[at:at + 24]) + ",")
        lines.append("};")
        table.append(f"    {{{width}, icon{width}}},")
    lines.append(f"const IconPixels iconPixels[iconSizes] = {{")
    lines += table
    lines.append("};")
    lines.append(f"static_assert(iconSizes == {len(icons)});")
    with open(output, "w") as f:
        f.write("\n".join(lines) + "\n")


main()
