// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef ICONPIXELS_H
#define ICONPIXELS_H

// The window icon's small sizes, which the build makes from data/icons with
// scripts/icon-pixels.py.

// One size of the window icon: size x size pixels, four bytes each, in the
// order red, green, blue, alpha (not premultiplied).
struct IconPixels
{
    int size;
    const unsigned char *rgba;
};

constexpr int iconSizes = 6;
extern const IconPixels iconPixels[iconSizes];

#endif
