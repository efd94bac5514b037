// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pastdata/drawstore.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdlib>

namespace {

DrawRow row(int draw, int digits)
{
    DrawRow row;
    row.draw = draw;
    row.date = QDate(2026, 1, 1).addDays(draw - 7000);
    row.digits = QStringLiteral("%1").arg(digits % 1000, 3, 10, QLatin1Char('0'));
    return row;
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
}

// A second copy of the program, as this test's own executable run with
// --copy: "add PATH FIRST COUNT" adds draws FIRST.. one save at a time;
// "replace PATH DRAW COUNT" replaces DRAW COUNT times, with the digits
// 1..COUNT; "interrupt PATH DRAW" adds DRAW and ends between writing the
// new file and putting it in the old one's place.
int runCopy(const QStringList &arguments)
{
    DrawStore store(arguments.value(1));
    store.load();
    const int first = arguments.value(2).toInt();
    const int count = arguments.value(3).toInt();
    if (arguments.value(0) == QLatin1String("interrupt")) {
        store.setBeforeCommit([] { std::_Exit(3); });
        store.add({row(first, 1)}, {});
        return 1;
    }
    for (int i = 1; i <= count; ++i) {
        const bool saved = arguments.value(0) == QLatin1String("add")
                               ? store.add({row(first + i - 1, i)}, {})
                               : store.add({}, {row(first, i)});
        if (!saved) {
            std::fprintf(stderr, "%s\n", qPrintable(store.saveError()));
            return 1;
        }
    }
    return 0;
}

QProcess *startCopy(const QStringList &arguments, QObject *parent)
{
    auto *copy = new QProcess(parent);
    copy->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    copy->start(QCoreApplication::applicationFilePath(), QStringList{"--copy"} + arguments);
    return copy;
}

} // namespace

class tst_DrawStore : public QObject
{
    Q_OBJECT

private slots:
    void aDamagedFileIsUsedAsFarAsItIsGood();
    void aFailedSaveKeepsTheDrawsForAnotherTry();
    void aSaveCutShortLeavesTheOldFile();
    void twoCopiesKeepEachOthersDraws_data();
    void twoCopiesKeepEachOthersDraws();
};

// Every good line is used, the others are reported with their line numbers;
// loading leaves the file as it was, and adding keeps every line of it.
void tst_DrawStore::aDamagedFileIsUsedAsFarAsItIsGood()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("draws.csv"));
    const QByteArray damaged = "draw,date,digits\n"
                               "7000,2026-01-01,123\n"
                               "7001,2026-01-02,12x4 # my note\n"
                               "# kept by hand\n"
                               "7002,2026/1/3,\"045\"\n"
                               "7003,2026-01-04,9\n"
                               "7004,2026-01-05,111\n"
                               "7004,2026-01-05,112\n"
                               "7005,2026-01-06,\x81\xFF\n";
    write(path, damaged);
    DrawStore store(path);
    store.load();
    QVERIFY(store.problem().isEmpty());
    QCOMPARE(store.draws().keys(), (QList<int>{7000, 7002}));
    QCOMPARE(store.draws().value(7002).digits, QStringLiteral("045"));
    QList<int> skipped;
    for (const LineProblem &problem : store.skipped())
        skipped << problem.line;
    QCOMPARE(skipped, (QList<int>{3, 6, 7, 8, 9}));
    QCOMPARE(contentOf(path), damaged);

    QVERIFY(store.add({row(7006, 6)}, {}));
    QCOMPARE(contentOf(path), damaged + "7006,2026-01-07,006\n");
    QCOMPARE(store.draws().keys(), (QList<int>{7000, 7002, 7006}));

    // A file that cannot be read at all is never written.
    const QByteArray huge =
        QByteArray("7000,2026-01-01,123\n").repeated(maxDrawInputBytes / 20 + 1);
    write(path, huge);
    DrawStore other(path);
    other.load();
    QVERIFY(!other.problem().isEmpty());
    QVERIFY(!other.add({row(7007, 7)}, {}));
    QVERIFY(other.hasUnsaved());
    QVERIFY(contentOf(path) == huge);
}

