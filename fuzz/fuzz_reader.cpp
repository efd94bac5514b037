// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The reader of draws a user adds: bytes as pasted or read from a file, in
// any encoding, read into rows and refused lines; the preview of those rows
// against a few known draws; and the draws file written from them and from
// the same bytes taken as a damaged file. Every line is accounted for once,
// nothing previewed goes against a known draw or the order of dates, and
// the file keeps every line it cannot read and reads back as written.

#include "harness.h"
#include "pastdata/drawpreview.h"
#include "pastdata/drawreader.h"
#include "pastdata/drawstore.h"

#include <QSet>

namespace {

const DrawTable &knownDraws()
{
    static const DrawTable table = [] {
        DrawTable known;
        for (int draw = 1; draw <= 30; ++draw)
            known.insert(draw, {QDate(2025, 11, 1).addDays(draw),
                                QStringLiteral("%1").arg(draw * 7 % 1000, 3, 10, QLatin1Char('0')),
                                draw <= 20});
        known.insert(40, {QDate(), QStringLiteral("017"), false});
        return known;
    }();
    return table;
}

bool isNumber(const QString &digits)
{
    return digits.size() >= 1 && digits.size() <= 3 &&
           std::all_of(digits.begin(), digits.end(),
                       [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes = placeBeforeGuardPage(data, size);
    const DrawReading reading = readDraws(bytes);
    require(reading.refusal.isEmpty() || (reading.rows.isEmpty() && reading.refused.isEmpty()),
            "an input refused whole yields nothing");
    QSet<int> lines;
    for (const DrawRow &row : reading.rows) {
        require(row.draw >= 1 && row.draw <= highestDraw, "a draw number from 1 to 9999");
        require(isNumber(row.digits) && row.number().size() == 3, "a number of digits 0-9");
        require(row.line >= 1 && !lines.contains(row.line), "one row a line");
        lines.insert(row.line);
    }
    for (const LineProblem &problem : reading.refused) {
        require(!problem.reason.isEmpty(), "a refusal says why");
        require(problem.line >= 1 && !lines.contains(problem.line),
                "a line read or refused, not both");
        lines.insert(problem.line);
    }

    const DrawTable &known = knownDraws();
    PreviewChoices choices;
    choices.today = QDate(2025, 12, 31);
    choices.takeShortNumbers = size % 2;
    choices.replace = {21, 22, 40};
    const DrawPreview preview = previewDraws(reading, known, choices);
    QMap<int, QDate> dates;
    for (int draw = 1; draw <= 40; ++draw) {
        if (const std::optional<KnownDraw> was = known.find(draw); was && was->date.isValid())
            dates.insert(draw, was->date);
    }
    for (const DrawRow &row : preview.added + preview.replacing) {
        const std::optional<KnownDraw> was = known.find(row.draw);
        require(row.digits.size() == 3 && (!row.date.isValid() || row.date <= choices.today),
                "nothing from the future, every number of three digits");
        require(!was || (!was->builtIn && choices.replace.contains(row.draw)),
                "a known draw changed only when added and chosen");
        if (row.date.isValid())
            dates.insert(row.draw, row.date);
        else
            dates.remove(row.draw);
    }
    QDate last;
    for (const QDate &date : std::as_const(dates)) {
        require(!last.isValid() || date > last, "dates go forward with draw numbers");
        last = date;
    }
    (void)preview.lines();

    // The same bytes as a draws file the user edited, with the preview's
    // draws added to it.
    QList<DrawChange> changes;
    for (const DrawRow &row : preview.added)
        changes.append({row, false});
    for (const DrawRow &row : preview.replacing)
        changes.append({row, true});
    QString problem;
    const std::optional<MergedDraws> merged = mergeDraws(bytes, changes, problem);
    require(merged.has_value() != !problem.isEmpty(), "a file refused says why");
    if (!merged)
        return 0;
    for (const DrawChange &change : changes)
        require(merged->notApplied.contains(change.row) ||
                    merged->draws.value(change.row.draw).digits == change.row.digits,
                "every change applied or said not to be");
    for (const LineProblem &skipped : merged->skipped)
        require(skipped.line >= 1, "a skipped line has its number");
    QString again;
    const std::optional<MergedDraws> reread = mergeDraws(merged->content, {}, again);
    require(reread && reread->content == merged->content &&
                reread->draws.keys() == merged->draws.keys(),
            "the file written reads back as written");
    return 0;
}
