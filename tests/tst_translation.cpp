// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/translation.h"
#include "common/catalogue.h"
#include "numberwindow/random.h"
#include "pastdata/pastsearch.h"
#include "settings/setup_config.h"

#include "support/hostsystem.h"
#include "support/modalboxcloser.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtEndian>
#include <QtTest>

class tst_Translation : public QObject
{
    Q_OBJECT

private slots:
    void decision_data();
    void decision();
    void lookupIsRelativeToWorkingDirectory();
    void literalsBypassTheCatalogue();
    void onlyTheExactCatalogueIsTried();
    void damagedCataloguesAreRefused_data();
    void damagedCataloguesAreRefused();
    void noSingleByteChangeCanMisleadTheToolkit();
    void catalogueStructure_data();
    void catalogueStructure();
    void nothingPastTheFileIsRead_data();
    void nothingPastTheFileIsRead();
    void aRefusedCatalogueEmptiesTheTranslator();

private:
    static QByteArray goodCatalogue();
};

QByteArray tst_Translation::goodCatalogue()
{
    QFile file(QStringLiteral(LUKIMO_RUN_DIR "/lukimo_ja.qm"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("the built catalogue is missing");
    return file.readAll();
}

static void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// The toolkit's own lookup would fall back to lukimo.qm, lukimo_ja and even
// the executable lukimo; only lukimo_ja.qm is ever read.
void tst_Translation::onlyTheExactCatalogueIsTried()
{
    QTemporaryDir dir;
    const QByteArray good = goodCatalogue();
    for (const char *name : {"lukimo.qm", "lukimo_ja", "lukimo", "lukimo_ja.qm.qm"})
        writeFile(dir.filePath(QLatin1String(name)), good);
    Translator translator;
    QVERIFY(!installTranslation(translator, QLocale::Japanese, dir.path()));
    QVERIFY(translator.isEmpty());

    writeFile(dir.filePath(QStringLiteral("lukimo_ja.qm")), good);
    QVERIFY(installTranslation(translator, QLocale::Japanese, dir.path()));
    QVERIFY(!translator.isEmpty());
    QCOMPARE(QCoreApplication::translate("HelpWindow", "How to use"),
             translator.translate("HelpWindow", "How to use"));
    QVERIFY(QCoreApplication::translate("HelpWindow", "How to use") != QLatin1String("How to use"));
    QCoreApplication::removeTranslator(&translator);
}

void tst_Translation::damagedCataloguesAreRefused_data()
{
    QTest::addColumn<QString>("damage");
    QTest::newRow("empty file") << "empty";
    QTest::newRow("magic only") << "magic";
    QTest::newRow("cut in the middle") << "cut";
    QTest::newRow("cut by one byte") << "cut1";
    QTest::newRow("garbage after the catalogue") << "tail";
    QTest::newRow("garbage after the header") << "garbage";
    QTest::newRow("message length runs past its section") << "length";
    QTest::newRow("section length runs past the file") << "section";
    QTest::newRow("hash points outside the messages") << "offset";
    QTest::newRow("depends on another catalogue") << "dependency";
    QTest::newRow("a directory") << "directory";
    QTest::newRow("a FIFO") << "fifo";
}

// A damaged catalogue is treated like a missing one: the program starts in
// its own texts, without a message, and never hangs or crashes.
void tst_Translation::damagedCataloguesAreRefused()
{
    QFETCH(QString, damage);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lukimo_ja.qm"));
    QByteArray bytes = goodCatalogue();
    // Sections: hashes (tag 0x42), then messages (tag 0x69).
    const qsizetype hashes = bytes.indexOf(char(0x42), 16);
    const qsizetype messages = bytes.indexOf(char(0x69), hashes + 5 + 8);
    if (damage == QLatin1String("empty"))
        bytes.clear();
    else if (damage == QLatin1String("magic"))
        bytes.truncate(16);
    else if (damage == QLatin1String("cut"))
        bytes.truncate(bytes.size() / 2);
    else if (damage == QLatin1String("cut1"))
        bytes.chop(1);
    else if (damage == QLatin1String("tail"))
        bytes.append("\x42\x00\x00\x00\x08garbage!", 13);
    else if (damage == QLatin1String("garbage"))
        bytes = bytes.left(16) + QByteArray(200, '\x69');
    else if (damage == QLatin1String("length"))
        bytes[messages + 5 + 2] = char(0x7f); // the first record's first length
    else if (damage == QLatin1String("section"))
        bytes[messages + 1] = char(0x7f);
    else if (damage == QLatin1String("offset"))
        bytes[hashes + 5 + 4] = char(0x7f);
    else if (damage == QLatin1String("dependency"))
        bytes.append(QByteArray("\x96\x00\x00\x00\x04", 5) + QByteArray("\x00\x00\x00\x00", 4));
    if (damage == QLatin1String("directory"))
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("lukimo_ja.qm")));
    else if (damage == QLatin1String("fifo") && !fifosInFolders())
        QSKIP("a folder here cannot hold a FIFO");
    else if (damage == QLatin1String("fifo"))
        QVERIFY(makeFifo(path));
    else
        writeFile(path, bytes);

    if (damage != QLatin1String("directory") && damage != QLatin1String("fifo"))
        QVERIFY(!isWellFormedCatalogue(bytes));
    Translator translator;
    QVERIFY(!translator.loadCatalogue(path));
    QVERIFY(translator.isEmpty());
    QVERIFY(!installTranslation(translator, QLocale::Japanese, dir.path()));
    {
        Random window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Lukimo"));
    }
    QCoreApplication::removeTranslator(&translator);
}

