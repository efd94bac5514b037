// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/announcer.h"

#include <QApplication>
#include <QWidget>

Announcer::Announcer(QWidget *window) : QObject(window), window(window)
{
    connect(qApp, &QApplication::focusChanged, this, &Announcer::withdraw);
}

void Announcer::announce(const QString &message)
{
    QWidget *focused = window->focusWidget();
    if (!focused)
        focused = window;
    if (focused != speaker) {
        withdraw();
        speaker = focused;
        ownDescription = focused->accessibleDescription();
    }
    focused->setAccessibleDescription(message);
}

void Announcer::withdraw()
{
    if (speaker)
        speaker->setAccessibleDescription(ownDescription);
    speaker = nullptr;
}