// The file cannot be written: the user is told, nothing is claimed saved,
// the draws stay while the program runs, and a later try saves them.
void tst_DrawStore::aFailedSaveKeepsTheDrawsForAnotherTry()
{
    QTemporaryDir dir;
    // A file where the folder should be stops any write, even by root.
    write(dir.filePath(QStringLiteral("lukimo")), "in the way");
    const QString path = dir.filePath(QStringLiteral("lukimo/draws.csv"));
    DrawStore store(path);
    store.load();
    QVERIFY(!store.add({row(7000, 1), row(7001, 2)}, {}));
    QVERIFY(!store.saveError().isEmpty());
    QVERIFY(store.hasUnsaved());
    QCOMPARE(store.draws().keys(), (QList<int>{7000, 7001}));

    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("lukimo"))));
    QVERIFY(store.save());
    QVERIFY(!store.hasUnsaved());
    DrawStore reread(path);
    reread.load();
    QCOMPARE(reread.draws().keys(), (QList<int>{7000, 7001}));

    DrawStore nowhere{QString()};
    QVERIFY(!nowhere.add({row(7000, 1)}, {}));
    QVERIFY(!nowhere.saveError().isEmpty());
    QCOMPARE(nowhere.draws().size(), 1);
}

// A copy that ends between writing the new file and putting it in place
// leaves the old file whole, and its lock does not stop the next save.
void tst_DrawStore::aSaveCutShortLeavesTheOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("draws.csv"));
    DrawStore store(path);
    QVERIFY(store.add({row(7000, 1)}, {}));
    const QByteArray before = contentOf(path);

    QScopedPointer<QProcess> copy(startCopy({"interrupt", path, "7001"}, nullptr));
    QVERIFY(copy->waitForFinished(30000));
    QCOMPARE(copy->exitCode(), 3);
    QCOMPARE(contentOf(path), before);

    QVERIFY2(store.add({row(7002, 2)}, {}), qPrintable(store.saveError()));
    DrawStore reread(path);
    reread.load();
    QCOMPARE(reread.draws().keys(), (QList<int>{7000, 7002}));
}

void tst_DrawStore::twoCopiesKeepEachOthersDraws_data()
{
    QTest::addColumn<QStringList>("second");
    QTest::addColumn<QList<int>>("expected");
    QList<int> both;
    for (int draw = 7000; draw < 7060; ++draw)
        both << draw;
    QTest::newRow("both adding") << QStringList{"add", "7030", "30"} << both;
    QTest::newRow("one replacing") << QStringList{"replace", "7000", "30"} << both.mid(0, 30);
}

// Two copies saving at the same time, each its own draws one at a time:
// the file ends with every draw of both, and the replaced draw as its
// copy last wrote it.
void tst_DrawStore::twoCopiesKeepEachOthersDraws()
{
    QFETCH(QStringList, second);
    QFETCH(QList<int>, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("draws.csv"));
    DrawStore store(path);
    QVERIFY(store.add({row(7000, 999)}, {}));
    second.insert(1, path);
    QScopedPointer<QProcess> one(startCopy({"add", path, "7001", "29"}, nullptr));
    QScopedPointer<QProcess> other(startCopy(second, nullptr));
    QVERIFY(one->waitForFinished(60000) && other->waitForFinished(60000));
    QCOMPARE(one->exitCode(), 0);
    QCOMPARE(other->exitCode(), 0);
    DrawStore reread(path);
    reread.load();
    QCOMPARE(reread.draws().keys(), expected);
    QVERIFY(reread.skipped().isEmpty());
    QCOMPARE(contentOf(path).count('\n'), expected.size() + 1); // and its header
    if (second.first() == QLatin1String("replace"))
        QCOMPARE(reread.draws().value(7000).digits, QStringLiteral("030"));
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.value(1) == QLatin1String("--copy"))
        return runCopy(arguments.mid(2));
    tst_DrawStore test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_drawstore.moc"
