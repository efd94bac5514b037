// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pastdata/addeddraws.h"

#include "common/trace.h"
#include "pastdata/drawstore.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

class Text
{
    Q_DECLARE_TR_FUNCTIONS(DrawStore)
};

QString threeDigits(int digits)
{
    return QString::number(digits).rightJustified(3, QLatin1Char('0'));
}

struct ProgramDraws
{
    KnownDraws draws;
    QStringList problems;
};

KnownDraws fromStore(const DrawStore &store, QList<LineProblem> &conflicts)
{
    return KnownDraws(laterDraws(store.draws(), conflicts));
}

ProgramDraws &programDraws()
{
    static ProgramDraws program = [] {
        const DrawStore &store = addedDrawStore();
        ProgramDraws read;
        QList<LineProblem> skipped = store.skipped();
        read.draws = fromStore(store, skipped);
        std::stable_sort(
            skipped.begin(), skipped.end(),
            [](const LineProblem &a, const LineProblem &b) { return a.line < b.line; });
        if (!store.problem().isEmpty())
            read.problems << store.problem();
        for (const LineProblem &problem : std::as_const(skipped))
            read.problems
                << Text::tr("draws.csv line %1 skipped: %2").arg(problem.line).arg(problem.reason);
        for (const QString &problem : std::as_const(read.problems))
            trace("%s\n", problem.toUtf8().constData());
        return read;
    }();
    return program;
}

} // namespace

std::optional<KnownDraw> KnownDrawsLookup::find(int draw) const
{
    const std::optional<PastDraw> known = draws.draw(draw);
    if (!known)
        return std::nullopt;
    return KnownDraw{known->date, threeDigits(known->digits), draw <= KnownDraws::builtInLast()};
}

std::optional<int> KnownDrawsLookup::below(int draw, bool dated) const
{
    const QList<PastDraw> &added = draws.added();
    for (auto at = added.crbegin(); at != added.crend(); ++at) {
        if (at->draw < draw && (!dated || at->date.isValid()))
            return at->draw;
    }
    if (draw <= draws.first())
        return std::nullopt;
    return std::min(draw - 1, KnownDraws::builtInLast());
}

std::optional<int> KnownDrawsLookup::above(int draw, bool dated) const
{
    if (draw < KnownDraws::builtInLast())
        return std::max(draw + 1, draws.first());
    for (const PastDraw &at : draws.added()) {
        if (at.draw > draw && (!dated || at.date.isValid()))
            return at.draw;
    }
    return std::nullopt;
}

QList<PastDraw> laterDraws(const QMap<int, DrawRow> &rows, QList<LineProblem> &conflicts)
{
    const KnownDraws builtIn;
    QList<PastDraw> later;
    for (const DrawRow &row : rows) {
        const int digits = row.number().toInt();
        if (row.draw > KnownDraws::builtInLast()) {
            std::optional<DrawPrizes> prizes;
            if (row.prizes) {
                const Prizes &paid = *row.prizes;
                prizes = DrawPrizes{int(paid[Straight].yen), int(paid[Box].yen),
                                    int(paid[SetStraight].yen), int(paid[SetBox].yen),
                                    int(paid[Mini].yen)};
            }
            later.append({row.draw, row.date, digits, prizes});
            continue;
        }
        const PastDraw known = *builtIn.draw(row.draw);
        if (known.digits != digits || (row.date.isValid() && row.date != known.date))
            conflicts.append(
                {row.line, Text::tr("draw %1 is built in as %2 (%3)")
                               .arg(row.draw)
                               .arg(threeDigits(known.digits), known.date.toString(Qt::ISODate))});
    }
    return later;
}

DrawStore &addedDrawStore()
{
    static DrawStore store = [] {
        DrawStore read(DrawStore::defaultPath());
        read.load();
        return read;
    }();
    return store;
}

QStringList addedDrawsProblems()
{
    return programDraws().problems;
}

void refreshKnownDraws()
{
    QList<LineProblem> conflicts;
    programDraws().draws = fromStore(addedDrawStore(), conflicts);
}

const KnownDraws &knownDraws()
{
    return programDraws().draws;
}
