// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/reportbox.h"

#include "common/placement.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QShowEvent>
#include <QTimer>
#include <QWindow>

#include <deque>
#include <utility>

namespace {

struct Report
{
    QPointer<QWidget> parent;
    QString title;
    QString text;
    QPointer<const QWidget> keepClear;
    std::function<void()> then;
};

// Reports asked for while a box was open, oldest first.
std::deque<Report> &waiting()
{
    static std::deque<Report> reports;
    return reports;
}

QPointer<ReportBox> &openBox()
{
    static QPointer<ReportBox> box;
    return box;
}

} // namespace

ReportBox::ReportBox(const QString &title, const QString &text, QWidget *parent)
    : QMessageBox(QMessageBox::Information, title, text, QMessageBox::Ok, parent)
{
}

void ReportBox::inform(QWidget *parent, const QString &title, const QString &text,
                       const QWidget *keepClear, std::function<void()> then)
{
    waiting().push_back({parent, title, text, keepClear, std::move(then)});
    openNext();
}

void ReportBox::openNext()
{
    if (openBox())
        return;
    while (!waiting().empty()) {
        Report report = std::move(waiting().front());
        waiting().pop_front();
        // What was to follow could only reach into the window that is gone.
        if (!report.parent)
            continue;

        auto *box = new ReportBox(report.title, report.text, report.parent);
        box->keepClear = report.keepClear;
        box->setAttribute(Qt::WA_DeleteOnClose);
        // Where the keyboard was, it is again once the box is closed: Qt
        // leaves no window active then, and only a window manager would give
        // the activation back (the browser and a bare X server do not).
        QPointer<QWidget> focus = QApplication::focusWidget();
        openBox() = box;
        // A dialog may be finished twice (a button pressed by a screen reader
        // while the box closes); what follows the report happens once.
        connect(box, &QDialog::finished, box,
                [box, focus, then = std::move(report.then)]() mutable {
                    if (openBox() != box)
                        return;
                    openBox() = nullptr;
                    if (focus) {
                        focus->activateWindow();
                        focus->setFocus(Qt::OtherFocusReason);
                    }
                    if (const std::function<void()> next = std::exchange(then, nullptr))
                        next();
                    openNext();
                });
        // Gone with its parent, unfinished: the reports after it still open,
        // once the parent is wholly gone.
        connect(box, &QObject::destroyed, qApp,
                [] { QTimer::singleShot(0, qApp, &ReportBox::openNext); });
        // No other window takes input meanwhile: a message box is application
        // modal from its construction.
        box->show();
        // Framed only once shown (the browser gives it its title bar then),
        // it is placed again for its own frame, which would otherwise reach
        // over the window it was to keep clear of.
        box->placeForFrame();
        return;
    }
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
    if (!event->spontaneous() && keepClear) {
        moveBeside(this, keepClear);
        placedFor = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    }
}

void ReportBox::placeForFrame()
{
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    if (!keepClear || !isVisible() || frame == placedFor)
        return;
    placedFor = frame;
    moveBeside(this, keepClear);
}
