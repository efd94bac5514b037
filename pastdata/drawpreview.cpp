// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pastdata/drawpreview.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

class Text
{
    Q_DECLARE_TR_FUNCTIONS(DrawPreview)
};

// Whether two accounts of one draw can both be true: a missing date or
// missing prizes agree with any.
bool agree(const DrawRow &a, const DrawRow &b)
{
    return a.digits == b.digits && (a.date.isNull() || b.date.isNull() || a.date == b.date) &&
           (!a.prizes || !b.prizes || *a.prizes == *b.prizes);
}

bool agreesWithKnown(const DrawRow &row, const KnownDraw &known)
{
    return row.digits == known.digits &&
           (row.date.isNull() || known.date.isNull() || row.date == known.date);
}

// One row for the lines of one draw, with a date and prizes from whichever
// line has them.
DrawRow merged(const QList<DrawRow> &rows)
{
    DrawRow row = rows.first();
    for (const DrawRow &other : rows) {
        if (row.date.isNull())
            row.date = other.date;
        if (!row.prizes)
            row.prizes = other.prizes;
    }
    return row;
}

// The known dated draw nearest to draw on one side, passing over those
// being replaced, whose dates are about to change.
std::optional<QDate> knownDateBeside(const DrawLookup &known, int draw, bool below,
                                     const QSet<int> &replaced)
{
    std::optional<int> at = draw;
    do
        at = below ? known.below(*at, true) : known.above(*at, true);
    while (at && replaced.contains(*at));
    if (!at)
        return std::nullopt;
    return known.find(*at).value_or(KnownDraw()).date;
}

QString refusedOrder(const DrawRow &row)
{
    return Text::tr("dates do not go forward with draw numbers: draw %1 on %2")
        .arg(row.draw)
        .arg(row.date.toString(Qt::ISODate));
}

// Refuses the candidates whose dates do not go forward with their draw
// numbers, next to the known draws and to each other. A candidate out of
// order with a known draw is refused alone, since the known one was checked
// when it came; two candidates out of order with each other are both
// refused, since either may be the wrong one.
QList<DrawRow> inDateOrder(QList<DrawRow> candidates, const DrawLookup &known,
                           const QSet<int> &replaced, QList<LineProblem> &refused)
{
    QList<DrawRow> kept;
    for (const DrawRow &row : candidates) {
        if (row.date.isValid()) {
            const std::optional<QDate> before = knownDateBeside(known, row.draw, true, replaced);
            const std::optional<QDate> after = knownDateBeside(known, row.draw, false, replaced);
            if ((before && before->isValid() && *before >= row.date) ||
                (after && after->isValid() && *after <= row.date)) {
                refused.append({row.line, refusedOrder(row)});
                continue;
            }
        }
        kept.append(row);
    }
    // By draw number, the dated ones kept so far rise strictly.
    QList<qsizetype> rising;
    QList<bool> out(kept.size(), false);
    for (qsizetype i = 0; i < kept.size(); ++i) {
        if (kept[i].date.isNull())
            continue;
        if (!rising.isEmpty() && kept[rising.last()].date >= kept[i].date) {
            out[rising.takeLast()] = true;
            out[i] = true;
            continue;
        }
        rising.append(i);
    }
    QList<DrawRow> ordered;
    for (qsizetype i = 0; i < kept.size(); ++i) {
        if (out[i])
            refused.append({kept[i].line, refusedOrder(kept[i])});
        else
            ordered.append(kept[i]);
    }
    return ordered;
}

QString knownText(const KnownDraw &known)
{
    return known.date.isValid()
               ? QStringLiteral("%1 (%2)").arg(known.digits, known.date.toString(Qt::ISODate))
               : known.digits;
}

} // namespace

void DrawTable::insert(int draw, const KnownDraw &known)
{
    draws.insert(draw, known);
    if (known.date.isValid())
        dates.insert(draw, known.date);
    else
        dates.remove(draw);
}

std::optional<KnownDraw> DrawTable::find(int draw) const
{
    const auto at = draws.constFind(draw);
    return at == draws.cend() ? std::nullopt : std::optional(*at);
}

std::optional<int> DrawTable::below(int draw, bool dated) const
{
    const auto nearest = [draw](const auto &map) -> std::optional<int> {
        auto at = map.lowerBound(draw);
        if (at == map.cbegin())
            return std::nullopt;
        return (--at).key();
    };
    return dated ? nearest(dates) : nearest(draws);
}

