// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef PAST_DATA_H
#define PAST_DATA_H

constexpr int PAST_DRAWS = 2000;

// Winning number of draw k at index k - 1, without leading zeros.
extern const int past_data[PAST_DRAWS];

#endif
