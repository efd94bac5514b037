// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef HELPWINDOW_H
#define HELPWINDOW_H

#include "common/placement.h"

#include <QTextBrowser>
#include <QUrl>

#include <optional>

// A read-only browser on the local help page html/index.html, looked up
// relative to the working directory. Without the page it stays empty.
class HelpWindow : public QTextBrowser, public FitsScreen
{
    Q_OBJECT

public:
    HelpWindow();
    ~HelpWindow() override;

    // The page wraps to any width: on a screen narrower than the window, the
    // window takes the screen's width, and its own again where there is room.
    void fitInto(const QSize &room) override;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    // Reads local files only when they are regular files of a plausible
    // size: a FIFO or a device in the page's place would block the window
    // for ever, and a huge file would fill the memory.
    QVariant loadResource(int type, const QUrl &name) override;

private:
    // Laying out the page is the costliest part of start-up (it brings up
    // the font system, which the number window never needs), so the page is
    // found now but loaded when the window is first shown.
    QUrl page;
    // The width it had before a narrow screen took it.
    std::optional<int> ownWidth;
};

#endif
