// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The past-data field: text typed (a character at a time) or pasted (whole)
// into the field under every mode's rule, read as a number and answered as
// "Ok" answers it, and the bought-number store under any sequence of entries,
// searches and clears. The store is checked against a plain list of what was
// stored: nothing refused may be counted, nothing stored may be lost.

#include "pastdata/boughtstore.h"
#include "pastdata/past_data.h"
#include "pastdata/pastsearch.h"

#include <QRegularExpressionValidator>

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

void require(bool holds, const char *what)
{
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// What the field holds after text reaches it: a paste that the mode's rule
// refuses leaves the field as it was; typing keeps each character the rule
// takes.
QString fieldAfter(const QString &text, int digits, bool typed)
{
    // The field keeps its rule until the mode changes; so do these.
    static const QRegularExpressionValidator threeDigits(digitLimitPattern(3));
    static const QRegularExpressionValidator fourDigits(digitLimitPattern(4));
    const QRegularExpressionValidator &rule = digits == 3 ? threeDigits : fourDigits;
    QString field;
    const QList<uint> characters = text.toUcs4();
    if (!typed) {
        field = text;
        int position = int(field.size());
        return rule.validate(field, position) == QValidator::Invalid ? QString() : field;
    }
    for (uint character : characters) {
        QString longer =
            field + QString::fromUcs4(reinterpret_cast<const char32_t *>(&character), 1);
        int position = int(longer.size());
        if (rule.validate(longer, position) != QValidator::Invalid)
            field = longer;
    }
    return field;
}

// Walks the slots in place: a copy of the store for every operation would
// cost more than the operation.
void checkStore(const BoughtStore &store, const std::vector<int> &stored)
{
    require(store.entryCount() == int(stored.size()), "entry count");
    require(store.usedSlots() <= BOUGHT_MAX, "slots");
    size_t next = 0;
    for (int i = 0; i < store.usedSlots(); ++i) {
        if (store.holdsNumber(i)) {
            require(next < stored.size() && store.entry(i) == stored[next],
                    "stored numbers, in order");
            ++next;
        }
    }
    require(next == stored.size(), "every stored number held");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    BoughtStore store;
    // Kept from input to input, so that a full store costs no allocation.
    static std::vector<int> stored;
    stored.clear();
    while (input.remaining_bytes() > 0) {
        const int operation = input.ConsumeIntegralInRange(0, 5);
        if (operation == 4) {
            // Many entries at once, to reach a full store and the reuse of
            // emptied slots.
            const int count = input.ConsumeIntegralInRange(0, BOUGHT_MAX + 10);
            const int value = input.ConsumeIntegralInRange(0, 999);
            for (int i = 0; i < count; ++i) {
                const bool full = stored.size() == size_t(BOUGHT_MAX);
                require(boughtEntryAnswer(store, value).accepted != full, "bulk entry");
                // One refusal of a full store is as good as many.
                if (full)
                    break;
                stored.push_back(value);
            }
        } else if (operation == 5) {
            store.clear([](int) {});
            stored.clear();
        } else {
            // 0: entry, 1: search, 2: draws of a number, 3: number of a draw.
            const bool typed = input.ConsumeBool();
            const int digits = operation == 3 || (operation == 1 && input.ConsumeBool()) ? 4 : 3;
            const QString text = QString::fromUtf8(input.ConsumeRandomLengthString(32));
            const QString field = fieldAfter(text, digits, typed);
            const std::optional<int> value = typedNumber(field, digits);
            require(!value || (*value >= 0 && *value < (digits == 3 ? 1000 : 10000)),
                    "a number of the mode's digits");
            PastAnswer answer;
            switch (operation) {
            case 0: {
                const bool room = stored.size() < size_t(BOUGHT_MAX);
                answer = boughtEntryAnswer(store, value);
                require(answer.accepted == (value && *value <= 999 && room), "entry");
                if (answer.accepted)
                    stored.push_back(*value);
                break;
            }
            case 1:
                answer = boughtSerchAnswer(store, value);
                require(answer.accepted == (value && *value <= 999), "search");
                if (answer.accepted)
                    require(store.hitCount() == std::count(stored.begin(), stored.end(), *value),
                            "search count");
                break;
            case 2:
                answer = dataToTimesAnswer(value);
                require(answer.accepted == (value && *value <= 1999), "draws of a number");
                break;
            default:
                answer = timesToDataAnswer(value);
                require(answer.accepted == (value && *value >= 1 && *value <= PAST_DRAWS),
                        "number of a draw");
                if (answer.accepted)
                    require(answer.text.endsWith(QString::number(past_data[*value - 1])),
                            "the draw's number");
                break;
            }
            require(answer.accepted || !answer.text.isEmpty(), "a refusal says why");
        }
        checkStore(store, stored);
    }
    return 0;
}
