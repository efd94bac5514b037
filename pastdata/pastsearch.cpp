// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pastdata/pastsearch.h"

#include "common/reportbox.h"
#include "common/trace.h"
#include "pastdata/boughtstore.h"
#include "pastdata/knowndraws.h"

#include <QCoreApplication>

namespace {

// The texts belong to the past-data window's translation context.
class Text
{
    Q_DECLARE_TR_FUNCTIONS(Input_Serch)
};

void inform(QWidget *parent, const PastAnswer &answer, std::function<void()> then = {})
{
    ReportBox::inform(parent, answer.title, answer.text, nullptr, std::move(then));
}

bool inRange(std::optional<int> value, int lowest, int highest)
{
    return value && *value >= lowest && *value <= highest;
}

PastAnswer refusal()
{
    return {Text::tr("Error"), Text::tr("No Data"), false};
}

} // namespace

std::optional<int> typedNumber(const QString &text, int maxDigits)
{
    const QList<uint> characters = text.trimmed().toUcs4();
    if (characters.isEmpty() || characters.size() > maxDigits)
        return std::nullopt;
    int value = 0;
    for (uint character : characters) {
        const int digit = QChar::digitValue(char32_t(character));
        if (digit < 0 || QChar::category(char32_t(character)) != QChar::Number_DecimalDigit)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

QRegularExpression digitLimitPattern(int digits)
{
    // Counts characters, not digits: whatever else is typed, "Ok" refuses,
    // and it must not be cut short either. Any Unicode space is free.
    return QRegularExpression(QStringLiteral("\\s*(?:\\S\\s*){0,%1}").arg(digits),
                              QRegularExpression::UseUnicodePropertiesOption);
}

PastAnswer boughtEntryAnswer(BoughtStore &store, std::optional<int> value)
{
    if (!inRange(value, 0, 999))
        return refusal();
    if (!store.store(*value))
        return {Text::tr("Error"),
                Text::tr("The list of bought numbers is full (%1 numbers). "
                         "Clear it to enter more.")
                    .arg(BOUGHT_MAX),
                false};
    return {QString(), QString(), true};
}

PastAnswer boughtSerchAnswer(BoughtStore &store, std::optional<int> value)
{
    if (!inRange(value, 0, 999))
        return refusal();
    const QString text = store.search(*value) == 0
                             ? Text::tr("There are no hit")
                             : Text::tr("There are hit:%1 times ").arg(store.hitCount());
    return {Text::tr("serch result"), text, true};
}

PastAnswer dataToTimesAnswer(std::optional<int> value, const KnownDraws &draws)
{
    if (!inRange(value, 0, 1999))
        return refusal();
    const int times = draws.timesDrawn(*value);
    const QString title = QStringLiteral("information");
    if (times == 0)
        return {title, Text::tr("There aren't No Namber"), true};
    return {title, Text::tr("There  are %1 times").arg(times), true};
}

PastAnswer timesToDataAnswer(std::optional<int> value, const KnownDraws &draws)
{
    const std::optional<PastDraw> draw = value ? draws.draw(*value) : std::nullopt;
    if (!draw)
        return refusal();
    return {Text::tr("serch result"), Text::tr("%1 times data is %2").arg(*value).arg(draw->digits),
            true};
}

QString knownDrawsLine(const KnownDraws &draws)
{
    return Text::tr("Draws %1–%2, to %3")
        .arg(draws.first())
        .arg(draws.last())
        .arg(draws.lastDate().toString(Qt::ISODate));
}

bool Bought_entry(QWidget *parent, std::optional<int> value)
{
    const PastAnswer answer = boughtEntryAnswer(boughtStore(), value);
    if (!answer.accepted)
        inform(parent, answer);
    return answer.accepted;
}

void Bought_serch(QWidget *parent, std::optional<int> value)
{
    const PastAnswer answer = boughtSerchAnswer(boughtStore(), value);
    if (!answer.accepted) {
        inform(parent, answer);
        return;
    }
    inform(parent, answer, [searched = *value] {
        BoughtStore &store = boughtStore();
        for (int i = 0; i < store.usedSlots(); ++i)
            trace("bought_no[%d]=%d,d=%d,o=%d\n", i, store.entry(i), store.hitCount(), searched);
    });
}

void Data_to_times(QWidget *parent, std::optional<int> value)
{
    inform(parent, dataToTimesAnswer(value));
}

void Times_to_data(QWidget *parent, std::optional<int> value,
                   std::function<void(const QString &shown)> then)
{
    if (!then)
        then = [](const QString &) {};
    const PastAnswer answer = timesToDataAnswer(value);
    inform(parent, answer,
           [then, shown = answer.accepted ? answer.text : QString()] { then(shown); });
}

void Bought_clear()
{
    BoughtStore &store = boughtStore();
    store.clear([&store](int i) { trace("bout_no[%d]=%d\n", i, store.entry(i)); });
}
