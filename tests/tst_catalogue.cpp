// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Every text the program passes through tr() must have a finished Japanese
// translation, and every translation a text: lupdate scans the sources
// afresh and its messages are matched with the committed catalogue's.

#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

struct Entry
{
    QString translation;
    QString type;
};

// Reads context/source pairs of a .ts file into a map keyed "context|source".
QHash<QString, Entry> readCatalogue(const QString &path)
{
    QHash<QString, Entry> entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    QXmlStreamReader xml(&file);
    QString context, source;
    Entry entry;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            source.clear();
            entry = Entry();
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            entry.type = xml.attributes().value(QLatin1String("type")).toString();
            entry.translation = xml.readElementText();
            entries.insert(context + QLatin1Char('|') + source, entry);
        }
    }
    return entries;
}

} // namespace

class tst_Catalogue : public QObject
{
    Q_OBJECT

private slots:
    void everySourceTextIsTranslated();
};

void tst_Catalogue::everySourceTextIsTranslated()
{
    QTemporaryDir dir;
    const QString scanned = dir.filePath(QStringLiteral("lukimo_ja.ts"));
    const QString source = QStringLiteral(LUKIMO_SOURCE_DIR);
    QStringList arguments;
    arguments << QStringLiteral("-I") << source;
    for (const char *folder :
         {"app", "common", "numberwindow", "settings", "pastdata", "help", "sound"})
        arguments << source + QLatin1Char('/') + QLatin1String(folder);
    arguments << QStringLiteral("-silent") << QStringLiteral("-ts") << scanned;

    QProcess lupdate;
    lupdate.start(QStringLiteral(LUPDATE), arguments);
    QVERIFY(lupdate.waitForFinished(60000));
    QCOMPARE(lupdate.exitCode(), 0);

    const QHash<QString, Entry> found = readCatalogue(scanned);
    const QHash<QString, Entry> committed =
        readCatalogue(source + QStringLiteral("/translations/lukimo_ja.ts"));
    QVERIFY(!found.isEmpty());

    QStringList missing;
    for (auto it = found.cbegin(); it != found.cend(); ++it) {
        const auto entry = committed.constFind(it.key());
        if (entry == committed.cend() || !entry->type.isEmpty() ||
            entry->translation.trimmed().isEmpty())
            missing << it.key();
    }
    missing.sort();
    QVERIFY2(missing.isEmpty(),
             qPrintable(QStringLiteral("untranslated: ") + missing.join(QStringLiteral("; "))));

    // And the other way: each translation still has its text in the code, so
    // that a text changed or emptied in one place only cannot pass.
    QStringList stale;
    for (auto it = committed.cbegin(); it != committed.cend(); ++it) {
        if (!found.contains(it.key()))
            stale << it.key();
    }
    stale.sort();
    QVERIFY2(stale.isEmpty(), qPrintable(QStringLiteral("no longer in the code: ") +
                                         stale.join(QStringLiteral("; "))));
}

QTEST_MAIN(tst_Catalogue)
#include "tst_catalogue.moc"
