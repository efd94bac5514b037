// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef RANDREPLAY_H
#define RANDREPLAY_H

#include <QList>

// The numbers rand() is about to give a program that never seeds it, taken
// from the C library the test runs on, so that a test expects what a user
// of that platform sees. Creating it starts rand() over where an unseeded
// program starts it (the C standard's srand(1)); the draws that follow take
// these numbers, in this order.
class RandReplay
{
public:
    explicit RandReplay(int count = 200);

    // Whether the next count draws, as digits, all differ: only then does a
    // digit drawn out of turn change the number shown.
    bool digitsDiffer(int count) const;

    // The number the free draw shows next: three digits, the ones drawn
    // first, then the tens, then the hundreds.
    int freeNumber();
    // The same with four digits, up to the thousands.
    int fourDigitNumber();
    // The number the draw under the settings' limits shows next: the
    // hundreds drawn first, each digit from 0 to its top, and a top of 0
    // drawing nothing.
    int limitedNumber(int hundredsTop, int tensTop, int onesTop);

private:
    int digit(int top);

    QList<int> numbers;
    qsizetype used = 0;
};

#endif
