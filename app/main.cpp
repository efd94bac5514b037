// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/translation.h"
#include "numberwindow/random.h"

#include <QApplication>
#include <QTranslator>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTranslator translator;
    installTranslation(translator, QLocale::system().language());

    Random window(nullptr);
    window.show();
    return app.exec();
}
