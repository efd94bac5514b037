// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/identity.h"

#include <QApplication>
#include <QIcon>

void presentApplication()
{
    // The icons live in this static library, which the linker would
    // otherwise leave out.
    Q_INIT_RESOURCE(icons);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.lukimo.Lukimo"));
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/lukimo-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
}
