// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef PAST_DATA_H
#define PAST_DATA_H

// The draws built into the program, packed into bit fields, each field's
// bits lowest first, one field after the other from the lowest bit of the
// first byte. Read through knowndraws.h; written by scripts/gen-past-data.py.
struct PastDataTables
{
    // Draws 1 to draws.
    int draws;
    int firstDateJulianDay;
    int dayGapBits;
    // Prizes are held from this draw to the last.
    int firstPrizedDraw;
    // Straight, box and mini, in hundreds of yen.
    int prizeBits[3];
    // 10 bits a draw: its number, 0 to 999.
    const unsigned char *digits;
    // dayGapBits a draw from draw 2 on: the days since the draw before.
    const unsigned char *dayGaps;
    // The three prizes of each draw from firstPrizedDraw on.
    const unsigned char *prizes;
};

extern const PastDataTables pastDataTables;

#endif
