// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/helpopener.h"

#include "help/helpwindow.h"

#include <QDir>
#include <QTest>

std::unique_ptr<HelpWindow> openHelpOnThePage()
{
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QStringLiteral(LUKIMO_RUN_DIR));
    auto window = std::make_unique<HelpWindow>();
    QDir::setCurrent(previous);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return nullptr;
    return window;
}
