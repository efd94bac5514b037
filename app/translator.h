// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef TRANSLATOR_H
#define TRANSLATOR_H

#include <QByteArray>
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

#endif
