// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef BOUGHTSTORE_H
#define BOUGHTSTORE_H

constexpr int BOUGHT_MAX = 1000;

// The numbers the user has bought, in the order they were entered, kept for
// the running process only. Each stored number takes the next slot; a clear
// empties the slots but keeps them used, and once every slot has been used
// the emptied ones are taken back. Whether a slot holds a number is kept
// apart from its value, since 000 is a number like any other.
class BoughtStore
{
public:
    // Stores value; false, and nothing changes, when BOUGHT_MAX numbers are
    // already stored.
    bool store(int value);

    // Counts the stored numbers equal to value; the count is also kept as
    // hitCount().
    int search(int value);

    // Empties every used slot; calls cleared(index) after each one.
    template <typename Callback> void clear(Callback cleared)
    {
        entry_count = 0;
        hit_count = 0;
        for (int i = 0; i < bought_count; ++i) {
            bought_no[i] = 0;
            held[i] = false;
            cleared(i);
        }
    }

    bool isFull() const { return entry_count >= BOUGHT_MAX; }
    // Slots used since start or since the last reclaim; stored and emptied.
    int usedSlots() const { return bought_count; }
    // Numbers stored since start or since the last clear.
    int entryCount() const { return entry_count; }
    // Matches found by the latest search.
    int hitCount() const { return hit_count; }
    // The number stored at index: 0 for an emptied place.
    int entry(int index) const { return bought_no[index]; }
    bool holdsNumber(int index) const { return held[index]; }

private:
    void reclaimEmptiedSlots();

    int bought_no[BOUGHT_MAX] = {};
    bool held[BOUGHT_MAX] = {};
    int bought_count = 0;
    int entry_count = 0;
    int hit_count = 0;
};

// The one store of the process, shared by every past-data window.
BoughtStore &boughtStore();

#endif
