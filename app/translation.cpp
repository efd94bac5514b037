// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/translation.h"

#include <QCoreApplication>
#include <QDir>

bool installTranslation(Translator &translator, QLocale::Language language,
                        const QString &directory)
{
    if (language != QLocale::Japanese)
        return false;
    const QString name = QStringLiteral("lukimo_") + QStringLiteral("ja") + QStringLiteral(".qm");
    (void)translator.loadCatalogue(QDir(directory).filePath(name));
    return QCoreApplication::installTranslator(&translator);
}
