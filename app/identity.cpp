// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/identity.h"

#include <QApplication>
#include <QIcon>

void setApplicationIdentity()
{
    QGuiApplication::setDesktopFileName(QStringLiteral("org.lukimo.Lukimo"));
    // The sizes a title bar and a task switcher ask for; larger ones come
    // from the desktop entry's icon theme.
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64})
        icon.addFile(QStringLiteral(":/icons/lukimo-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
}
