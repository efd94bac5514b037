// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef ADDEDDRAWS_H
#define ADDEDDRAWS_H

#include "pastdata/drawpreview.h"
#include "pastdata/knowndraws.h"

#include <QMap>
#include <QStringList>

class DrawStore;

// The known draws as the preview looks them up: a built-in draw is never
// changed, an added one may be replaced.
class KnownDrawsLookup : public DrawLookup
{
public:
    explicit KnownDrawsLookup(const KnownDraws &draws) : draws(draws) {}
    std::optional<KnownDraw> find(int draw) const override;
    std::optional<int> below(int draw, bool dated) const override;
    std::optional<int> above(int draw, bool dated) const override;

private:
    const KnownDraws &draws;
};

// The draws of rows (a store's) that come after the built-in ones, in draw
// order. A row for a built-in draw that agrees with it is passed over; one
// that disagrees is listed in conflicts, since a built-in draw is never
// changed.
QList<PastDraw> laterDraws(const QMap<int, DrawRow> &rows, QList<LineProblem> &conflicts);

// The store of the draws the user added, in the platform's data folder; read
// the first time it is asked for. Nothing is written until draws are added.
DrawStore &addedDrawStore();

// What the first reading of the store passed over, a line each ("draws.csv
// line 3: …"), or why it could not be read at all; said in the trace once.
QStringList addedDrawsProblems();

// Makes knownDraws() answer from the store as it is now, after draws were
// added to it.
void refreshKnownDraws();

#endif
