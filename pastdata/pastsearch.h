// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef PASTSEARCH_H
#define PASTSEARCH_H

#include "pastdata/knowndraws.h"

#include <QRegularExpression>
#include <QString>

#include <functional>
#include <optional>

class BoughtStore;
class QWidget;

// The operations of the past-data window on the bought-number store and the
// past-results table. Each reports to the user in a modal box over parent,
// and returns while the box is still open: what follows a report happens once
// the user has closed it (see ReportBox::inform). A value of std::nullopt
// stands for text that is not a number; every refusal shows "Error"/"No Data"
// and changes nothing.

// The number in text typed by the user: spaces around it are ignored and any
// Unicode decimal digit counts as that digit (so full-width １２３ is 123).
// Nothing when the text is empty, holds anything but digits (signs
// included), or has more than maxDigits digits: a number is never cut short.
std::optional<int> typedNumber(const QString &text, int maxDigits);

// What the field takes while it is typed into or pasted into, in a mode of
// digits digits: a paste that does not match is refused whole.
QRegularExpression digitLimitPattern(int digits);

// What an operation tells the user, computed apart from the box that shows
// it, so that it can be checked without a window.
struct PastAnswer
{
    QString title;
    QString text;
    // Whether the input was taken; a refusal's text says why.
    bool accepted = false;
};

// The answers of the operations below, with the same effect on store; an
// entry that was stored has nothing to say (empty title and text).
PastAnswer boughtEntryAnswer(BoughtStore &store, std::optional<int> value);
PastAnswer boughtSerchAnswer(BoughtStore &store, std::optional<int> value);
PastAnswer dataToTimesAnswer(std::optional<int> value, const KnownDraws &draws = knownDraws());
PastAnswer timesToDataAnswer(std::optional<int> value, const KnownDraws &draws = knownDraws());

// The line of the past-data window that names the draws it knows.
QString knownDrawsLine(const KnownDraws &draws = knownDraws());

// Stores one bought number, 0 to 999 (000 is a number like any other);
// false when refused (no number, out of range, or the store is full).
bool Bought_entry(QWidget *parent, std::optional<int> value);
// Counts and reports the stored numbers equal to value (0 to 999); the trace
// lists the store once the report is closed.
void Bought_serch(QWidget *parent, std::optional<int> value);
// Reports how many known draws had the number value (0 to 1999; 000 is a
// real result).
void Data_to_times(QWidget *parent, std::optional<int> value);
// Reports the number of draw value, if known; once the report is closed,
// hands then the text shown, or an empty string when refused.
void Times_to_data(QWidget *parent, std::optional<int> value,
                   std::function<void(const QString &shown)> then = {});
// Empties the bought-number store.
void Bought_clear();

#endif
