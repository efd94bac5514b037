// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef MODALBOXCLOSER_H
#define MODALBOXCLOSER_H

#include <QList>
#include <QObject>
#include <QRect>
#include <QString>
#include <QTimer>

struct ShownBox
{
    QString title;
    QString text;
    QString parentClass;
    QRect frame;
};

// While it lives, reads and closes every modal message box that opens, and
// keeps what each one said. The program's reports open without an event loop
// of their own, so a test lets the event loop run for them to be closed.
class ModalBoxCloser : public QObject
{
    Q_OBJECT

public:
    ModalBoxCloser();

    // Runs the event loop until no modal box is open any more, each one read
    // and closed and what follows it done. A box still open after five
    // seconds ends the test run.
    void waitUntilClosed() const;

    QList<ShownBox> boxes;

private:
    void closeActiveBox();

    QTimer poll;
};

#endif
