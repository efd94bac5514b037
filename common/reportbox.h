// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef REPORTBOX_H
#define REPORTBOX_H

#include <QMessageBox>

// The program's modal information box with the single button OK. It is wide
// enough for its whole title beside the icon and buttons that window managers
// put in a title bar, and it can open beside a window it must not hide.
class ReportBox : public QMessageBox
{
    Q_OBJECT

public:
    ReportBox(const QString &title, const QString &text, QWidget *parent);

    // Opens the box and returns once the user has closed it. With keepClear
    // the box stands beside that window instead of over its parent.
    static void inform(QWidget *parent, const QString &title, const QString &text,
                       const QWidget *keepClear = nullptr);

    // The width a title bar needs to show the title whole.
    static int titleBarWidth(const QWidget *window);

protected:
    void showEvent(QShowEvent *event) override;

private:
    const QWidget *keepClear = nullptr;
};

#endif
