// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef TRANSLATION_H
#define TRANSLATION_H

#include <QLocale>
#include <QString>

class QTranslator;

// Loads the Japanese catalogue into the translator and installs it in the
// application when the language is Japanese; any other language leaves the
// source texts. An empty directory means the working directory. A missing
// catalogue is not an error: the texts then stay as written. Returns whether
// the translator was installed.
bool installTranslation(QTranslator &translator, QLocale::Language language,
                        const QString &directory = QString());

#endif
