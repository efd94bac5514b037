// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/modalboxcloser.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

ModalBoxCloser::ModalBoxCloser()
{
    connect(&poll, &QTimer::timeout, this, &ModalBoxCloser::closeActiveBox);
    poll.start(1);
}

void ModalBoxCloser::closeActiveBox()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    QWidget *parent = box->parentWidget();
    boxes.append({box->windowTitle(), box->text(),
                  parent ? QString::fromLatin1(parent->metaObject()->className()) : QString(),
                  box->frameGeometry()});
    const QList<QAbstractButton *> buttons = box->buttons();
    if (buttons.isEmpty())
        box->reject();
    else
        buttons.first()->click();
}
