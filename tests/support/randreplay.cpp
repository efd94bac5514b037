// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/randreplay.h"

#include <QSet>

#include <cstdlib>

RandReplay::RandReplay(int count)
{
    std::srand(1);
    for (int i = 0; i < count; ++i)
        numbers << std::rand();
    std::srand(1);
}

bool RandReplay::digitsDiffer(int count) const
{
    QSet<int> digits;
    for (qsizetype i = used; i < used + count && i < numbers.size(); ++i)
        digits.insert(numbers[i] % 10);
    return digits.size() == count;
}

int RandReplay::digit(int top)
{
    if (used >= numbers.size())
        qFatal("RandReplay: more draws asked for than were taken");
    return numbers[used++] % (top + 1);
}

int RandReplay::freeNumber()
{
    const int ones = digit(9);
    const int tens = digit(9);
    return digit(9) * 100 + tens * 10 + ones;
}

int RandReplay::fourDigitNumber()
{
    const int ones = digit(9);
    const int tens = digit(9);
    const int hundreds = digit(9);
    return digit(9) * 1000 + hundreds * 100 + tens * 10 + ones;
}

int RandReplay::limitedNumber(int hundredsTop, int tensTop, int onesTop)
{
    const int hundreds = hundredsTop > 0 ? digit(hundredsTop) : 0;
    const int tens = tensTop > 0 ? digit(tensTop) : 0;
    const int ones = onesTop > 0 ? digit(onesTop) : 0;
    return hundreds * 100 + tens * 10 + ones;
}