// Whatever one byte of the catalogue becomes, either the check refuses it or
// every lookup stays inside the file (the sanitizer build watches that).
void tst_Translation::noSingleByteChangeCanMisleadTheToolkit()
{
    const QByteArray good = goodCatalogue();
    QVERIFY(isWellFormedCatalogue(good));
    const char *const lookups[][2] = {
        {"Random", "Lukimo"},          {"Setup_config", "settei menu numbers3"},
        {"Input_Serch", "No Data"},    {"Input_Serch", "There  are %1 times"},
        {"HelpWindow", "How to use"},  {"Random", "Box Pattern"},
        {"Nowhere", "Nothing at all"},
    };
    int accepted = 0;
    for (qsizetype at = 0; at < good.size(); ++at) {
        for (char value : {char(0x00), char(0x7f), char(0xff)}) {
            QByteArray changed = good;
            if (changed[at] == value)
                continue;
            changed[at] = value;
            if (!isWellFormedCatalogue(changed))
                continue;
            ++accepted;
            QTranslator translator;
            if (!translator.load(reinterpret_cast<const uchar *>(changed.constData()),
                                 int(changed.size())))
                continue;
            for (const auto &lookup : lookups)
                (void)translator.translate(lookup[0], lookup[1]);
        }
    }
    // Changes inside texts stay possible; they are harmless.
    QVERIFY(accepted > 0);
}

void tst_Translation::decision_data()
{
    QTest::addColumn<QLocale::Language>("language");
    QTest::addColumn<bool>("catalogueThere");
    QTest::addColumn<bool>("translated");

    QTest::newRow("japanese, catalogue there") << QLocale::Japanese << true << true;
    QTest::newRow("japanese, no catalogue") << QLocale::Japanese << false << false;
    QTest::newRow("english, catalogue there") << QLocale::English << true << false;
    QTest::newRow("german, catalogue there") << QLocale::German << true << false;
}

void tst_Translation::decision()
{
    QFETCH(QLocale::Language, language);
    QFETCH(bool, catalogueThere);
    QFETCH(bool, translated);

    QTemporaryDir empty;
    const QString directory = catalogueThere ? QStringLiteral(LUKIMO_RUN_DIR) : empty.path();

    Translator translator;
    const bool installed = installTranslation(translator, language, directory);
    QCOMPARE(installed, translated);

    {
        Random window;
        QCOMPARE(window.windowTitle() != QStringLiteral("Lukimo"), translated);
        QCOMPARE(window.toolTip().startsWith(QStringLiteral("Left Button")), !translated);
    }
    QCoreApplication::removeTranslator(&translator);
}

void tst_Translation::lookupIsRelativeToWorkingDirectory()
{
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QStringLiteral(LUKIMO_RUN_DIR)));
    Translator fromRunDir;
    installTranslation(fromRunDir, QLocale::Japanese);
    QVERIFY(!fromRunDir.isEmpty());
    QCoreApplication::removeTranslator(&fromRunDir);

    QTemporaryDir elsewhere;
    QVERIFY(QDir::setCurrent(elsewhere.path()));
    Translator fromElsewhere;
    installTranslation(fromElsewhere, QLocale::Japanese);
    QVERIFY(fromElsewhere.isEmpty());
    QCoreApplication::removeTranslator(&fromElsewhere);

    QDir::setCurrent(previous);
}

