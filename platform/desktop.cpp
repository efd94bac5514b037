// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What Linux and Windows do alike and the browser does otherwise: the click
// is played by the sound plugin, the fonts are the system's, the program
// has a quit action and the number is a window of its own.

#include "platform/platform.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QStandardPaths>
#include <QWidget>

namespace platform {

bool playsSoundItself()
{
    return false;
}

void loadSound(const QByteArray &) {}

bool playSound()
{
    return false;
}

QString userDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

bool opensFiles()
{
    return true;
}

QString fileToOpen(QWidget *parent, const QString &caption, const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
}

bool hasQuitAction()
{
    return true;
}

void addBundledFonts() {}

void showMainWindow(QWidget *window)
{
    window->show();
}

void scrollsByTouch(QAbstractScrollArea *) {}

void prepareWindow(QWidget *) {}

bool announcesStops()
{
    return false;
}

bool windowsReturnAfterScreenChanges()
{
    return false;
}

bool numberIsAButton()
{
    return false;
}

void showAboutBox(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::about(parent, title, text);
}

void showTitleAndLanguage(const QString &, const QString &) {}

} // namespace platform