std::optional<int> DrawTable::above(int draw, bool dated) const
{
    const auto nearest = [draw](const auto &map) -> std::optional<int> {
        const auto at = map.upperBound(draw);
        if (at == map.cend())
            return std::nullopt;
        return at.key();
    };
    return dated ? nearest(dates) : nearest(draws);
}

DrawPreview previewDraws(const DrawReading &reading, const DrawLookup &known,
                         const PreviewChoices &choices)
{
    DrawPreview preview;
    preview.refused = reading.refused;
    QMap<int, QList<DrawRow>> byDraw;
    for (DrawRow row : reading.rows) {
        if (row.shortNumber() && !choices.takeShortNumbers) {
            preview.unconfirmed.append(row);
            continue;
        }
        row.digits = row.number();
        byDraw[row.draw].append(row);
    }
    QList<DrawRow> candidates;
    QSet<int> replaced;
    for (const QList<DrawRow> &rows : std::as_const(byDraw)) {
        const auto other = std::find_if(rows.begin(), rows.end(),
                                        [&](const DrawRow &row) { return !agree(row, rows[0]); });
        if (other != rows.end()) {
            for (const DrawRow &row : rows)
                preview.refused.append(
                    {row.line, Text::tr("draw %1 is on line %2 too, with another date or number")
                                   .arg(row.draw)
                                   .arg((row.line == other->line ? rows[0] : *other).line)});
            continue;
        }
        const DrawRow row = merged(rows);
        if (row.date.isValid() && row.date > choices.today) {
            for (const DrawRow &line : rows)
                preview.refused.append(
                    {line.line,
                     Text::tr("date %1 is after today").arg(row.date.toString(Qt::ISODate))});
            continue;
        }
        const std::optional<KnownDraw> was = known.find(row.draw);
        if (!was) {
            candidates.append(row);
        } else if (agreesWithKnown(row, *was)) {
            preview.agreeing += int(rows.size());
        } else if (was->builtIn) {
            for (const DrawRow &line : rows)
                preview.refused.append({line.line, Text::tr("draw %1 is %2 in the built-in table")
                                                       .arg(row.draw)
                                                       .arg(knownText(*was))});
        } else if (choices.replace.contains(row.draw)) {
            candidates.append(row);
            replaced.insert(row.draw);
        } else {
            preview.replaceable.append(row.draw);
            for (const DrawRow &line : rows)
                preview.refused.append(
                    {line.line, Text::tr("draw %1 was added as %2; choose to replace it to take "
                                         "this line")
                                    .arg(row.draw)
                                    .arg(knownText(*was))});
        }
    }
    for (const DrawRow &row : inDateOrder(candidates, known, replaced, preview.refused))
        (replaced.contains(row.draw) ? preview.replacing : preview.added).append(row);

    int previous = 0;
    for (const DrawRow &row : std::as_const(preview.added)) {
        const int below = std::max(previous, known.below(row.draw, false).value_or(0));
        if (below < row.draw - 1)
            preview.gaps.append({below + 1, row.draw - 1});
        previous = row.draw;
    }
    std::stable_sort(preview.refused.begin(), preview.refused.end(),
                     [](const LineProblem &a, const LineProblem &b) { return a.line < b.line; });
    return preview;
}

QStringList DrawPreview::lines() const
{
    QStringList lines;
    if (added.size() == 1)
        lines << Text::tr("1 new draw: %1").arg(drawWithDate(added[0].draw, added[0].date));
    else if (!added.isEmpty())
        lines << Text::tr("%1 new draws: %2 to %3")
                     .arg(added.size())
                     .arg(drawWithDate(added.first().draw, added.first().date),
                          drawWithDate(added.last().draw, added.last().date));
    else
        lines << Text::tr("No new draws.");
    for (const DrawRow &row : replacing)
        lines << Text::tr("draw %1 replaced by %2").arg(row.draw).arg(row.digits);
    if (agreeing > 0)
        lines << Text::tr("Rows already known and agreeing: %1").arg(agreeing);
    for (const auto &[first, last] : gaps)
        lines << (first == last ? Text::tr("draw %1 missing").arg(first)
                                : Text::tr("draws %1–%2 missing").arg(first).arg(last));
    for (const DrawRow &row : unconfirmed)
        lines << Text::tr("line %1: %2 → %3, taken only when you confirm it")
                     .arg(row.line)
                     .arg(row.digits, row.number());
    for (const LineProblem &problem : refused)
        lines << Text::tr("line %1: %2").arg(problem.line).arg(problem.reason);
    return lines;
}
