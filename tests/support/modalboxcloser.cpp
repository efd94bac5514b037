// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/modalboxcloser.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
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

void ModalBoxCloser::waitUntilClosed() const
{
    // Woken by the poll, not by QTest::qWait's ten-millisecond naps, which
    // would make a test of thousands of reports slow.
    QDeadlineTimer deadline(5000);
    while (QApplication::activeModalWidget() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    // The boxes closed are deleted, as a return to the event loop would.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (QWidget *open = QApplication::activeModalWidget())
        qFatal("a modal box stayed open: %s", qPrintable(open->windowTitle()));
}
