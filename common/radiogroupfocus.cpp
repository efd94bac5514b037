// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/radiogroupfocus.h"

#include <QFocusEvent>
#include <QRadioButton>

RadioGroupFocus::RadioGroupFocus(QWidget *group) : QObject(group), group(group) {}

void RadioGroupFocus::install(QWidget *group)
{
    auto *watcher = new RadioGroupFocus(group);
    for (QRadioButton *button : group->findChildren<QRadioButton *>(Qt::FindDirectChildrenOnly))
        button->installEventFilter(watcher);
}

bool RadioGroupFocus::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::FocusIn)
        return false;
    const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
    // A click or an arrow key checks the button it focuses; only Tab, Backtab
    // and a window coming back can land on one that is not checked.
    if (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason &&
        reason != Qt::ActiveWindowFocusReason)
        return false;
    auto *focused = qobject_cast<QRadioButton *>(watched);
    if (!focused || focused->isChecked())
        return false;
    for (QRadioButton *button : group->findChildren<QRadioButton *>(Qt::FindDirectChildrenOnly)) {
        if (button->isChecked() && button->isVisibleTo(group) && button->isEnabled()) {
            button->setFocus(reason);
            return true;
        }
    }
    return false;
}
