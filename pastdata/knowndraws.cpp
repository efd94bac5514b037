// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pastdata/knowndraws.h"

#include "pastdata/past_data.h"

#include <utility>

namespace {

constexpr int DIGIT_BITS = 10;

// The value of the bits bits from bit offset on, lowest first.
int bitsAt(const unsigned char *bytes, qsizetype offset, int bits)
{
    int value = 0;
    for (int i = 0; i < bits; ++i, ++offset)
        value |= ((bytes[offset / 8] >> (offset % 8)) & 1) << i;
    return value;
}

int builtInDigits(int draw)
{
    return bitsAt(pastDataTables.digits, qsizetype(draw - 1) * DIGIT_BITS, DIGIT_BITS);
}

QDate builtInDate(int draw)
{
    qint64 day = pastDataTables.firstDateJulianDay;
    for (int gap = 0; gap < draw - 1; ++gap)
        day += bitsAt(pastDataTables.dayGaps, qsizetype(gap) * pastDataTables.dayGapBits,
                      pastDataTables.dayGapBits);
    return QDate::fromJulianDay(day);
}

std::optional<DrawPrizes> builtInPrizes(int draw)
{
    if (draw < pastDataTables.firstPrizedDraw)
        return std::nullopt;
    const int *bits = pastDataTables.prizeBits;
    const qsizetype at =
        qsizetype(draw - pastDataTables.firstPrizedDraw) * (bits[0] + bits[1] + bits[2]);
    DrawPrizes prizes;
    prizes.straight = bitsAt(pastDataTables.prizes, at, bits[0]) * 100;
    prizes.box = bitsAt(pastDataTables.prizes, at + bits[0], bits[1]) * 100;
    prizes.mini = bitsAt(pastDataTables.prizes, at + bits[0] + bits[1], bits[2]) * 100;
    // A set ticket is half straight and half box: it wins half of each,
    // rounded down to 100 yen, and nothing where no box is paid.
    if (prizes.box > 0) {
        prizes.setStraight = (prizes.straight + prizes.box) / 200 * 100;
        prizes.setBox = prizes.box / 200 * 100;
    }
    return prizes;
}

} // namespace

KnownDraws::KnownDraws(QList<PastDraw> later) : later(std::move(later)) {}

int KnownDraws::builtInLast()
{
    return pastDataTables.draws;
}

int KnownDraws::last() const
{
    return later.isEmpty() ? builtInLast() : later.last().draw;
}

QDate KnownDraws::lastDate() const
{
    for (auto draw = later.crbegin(); draw != later.crend(); ++draw) {
        if (draw->date.isValid())
            return draw->date;
    }
    return builtInDate(builtInLast());
}

std::optional<PastDraw> KnownDraws::draw(int number) const
{
    if (number >= first() && number <= builtInLast())
        return PastDraw{number, builtInDate(number), builtInDigits(number), builtInPrizes(number)};
    for (const PastDraw &added : later) {
        if (added.draw == number)
            return added;
    }
    return std::nullopt;
}

int KnownDraws::timesDrawn(int digits) const
{
    int times = 0;
    for (int draw = first(); draw <= builtInLast(); ++draw)
        times += builtInDigits(draw) == digits ? 1 : 0;
    for (const PastDraw &added : later)
        times += added.digits == digits ? 1 : 0;
    return times;
}
