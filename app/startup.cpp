// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/startup.h"

#include "app/accessibility.h"
#include "app/displaycheck.h"
#include "app/identity.h"
#include "app/translation.h"
#include "common/trace.h"
#include "numberwindow/random.h"
#include "platform/platform.h"
#include "sound/clicksound.h"

#include <QApplication>
#include <QLocale>

int runLukimo(int argc, char **argv, const std::function<void(Random &)> &beforeShow)
{
    platform::prepareStandardStreams();
    DisplayCheck display(argc, argv);
    QApplication app(argc, argv);
    if (!display.usable())
        return 1;
    installAccessibility();
    setApplicationIdentity();
    platform::addBundledFonts();
    Translator translator;
    const bool japanese = installTranslation(translator, QLocale::system().language());

    int status;
    {
        Random window(nullptr);
        platform::showTitleAndLanguage(window.windowTitle(),
                                       japanese ? QStringLiteral("ja") : QStringLiteral("en"));
        if (beforeShow)
            beforeShow(window);
        platform::showMainWindow(&window);
        status = app.exec();
    }
    finishTrace();
    // A sound thread stuck in a hung audio system holds a lock that Qt
    // Multimedia's exit handlers would wait on for ever: end the process
    // without running them.
    if (ClickSound::threadAbandoned())
        platform::exitAbandoningThreads(status);
    return status;
}
