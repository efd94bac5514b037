// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/identity.h"

#include "app/iconpixels.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>

void setApplicationIdentity()
{
    QGuiApplication::setDesktopFileName(QStringLiteral("org.lukimo.Lukimo"));
    // The data folder is named after these: lukimo, with no organisation
    // folder above it, whatever the executable is called.
    QCoreApplication::setApplicationName(QStringLiteral("lukimo"));
    QCoreApplication::setOrganizationName(QString());
    // Raw pixels, not image files: decoding PNGs at start-up would bring in
    // the image readers before the first paint. Larger icons come from the
    // desktop entry's icon theme.
    QIcon icon;
    for (const IconPixels &pixels : iconPixels)
        icon.addPixmap(QPixmap::fromImage(
            QImage(pixels.rgba, pixels.size, pixels.size, QImage::Format_RGBA8888)));
    QApplication::setWindowIcon(icon);
}