// Under Japanese, the texts the program shows as written stay as written,
// and the ones next to them are translated.
void tst_Translation::literalsBypassTheCatalogue()
{
    Translator translator;
    QVERIFY(installTranslation(translator, QLocale::Japanese, QStringLiteral(LUKIMO_RUN_DIR)));

    {
        Setup_config dialog;
        QVERIFY(dialog.windowTitle() != QStringLiteral("settei menu numbers3"));
        QStringList buttons;
        for (QPushButton *button : dialog.findChildren<QPushButton *>()) {
            buttons << button->text();
            if (button->text() == QLatin1String("ok"))
                QVERIFY(button->toolTip() != QStringLiteral("OK and close"));
        }
        QVERIFY(buttons.contains(QStringLiteral("ok")));
        QVERIFY(!buttons.contains(QStringLiteral("Version")));
        QStringList digits;
        for (QRadioButton *radio : dialog.findChildren<QRadioButton *>())
            digits << radio->text();
        QCOMPARE(digits.count(QStringLiteral("9")), 4);
        QCOMPARE(digits.count(QStringLiteral("#")), 4);
    }

    QWidget parent;
    ModalBoxCloser closer;
    Data_to_times(&parent, 512);
    Times_to_data(&parent, 0);
    closer.waitUntilClosed();
    QCOMPARE(closer.boxes.size(), 2);
    QCOMPARE(closer.boxes[0].title, QStringLiteral("information"));
    QVERIFY(!closer.boxes[0].text.startsWith(QStringLiteral("There")));
    QVERIFY(closer.boxes[0].text.contains(QStringLiteral("4")));
    QVERIFY(closer.boxes[1].title != QStringLiteral("Error"));

    QCoreApplication::removeTranslator(&translator);
}

namespace {

QByteArray be32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray section(char tag, const QByteArray &body)
{
    return char(tag) + be32(quint32(body.size())) + body;
}

// A message record: its translation (UTF-16, big-endian), source text and
// context, then the end tag.
QByteArray record(const QByteArray &translation, const QByteArray &source)
{
    return char(3) + be32(quint32(translation.size())) + translation + char(6) +
           be32(quint32(source.size())) + source + char(7) + be32(6) + "Random" + char(1);
}

const QByteArray magic("\x3c\xb8\x64\x18\xca\xef\x9c\x95\xcd\x21\x1c\xbf\x60\xa1\xbd\xdd", 16);

} // namespace

