// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef TRANSLATION_H
#define TRANSLATION_H

#include "app/translator.h"

#include <QLocale>
#include <QString>

// Loads the Japanese catalogue lukimo_ja.qm from directory (empty: the
// working directory) into the translator and installs it in the application
// when the language is Japanese; any other language leaves the source texts.
// A missing or damaged catalogue is not an error: the texts then stay as
// written. Returns whether the translator was installed.
bool installTranslation(Translator &translator, QLocale::Language language,
                        const QString &directory = QString());

#endif
