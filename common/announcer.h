// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef ANNOUNCER_H
#define ANNOUNCER_H

#include <QString>
#include <QWidget>

// Tells a screen reader's user what an action did, without a box: an
// invisible notification in the window, named by the message, that appears
// for each message and that a screen reader speaks as it appears. It goes
// away when the focus moves on, so that a stale message is never found again.
class Announcer : public QWidget
{
    Q_OBJECT

public:
    explicit Announcer(QWidget *window);

    void announce(const QString &message);
};

#endif
