// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pastdata/pastsearch.h"

#include "common/reportbox.h"
#include "common/trace.h"
#include "pastdata/boughtstore.h"
#include "pastdata/past_data.h"

#include <QCoreApplication>

namespace {

// The texts belong to the past-data window's translation context.
class Text
{
    Q_DECLARE_TR_FUNCTIONS(Input_Serch)
};

void inform(QWidget *parent, const QString &title, const QString &text,
            std::function<void()> then = {})
{
    ReportBox::inform(parent, title, text, nullptr, std::move(then));
}

bool inRange(std::optional<int> value, int lowest, int highest)
{
    return value && *value >= lowest && *value <= highest;
}

void refuse(QWidget *parent, std::function<void()> then = {})
{
    inform(parent, Text::tr("Error"), Text::tr("No Data"), std::move(then));
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

bool Bought_entry(QWidget *parent, std::optional<int> value)
{
    if (!inRange(value, 0, 999)) {
        refuse(parent);
        return false;
    }
    if (!boughtStore().store(*value)) {
        inform(parent, Text::tr("Error"),
               Text::tr("The list of bought numbers is full (%1 numbers). "
                        "Clear it to enter more.")
                   .arg(BOUGHT_MAX));
        return false;
    }
    return true;
}

void Bought_serch(QWidget *parent, std::optional<int> value)
{
    if (!inRange(value, 0, 999)) {
        refuse(parent);
        return;
    }
    BoughtStore &store = boughtStore();
    const QString text = store.search(*value) == 0
                             ? Text::tr("There are no hit")
                             : Text::tr("There are hit:%1 times ").arg(store.hitCount());
    inform(parent, Text::tr("serch result"), text, [searched = *value] {
        BoughtStore &store = boughtStore();
        for (int i = 0; i < store.usedSlots(); ++i)
            trace("bought_no[%d]=%d,d=%d,o=%d\n", i, store.entry(i), store.hitCount(), searched);
    });
}

void Data_to_times(QWidget *parent, std::optional<int> value)
{
    if (!inRange(value, 0, 1999)) {
        refuse(parent);
        return;
    }
    int draws = 0;
    for (int result : past_data) {
        if (result == *value)
            ++draws;
    }
    const QString title = QStringLiteral("information");
    if (draws == 0)
        inform(parent, title, Text::tr("There aren't No Namber"));
    else
        inform(parent, title, Text::tr("There  are %1 times").arg(draws));
}

void Times_to_data(QWidget *parent, std::optional<int> value,
                   std::function<void(const QString &shown)> then)
{
    if (!then)
        then = [](const QString &) {};
    if (!inRange(value, 1, PAST_DRAWS)) {
        refuse(parent, [then] { then(QString()); });
        return;
    }
    const QString text = Text::tr("%1 times data is %2").arg(*value).arg(past_data[*value - 1]);
    inform(parent, Text::tr("serch result"), text, [then, text] { then(text); });
}

void Bought_clear()
{
    BoughtStore &store = boughtStore();
    store.clear([&store](int i) { trace("bout_no[%d]=%d\n", i, store.entry(i)); });
}
