// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef TRANSLATION_H
#define TRANSLATION_H

#include <QByteArray>
#include <QByteArrayView>
#include <QLocale>
#include <QString>
#include <QTranslator>

// A translator that loads only a catalogue it has checked. The toolkit's
// loader trusts the lengths inside a catalogue file and falls back to other
// file names; this one reads exactly the file it is given, checks its
// structure, and keeps the bytes the toolkit then reads from.
class Translator : public QTranslator
{
    Q_OBJECT

public:
    using QTranslator::QTranslator;

    // Loads the catalogue at path; false, and the translator stays empty,
    // when the file is missing, not a regular file, too large, or not a
    // well-formed catalogue.
    bool loadCatalogue(const QString &path);

private:
    QByteArray catalogue;
};

// Whether data is a compiled catalogue whose every section and message
// record lies inside it, with nothing that would make the toolkit read
// further files.
bool isWellFormedCatalogue(QByteArrayView data);

// Loads the Japanese catalogue lukimo_ja.qm from directory (empty: the
// working directory) into the translator and installs it in the application
// when the language is Japanese; any other language leaves the source texts.
// A missing or damaged catalogue is not an error: the texts then stay as
// written. Returns whether the translator was installed.
bool installTranslation(Translator &translator, QLocale::Language language,
                        const QString &directory = QString());

#endif
