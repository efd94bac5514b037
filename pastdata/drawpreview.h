// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef DRAWPREVIEW_H
#define DRAWPREVIEW_H

#include "pastdata/drawreader.h"

#include <QMap>
#include <QSet>
#include <QStringList>

struct KnownDraw
{
    QDate date; // null when the draw was added without one
    QString digits;
    // A built-in draw is never changed; one the user added may be replaced
    // when the user chooses to.
    bool builtIn = false;
};

// The draws the program knows: the built-in table and the ones the user
// added.
class DrawLookup
{
public:
    virtual ~DrawLookup() = default;
    virtual std::optional<KnownDraw> find(int draw) const = 0;
    // The nearest known draw below (above) draw, or nothing; with dated, the
    // nearest one that has a date.
    virtual std::optional<int> below(int draw, bool dated) const = 0;
    virtual std::optional<int> above(int draw, bool dated) const = 0;
};

// Known draws held in memory.
class DrawTable : public DrawLookup
{
public:
    void insert(int draw, const KnownDraw &known);
    std::optional<KnownDraw> find(int draw) const override;
    std::optional<int> below(int draw, bool dated) const override;
    std::optional<int> above(int draw, bool dated) const override;

private:
    QMap<int, KnownDraw> draws;
    QMap<int, QDate> dates;
};

// What the user has chosen so far in the preview.
struct PreviewChoices
{
    QDate today;
    // Numbers of one or two digits taken with their leading zeros: 17 as 017.
    bool takeShortNumbers = false;
    // Added draws the user chose to replace with the rows read.
    QSet<int> replace;
};

// What adding the rows read would change, before anything changes.
struct DrawPreview
{
    QList<DrawRow> added;            // new draws, by draw number
    QList<DrawRow> replacing;        // rows for added draws the user chose to replace
    int agreeing = 0;                // rows for known draws that agree with them
    QList<std::pair<int, int>> gaps; // draws missing, first to last, after adding
    // Rows of one or two digits, taken only once the user confirms them.
    QList<DrawRow> unconfirmed;
    // Added draws that rows disagree with: refused unless the user chooses
    // to replace them.
    QList<int> replaceable;
    QList<LineProblem> refused; // by line

    // What the preview says, a line each: what will be added, what agrees,
    // the gaps, the numbers to confirm and the lines refused.
    QStringList lines() const;
};

// The preview of reading against known, today being choices.today.
DrawPreview previewDraws(const DrawReading &reading, const DrawLookup &known,
                         const PreviewChoices &choices);

#endif
