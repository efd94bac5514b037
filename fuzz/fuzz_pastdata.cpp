// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The past-data field: text typed (a character at a time) or pasted (whole)
// into the field under every mode's rule, read as a number and answered as
// "Ok" answers it, and the bought-number store under any sequence of entries,
// searches and clears. The store is checked against a plain list of what was
// stored: nothing refused may be counted, nothing stored may be lost.

#include "harness.h"
#include "pastdata/boughtstore.h"
#include "pastdata/knowndraws.h"
#include "pastdata/pastsearch.h"

#include <QRegularExpressionValidator>

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    BoughtStore store;
    std::vector<int> stored;
    while (input.remaining_bytes() > 0) {
        // 0: an entry (4: as many as to fill the store), 1: a search, 2: the
        // draws of a number, 3: the number of a draw, 5: a clear.
        const int operation = input.ConsumeIntegralInRange(0, 5);
        const bool typed = input.ConsumeBool();
        const int digits = operation == 3 || (operation == 1 && input.ConsumeBool()) ? 4 : 3;
        // The field keeps each piece of the text that its rule takes: each
        // character when typed, the whole when pasted. It keeps its rule
        // until the mode changes; so do these.
        static const QRegularExpressionValidator threeDigits(digitLimitPattern(3));
        static const QRegularExpressionValidator fourDigits(digitLimitPattern(4));
        const QList<uint> text = QString::fromUtf8(input.ConsumeRandomLengthString(32)).toUcs4();
        QString field;
        for (qsizetype at = 0, piece = typed ? 1 : text.size(); at < text.size(); at += piece) {
            QString longer =
                field + QString::fromUcs4(reinterpret_cast<const char32_t *>(&text[at]), piece);
            int position = int(longer.size());
            if ((digits == 3 ? threeDigits : fourDigits).validate(longer, position) !=
                QValidator::Invalid)
                field = longer;
        }
        const std::optional<int> value = typedNumber(field, digits);
        require(!value || (*value >= 0 && *value < (digits == 3 ? 1000 : 10000)),
                "a number of the mode's digits");
        const int count = operation == 4 ? input.ConsumeIntegralInRange(0, BOUGHT_MAX + 10) : 1;
        PastAnswer answer;
        for (int i = 0; i < count && (operation == 0 || operation == 4); ++i) {
            const bool room = stored.size() < size_t(BOUGHT_MAX);
            answer = boughtEntryAnswer(store, value);
            require(answer.accepted == (value && room), "an entry taken while there is room");
            if (!answer.accepted)
                break;
            stored.push_back(*value);
        }
        if (operation == 1) {
            answer = boughtSerchAnswer(store, value);
            require(!answer.accepted ||
                        store.hitCount() == std::count(stored.begin(), stored.end(), *value),
                    "search count");
        } else if (operation == 2) {
            answer = dataToTimesAnswer(value);
        } else if (operation == 3) {
            answer = timesToDataAnswer(value);
            const std::optional<PastDraw> draw = value ? knownDraws().draw(*value) : std::nullopt;
            require(answer.accepted == draw.has_value() &&
                        (!draw || answer.text.endsWith(QString::number(draw->digits))),
                    "the number of a known draw, and a refusal of any other");
        } else if (operation == 5) {
            store.clear([](int) {});
            stored.clear();
        }
        require(operation >= 4 || answer.accepted || !answer.text.isEmpty(), "a refusal says why");
        // A number lost from the store shows in the count of a search for it.
        require(store.entryCount() == int(stored.size()) && store.usedSlots() <= BOUGHT_MAX,
                "as many entries as stored, in the store's slots");
    }
    return 0;
}
