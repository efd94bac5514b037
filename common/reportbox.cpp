// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/reportbox.h"

#include "common/placement.h"

#include <QDialogButtonBox>
#include <QShowEvent>

ReportBox::ReportBox(const QString &title, const QString &text, QWidget *parent)
    : QMessageBox(QMessageBox::Information, title, text, QMessageBox::Ok, parent)
{
}

void ReportBox::inform(QWidget *parent, const QString &title, const QString &text,
                       const QWidget *keepClear)
{
    ReportBox box(title, text, parent);
    box.keepClear = keepClear;
    box.exec();
}

// Window managers draw the title in a bold font, often larger than the
// program's, beside an icon and up to three buttons, each about two lines of
// text square. Qt allows a box only fifty pixels beyond its title, which
// left "Error" as an ellipsis.
int ReportBox::titleBarWidth(const QWidget *window)
{
    QFont font = window->font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    return metrics.horizontalAdvance(window->windowTitle()) * 5 / 4 + 8 * metrics.height();
}

void ReportBox::showEvent(QShowEvent *event)
{
    // The row of buttons spans the box, so its width is the box's least.
    if (!event->spontaneous()) {
        if (auto *buttons = findChild<QDialogButtonBox *>())
            buttons->setMinimumWidth(titleBarWidth(this));
    }
    // Sized, then centred on the parent.
    QMessageBox::showEvent(event);
    if (!event->spontaneous() && keepClear)
        moveBeside(this, keepClear);
}
