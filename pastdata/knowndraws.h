// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef KNOWNDRAWS_H
#define KNOWNDRAWS_H

#include <QDate>
#include <QList>

#include <optional>

// What each kind of ticket won on a draw, in yen; 0 where the kind was not
// paid (a box, and so a set, on three equal digits).
struct DrawPrizes
{
    int straight = 0;
    int box = 0;
    int setStraight = 0;
    int setBox = 0;
    int mini = 0;
};

struct PastDraw
{
    int draw = 0;
    QDate date;
    // The winning number, 0 to 999: the result 0 3 9 is 39.
    int digits = 0;
    // Nothing where the prizes of the draw are not known.
    std::optional<DrawPrizes> prizes;
};

// The draws the program knows: those built into it, draws 1 to
// builtInLast(), then any later ones it is given, in draw order. Between
// the built-in draws and the later ones, and among the later ones, draw
// numbers may be missing; a missing draw is not known.
class KnownDraws
{
public:
    // later: draws after the built-in ones, in increasing draw order.
    explicit KnownDraws(QList<PastDraw> later = {});

    static int builtInLast();

    int first() const { return 1; }
    int last() const;
    // The date of the last draw known with one.
    QDate lastDate() const;
    // The draws after the built-in ones.
    const QList<PastDraw> &added() const { return later; }
    std::optional<PastDraw> draw(int number) const;
    // How many known draws had the number digits.
    int timesDrawn(int digits) const;

private:
    QList<PastDraw> later;
};

// The draws the whole program answers from: the built-in ones and those the
// user added (see addeddraws.h), read from the user's file the first time
// they are needed.
const KnownDraws &knownDraws();

#endif
