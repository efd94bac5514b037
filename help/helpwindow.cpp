// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/helpwindow.h"

#include <QUrl>

HelpWindow::HelpWindow() : QTextBrowser(nullptr)
{
    setReadOnly(true);
    setWindowTitle(tr("How to use"));
    resize(750, 400);

    QUrl page;
    page.setPath(QStringLiteral("html/index.html"));
    setSource(page);
}

HelpWindow::~HelpWindow() = default;
