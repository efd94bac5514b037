// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pastdata/boughtstore.h"

bool BoughtStore::store(int value)
{
    if (isFull())
        return false;
    if (bought_count == BOUGHT_MAX)
        reclaimEmptiedSlots();
    held[bought_count] = true;
    bought_no[bought_count++] = value;
    ++entry_count;
    return true;
}

int BoughtStore::search(int value)
{
    hit_count = 0;
    for (int i = 0; i < bought_count; ++i) {
        if (held[i] && bought_no[i] == value)
            ++hit_count;
    }
    return hit_count;
}

// Moves the stored numbers to the front, keeping their order.
void BoughtStore::reclaimEmptiedSlots()
{
    int live = 0;
    for (int i = 0; i < bought_count; ++i) {
        if (held[i]) {
            bought_no[live] = bought_no[i];
            held[live++] = true;
        }
    }
    for (int i = live; i < bought_count; ++i) {
        bought_no[i] = 0;
        held[i] = false;
    }
    bought_count = live;
}

BoughtStore &boughtStore()
{
    static BoughtStore store;
    return store;
}