// The checker against catalogues built by hand, one rule at a time: each
// refused row breaks its rule and keeps every other, so that it fails for
// the reason its name gives.
void tst_Translation::catalogueStructure_data()
{
    QTest::addColumn<QByteArray>("catalogue");
    QTest::addColumn<bool>("wellFormed");

    const QByteArray first = record(QByteArray("\0A\0B", 4), "ab");
    const QByteArray second = record(QByteArray("\0C", 2), "c");
    const QByteArray messages = first + second;
    const QByteArray hashes = be32(5) + be32(0) + be32(9) + be32(quint32(first.size()));
    auto catalogue = [&](const QByteArray &hashTable, const QByteArray &messageBlock) {
        return magic + section(0x42, hashTable) + section(0x69, messageBlock);
    };

    QTest::newRow("two messages") << catalogue(hashes, messages) << true;
    const QByteArray untranslated = record(QByteArray(), "ab");
    QTest::newRow("an untranslated message")
        << catalogue(be32(5) + be32(0) + be32(9) + be32(quint32(untranslated.size())),
                     untranslated + second)
        << true;
    QByteArray none = first;
    none.replace(1, 4, be32(0xffffffffu));
    none.remove(5, 4);
    QTest::newRow("a translation marked none") << catalogue(be32(5) + be32(0), none) << true;
    QTest::newRow("hashes out of order")
        << catalogue(be32(9) + be32(0) + be32(5) + be32(quint32(first.size())), messages) << false;
    QTest::newRow("hash into the middle of a record")
        << catalogue(be32(5) + be32(3), messages) << false;
    QTest::newRow("hash past the messages")
        << catalogue(be32(5) + be32(quint32(messages.size())), messages) << false;
    QTest::newRow("hash table of odd length")
        << catalogue(hashes + QByteArray(4, '\0'), messages) << false;
    QByteArray longer = messages;
    longer.replace(1, 4, be32(quint32(messages.size())));
    QTest::newRow("translation longer than its section")
        << catalogue(be32(5) + be32(0), longer) << false;
    QTest::newRow("translation of odd length")
        << catalogue(be32(5) + be32(0), record(QByteArray("\0A\0", 3), "ab")) << false;
    QByteArray unknown = first;
    unknown[0] = char(0x55);
    QTest::newRow("unknown record tag") << catalogue(be32(5) + be32(0), unknown) << false;
    // An obsolete field is a tag and four bytes, which the toolkit skips.
    QByteArray obsolete = first;
    obsolete.insert(0, char(5) + be32(0x7fffffffu));
    QTest::newRow("an obsolete field")
        << catalogue(be32(5) + be32(0) + be32(9) + be32(quint32(obsolete.size())),
                     obsolete + second)
        << true;
    QByteArray unended = messages;
    unended.chop(1);
    QTest::newRow("last record without its end") << catalogue(hashes, unended) << false;
    QTest::newRow("no messages") << magic + section(0x42, hashes) << false;
    QTest::newRow("no hashes") << magic + section(0x69, messages) << false;
    QTest::newRow("three bytes after the last section")
        << catalogue(hashes, messages) + QByteArray("\x42\0\0", 3) << false;
    QTest::newRow("four bytes after the last section")
        << catalogue(hashes, messages) + QByteArray("\x88\x01\x01\x01", 4) << false;
    QTest::newRow("last section one byte longer than the file")
        << catalogue(hashes, messages) + char(0x88) + be32(3) + "\x01\x01" << false;
    QTest::newRow("an empty section")
        << catalogue(hashes, messages) + char(0x88) + be32(0) << false;
    QTest::newRow("a context table")
        << catalogue(hashes, messages) + section(0x2f, QByteArray("\0\1\0\0", 4)) << false;
    QTest::newRow("numerus rules and a language")
        << catalogue(hashes, messages) + section(char(0x88), "\x01\x01") + section(char(0xa7), "ja")
        << true;
}

void tst_Translation::catalogueStructure()
{
    QFETCH(QByteArray, catalogue);
    QFETCH(bool, wellFormed);
    QCOMPARE(isWellFormedCatalogue(catalogue), wellFormed);
}

// Each catalogue is refused before its end; the bytes that happen to follow
// it in memory would complete what it left unfinished into something valid.
void tst_Translation::nothingPastTheFileIsRead_data()
{
    QTest::addColumn<QByteArray>("catalogue");
    QTest::addColumn<QByteArray>("after");

    const QByteArray messages = section(0x69, record(QByteArray("\0A", 2), "a"));
    const QByteArray hashes = section(0x42, be32(5) + be32(0));
    QTest::newRow("hash table of odd length")
        << messages + section(0x42, be32(5) + be32(0) + be32(9)) << be32(0);
    QTest::newRow("four bytes after the last section")
        << messages + hashes + QByteArray("\x88\0\0\0", 4) << QByteArray("\x01x", 2);
    QTest::newRow("three bytes after the last section")
        << messages + hashes + QByteArray("\x88\0\0", 3) << QByteArray("\0\x01x", 3);
}

void tst_Translation::nothingPastTheFileIsRead()
{
    QFETCH(QByteArray, catalogue);
    QFETCH(QByteArray, after);
    const QByteArray memory = magic + catalogue + after;
    QVERIFY(!isWellFormedCatalogue(QByteArrayView(memory).first(memory.size() - after.size())));
}

void tst_Translation::aRefusedCatalogueEmptiesTheTranslator()
{
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("good.qm"));
    const QString bad = dir.filePath(QStringLiteral("bad.qm"));
    writeFile(good, goodCatalogue());
    writeFile(bad, goodCatalogue().left(100));
    Translator translator;
    QVERIFY(translator.loadCatalogue(good));
    QVERIFY(!translator.isEmpty());
    QVERIFY(!translator.loadCatalogue(bad));
    QVERIFY(translator.isEmpty());
    QCOMPARE(translator.translate("HelpWindow", "How to use"), QString());
}

QTEST_MAIN(tst_Translation)
#include "tst_translation.moc"
