// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef RADIOGROUPFOCUS_H
#define RADIOGROUPFOCUS_H

#include <QObject>

class QWidget;

// Makes a group of radio buttons one stop for Tab and Backtab, entered at
// its checked button; the arrow keys then move within the group. Qt alone
// enters some groups at whichever button comes first in the focus chain,
// checked or not (the past-data window's modes, where the arrows then do
// nothing).
class RadioGroupFocus : public QObject
{
    Q_OBJECT

public:
    // Watches the radio buttons that are children of group; the watcher
    // belongs to the group.
    static void install(QWidget *group);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit RadioGroupFocus(QWidget *group);

    QWidget *group = nullptr;
};

#endif
