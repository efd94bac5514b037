// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef BOUGHTSTORE_H
#define BOUGHTSTORE_H

constexpr int BOUGHT_MAX = 1000;

// The numbers the user has bought, in the order they were entered, kept for
// the running process only. A slot holding 0 is cleared or never written; 0
// itself is never stored.
class BoughtStore
{
public:
    // Stores a non-zero value. When every slot has been used, the cleared
    // ones are reclaimed first; only a store of BOUGHT_MAX live numbers
    // refuses, and then nothing changes.
    bool store(int value);

    // Counts the stored numbers equal to value into hit_count.
    int search(int value);

    // Zeroes every used slot; calls cleared(index) after each one.
    template <typename Callback> void clear(Callback cleared)
    {
        entry_count = 0;
        hit_count = 0;
        for (int i = 0; i < bought_count; ++i) {
            bought_no[i] = 0;
            cleared(i);
        }
    }

    bool isFull() const { return entry_count >= BOUGHT_MAX; }

    int bought_no[BOUGHT_MAX] = {};
    int bought_count = 0;
    int entry_count = 0;
    int hit_count = 0;

private:
    void reclaimClearedSlots();
};

// The one store of the process, shared by every past-data window.
BoughtStore &boughtStore();

#endif
