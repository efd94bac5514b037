// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef PASTSEARCH_H
#define PASTSEARCH_H

#include <QString>

class QWidget;

// The operations of the past-data window on the bought-number store and the
// past-results table. Each reports to the user in a modal box over parent.
// A value of 0 stands for empty or non-numeric input.

// Stores one bought number; false when refused (0, or the store is full).
bool Bought_entry(QWidget *parent, int value);
// Counts and reports the stored numbers equal to value.
void Bought_serch(QWidget *parent, int value);
// Reports how many draws had the number value (1 to 1999). A value of 0 is
// accepted when it came from numeric text, since 000 is a real result.
void Data_to_times(QWidget *parent, int value, bool numeric = false);
// Reports the number of draw value (1 to 2000); returns the text shown, or an
// empty string when refused.
QString Times_to_data(QWidget *parent, int value);
// Empties the bought-number store.
void Bought_clear();

#endif
