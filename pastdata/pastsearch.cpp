// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pastdata/pastsearch.h"

#include "common/trace.h"
#include "pastdata/boughtstore.h"
#include "pastdata/past_data.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace {

// The texts belong to the past-data window's translation context.
class Text
{
    Q_DECLARE_TR_FUNCTIONS(Input_Serch)
};

void inform(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::information(parent, title, text, QMessageBox::Ok, QMessageBox::NoButton);
}

void refuse(QWidget *parent)
{
    inform(parent, Text::tr("Error"), Text::tr("No Data"));
}

} // namespace

bool Bought_entry(QWidget *parent, int value)
{
    if (value == 0) {
        refuse(parent);
        return false;
    }
    if (!boughtStore().store(value)) {
        inform(parent, Text::tr("Error"),
               Text::tr("The list of bought numbers is full (%1 numbers). "
                        "Clear it to enter more.")
                   .arg(BOUGHT_MAX));
        return false;
    }
    return true;
}

void Bought_serch(QWidget *parent, int value)
{
    if (value == 0) {
        refuse(parent);
        return;
    }
    BoughtStore &store = boughtStore();
    if (store.search(value) == 0)
        inform(parent, Text::tr("serch result"), Text::tr("There are no hit"));
    else
        inform(parent, Text::tr("serch result"),
               Text::tr("There are hit:%1 times ").arg(store.hit_count));
    for (int i = 0; i < store.bought_count; ++i)
        trace("bought_no[%d]=%d,d=%d,o=%d\n", i, store.bought_no[i], store.hit_count, value);
}

void Data_to_times(QWidget *parent, int value, bool numeric)
{
    const bool zeroResult = value == 0 && numeric;
    if (!zeroResult && (value < 1 || value > 1999)) {
        refuse(parent);
        return;
    }
    int draws = 0;
    for (int result : past_data) {
        if (result == value)
            ++draws;
    }
    const QString title = QStringLiteral("information");
    if (draws == 0)
        inform(parent, title, Text::tr("There aren't No Namber"));
    else
        inform(parent, title, Text::tr("There  are %1 times").arg(draws));
}

QString Times_to_data(QWidget *parent, int value)
{
    if (value < 1 || value > PAST_DRAWS) {
        refuse(parent);
        return QString();
    }
    const QString text = Text::tr("%1 times data is %2").arg(value).arg(past_data[value - 1]);
    inform(parent, Text::tr("serch result"), text);
    return text;
}

void Bought_clear()
{
    BoughtStore &store = boughtStore();
    store.clear([&store](int i) { trace("bout_no[%d]=%d\n", i, store.bought_no[i]); });
}
