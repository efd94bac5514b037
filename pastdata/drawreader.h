// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef DRAWREADER_H
#define DRAWREADER_H

#include "common/textdecode.h"

#include <QByteArrayView>
#include <QDate>
#include <QList>
#include <QString>

#include <array>
#include <optional>

// Reads draws as players' sources hold them: text pasted from a results page
// or a spreadsheet, or a CSV file. One draw a line:
//   - the draw as 6874 or 第6874回;
//   - the date, which may be left out, as 2025-12-09, 2025/12/9,
//     2025年12月9日 or 令和7年12月9日 (令和元年 too), a weekday such as (火)
//     after it ignored;
//   - the number as 735, ７３５ or [7, 3, 5];
// in columns split by tabs, else by commas, else by runs of spaces; quotes and
// brackets group what they hold. Full-width letters, digits and signs count
// as their ASCII twins. Without a header the draw comes first (or is marked
// 第…回), the number after it, the date anywhere, and nothing else. A header
// row names its columns (draw, date, digits and the prize columns, in
// English or Japanese); under it the columns are taken by their names,
// others ignored, and the prizes are read when all ten of their columns are
// named. A prize's 円 and thousands separators are read only inside quotes
// or tab-separated fields, where they cannot be taken for columns. Lines
// without any digit cannot hold a draw and are passed over silently.

constexpr qsizetype maxDrawInputBytes = 4 * 1024 * 1024;
constexpr qsizetype maxDrawLineBytes = 64 * 1024;
constexpr int highestDraw = 9999;

// The kinds of prize, in the order of their columns.
enum PrizeKind { Straight, Box, SetStraight, SetBox, Mini, PrizeKinds };

struct Prize
{
    qint64 winners = 0;
    qint64 yen = 0; // 0: the kind was not paid that draw
    bool operator==(const Prize &other) const
    {
        return winners == other.winners && yen == other.yen;
    }
};
using Prizes = std::array<Prize, PrizeKinds>;

struct DrawRow
{
    int line = 0; // of the input, from 1
    int draw = 0; // 1 to highestDraw
    QDate date;   // null when none was given
    // Digits 0-9 as read: three of them, or one or two where a spreadsheet
    // dropped the leading zeros of 017.
    QString digits;
    std::optional<Prizes> prizes;

    bool operator==(const DrawRow &other) const
    {
        return line == other.line && draw == other.draw && date == other.date &&
               digits == other.digits && prizes == other.prizes;
    }
    bool shortNumber() const { return digits.size() < 3; }
    // The number with its leading zeros: "017" for "17".
    QString number() const { return digits.rightJustified(3, QLatin1Char('0')); }
};

struct LineProblem
{
    int line = 0;
    QString reason;
};

struct DrawReading
{
    TextEncoding encoding = TextEncoding::Utf8;
    QList<DrawRow> rows;        // in the order of their lines
    QList<LineProblem> refused; // in the order of their lines
    QList<int> headerLines;     // the lines read as a header
    // Not empty when nothing was read at all, and why (too large, a line too
    // long, a file that cannot be read).
    QString refusal;
};

// The draws in bytes of text: nothing is read, and refusal says why, when
// there are more than maxDrawInputBytes bytes or a line has more than
// maxDrawLineBytes.
DrawReading readDraws(QByteArrayView bytes);

// The same for a file, whose size is checked before it is read.
DrawReading readDrawFile(const QString &path);

// The draw as the preview and the store write it, "6874 (2025-12-09)", or
// "6874" without a date.
QString drawWithDate(int draw, const QDate &date);

#endif
