// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef REPORTBOX_H
#define REPORTBOX_H

#include <QMargins>
#include <QMessageBox>
#include <QPointer>

#include <functional>

// The program's modal information box with the single button OK. It is wide
// enough for its whole title beside the icon and buttons that window managers
// put in a title bar, and it can open beside a window it must not hide.
class ReportBox : public QMessageBox
{
    Q_OBJECT

public:
    ReportBox(const QString &title, const QString &text, QWidget *parent);

    // Opens the box over parent and returns at once, with no event loop of
    // its own (the browser has none to give): until the user closes the box,
    // by OK, Escape, Return or its title bar, no other window of the program
    // takes input. Then `then` runs, once. With keepClear the box stands
    // beside that window instead of over its parent. One box at a time: a
    // report asked for while another is open opens when that one is closed.
    // A report whose parent is gone before its box is closed goes with it,
    // and so does its `then`, which could only reach into that window.
    static void inform(QWidget *parent, const QString &title, const QString &text,
                       const QWidget *keepClear = nullptr, std::function<void()> then = {});

    // The width a title bar needs to show the title whole.
    static int titleBarWidth(const QWidget *window);

protected:
    void showEvent(QShowEvent *event) override;

private:
    static void openNext();
    // Beside keepClear again, where its frame is not the one it was placed
    // with.
    void placeForFrame();

    QPointer<const QWidget> keepClear;
    QMargins placedFor;
};

#endif
