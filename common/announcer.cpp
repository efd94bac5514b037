// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/announcer.h"

#include <QApplication>

Announcer::Announcer(QWidget *window) : QWidget(window)
{
    // Outside every layout and of no size: nothing on the screen moves.
    setGeometry(0, 0, 0, 0);
    hide();
    connect(qApp, &QApplication::focusChanged, this, &QWidget::hide);
}

void Announcer::announce(const QString &message)
{
    // Appearing is what is heard, so a message appears anew each time, even
    // the same message twice.
    hide();
    setAccessibleName(message);
    show();
}
