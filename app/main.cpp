// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/accessibility.h"
#include "app/identity.h"
#include "app/streams.h"
#include "app/translation.h"
#include "numberwindow/random.h"
#include "sound/clicksound.h"

#include <QApplication>

#include <cstdlib>

int main(int argc, char **argv)
{
    prepareStandardStreams();
    QApplication app(argc, argv);
    installAccessibility();
    presentApplication();
    Translator translator;
    installTranslation(translator, QLocale::system().language());

    int status;
    {
        Random window(nullptr);
        window.show();
        status = app.exec();
    }
    if (ClickSound::threadAbandoned())
        std::_Exit(status);
    return status;
}
