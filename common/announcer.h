// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef ANNOUNCER_H
#define ANNOUNCER_H

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

// Tells a screen reader's user what an action did, without a box: the
// message becomes the description of the window's focused widget, whose
// changed description a screen reader speaks at once. Once the focus moves
// on, the widget gets its own description back, so that a stale message is
// never read again.
class Announcer : public QObject
{
    Q_OBJECT

public:
    explicit Announcer(QWidget *window);

    void announce(const QString &message);

private:
    void withdraw();

    QWidget *window;
    QPointer<QWidget> speaker;
    QString ownDescription;
};

#endif
