// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/identity.h"
#include "app/streams.h"
#include "app/translation.h"
#include "numberwindow/random.h"
#include "platform/platform.h"
#include "sound/clicksound.h"

#include <QApplication>

int main(int argc, char **argv)
{
    prepareStandardStreams();
    QApplication app(argc, argv);
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
        platform::exitAbandoningThreads(status);
    return status;
}
