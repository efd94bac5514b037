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
// keeps what each one said.
class ModalBoxCloser : public QObject
{
    Q_OBJECT

public:
    ModalBoxCloser();

    QList<ShownBox> boxes;

private:
    void closeActiveBox();

    QTimer poll;
};

#endif
