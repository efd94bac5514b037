// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef HELPWINDOW_H
#define HELPWINDOW_H

#include <QTextBrowser>

// A read-only browser on the local help page html/index.html, looked up
// relative to the working directory. Without the page it stays empty.
class HelpWindow : public QTextBrowser
{
    Q_OBJECT

public:
    HelpWindow();
    ~HelpWindow() override;
};

#endif
