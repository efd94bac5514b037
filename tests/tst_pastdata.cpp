// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pastdata/boughtstore.h"
#include "pastdata/knowndraws.h"
#include "pastdata/pastsearch.h"

#include "support/modalboxcloser.h"
#include "support/stdoutcapture.h"

#include <QAbstractButton>
#include <QFile>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QWidget>
#include <QtTest>

class tst_PastData : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void tellingRows();
    void tableMatchesTheRecords();
    void laterDrawsFollowTheBuiltInOnes();
    void dataToTimes_data();
    void dataToTimes();
    void timesToData_data();
    void timesToData();
    void entryAndSearch();
    void clearKeepsSlotsUsed();
    void fullStoreReclaimsClearedSlots();
    void fullStoreRefuses();
    void randomOperationsMatchAReferenceList();
    void searchTraceFollowsTheClosedReport_data();
    void searchTraceFollowsTheClosedReport();
    void timesToDataHandsOnOnceClosed_data();
    void timesToDataHandsOnOnceClosed();
    void reportsWaitTheirTurn();
    void reportGoesWithItsWindow();

private:
    static void addClosings();
    static QList<QMessageBox *> openReports();
    static void closeReport(QMessageBox *box, const QString &how);

    QWidget parent;
};

// The ways a user closes a report.
void tst_PastData::addClosings()
{
    QTest::addColumn<QString>("how");
    for (const char *how : {"OK", "Escape", "Return", "title bar"})
        QTest::newRow(how) << QString::fromLatin1(how);
}

QList<QMessageBox *> tst_PastData::openReports()
{
    QList<QMessageBox *> open;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *box = qobject_cast<QMessageBox *>(widget); box && box->isVisible())
            open << box;
    }
    return open;
}

void tst_PastData::closeReport(QMessageBox *box, const QString &how)
{
    QWidget *keys =
        box->isAncestorOf(QApplication::focusWidget()) ? QApplication::focusWidget() : box;
    if (how == QLatin1String("OK"))
        QTest::mouseClick(box->buttons().first(), Qt::LeftButton);
    else if (how == QLatin1String("Escape"))
        QTest::keyClick(keys, Qt::Key_Escape);
    else if (how == QLatin1String("Return"))
        QTest::keyClick(keys, Qt::Key_Return);
    else
        box->close();
}

void tst_PastData::init()
{
    boughtStore() = BoughtStore();
}

// Draws 1 to 2000 answer as they always have.
void tst_PastData::tellingRows()
{
    const QList<std::pair<int, int>> rows = {{1, 191},    {2, 988},   {3, 194},   {24, 39},
                                             {66, 512},   {67, 512},  {197, 728}, {346, 0},
                                             {1999, 900}, {2000, 440}};
    for (const auto &[draw, digits] : rows)
        QCOMPARE(knownDraws().draw(draw)->digits, digits);

    QHash<int, QList<int>> draws;
    for (int k = 1; k <= 2000; ++k)
        draws[knownDraws().draw(k)->digits] << k;
    QCOMPARE(draws[512], (QList<int>{66, 67, 428, 1383}));
    QCOMPARE(draws[0], (QList<int>{346, 976, 1293}));
    QCOMPARE(draws[638].size(), 8);
    QVERIFY(!draws.contains(123));
    int never = 0;
    for (int number = 1; number <= 999; ++number)
        never += draws.contains(number) ? 0 : 1;
    QCOMPARE(never, 122);
}

// The rows of a file of data/results, split into fields, without its header.
static QList<QList<QByteArray>> records(const char *name)
{
    QFile file(QStringLiteral(LUKIMO_SOURCE_DIR "/data/results/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("%s: %s", name, qPrintable(file.errorString()));
    QList<QList<QByteArray>> rows;
    for (const QByteArray &line : file.readAll().split('\n').mid(1)) {
        if (!line.trimmed().isEmpty())
            rows << line.trimmed().split(',');
    }
    return rows;
}

// Every draw of the records, its date, its number and, where the records
// have them, its five prizes; none before them.
void tst_PastData::tableMatchesTheRecords()
{
    // Straight, box, set straight, set box and mini, in yen.
    QHash<int, QList<int>> paid;
    for (const QList<QByteArray> &f : records("numbers3-prizes-5577-6873.csv")) {
        QCOMPARE(f.size(), 11);
        paid[f[0].toInt()] = {f[2].toInt(), f[4].toInt(), f[6].toInt(), f[8].toInt(),
                              f[10].toInt()};
    }
    QCOMPARE(paid.size(), 6873 - 5577 + 1);

    int draw = 0;
    for (const QList<QByteArray> &f : records("numbers3-draws-1-6873.csv")) {
        QCOMPARE(f.size(), 3);
        ++draw;
        QCOMPARE(f[0].toInt(), draw);
        const std::optional<PastDraw> known = knownDraws().draw(draw);
        QVERIFY(known);
        QCOMPARE(known->draw, draw);
        QCOMPARE(known->date, QDate::fromString(QString::fromLatin1(f[1]), Qt::ISODate));
        QCOMPARE(known->digits, f[2].toInt());
        QCOMPARE(known->prizes.has_value(), paid.contains(draw));
        if (const std::optional<DrawPrizes> &p = known->prizes)
            QCOMPARE((QList<int>{p->straight, p->box, p->setStraight, p->setBox, p->mini}),
                     paid[draw]);
    }
    QCOMPARE(draw, KnownDraws::builtInLast());
    QCOMPARE(knownDraws().last(), draw);
    QCOMPARE(knownDraws().lastDate(), QDate(2025, 12, 8));
    QVERIFY(!knownDraws().draw(0) && !knownDraws().draw(draw + 1));
}

// Draws added after the built-in ones, with numbers missing between them.
void tst_PastData::laterDrawsFollowTheBuiltInOnes()
{
    QCOMPARE(knownDrawsLine(knownDraws()), QStringLiteral("Draws 1–6873, to 2025-12-08"));
    const KnownDraws draws(
        {{6880, QDate(2025, 12, 17), 412, std::nullopt},
         {6883, QDate(2025, 12, 22), 894, DrawPrizes{90000, 15000, 52500, 7500, 9000}}});
    QCOMPARE(knownDrawsLine(draws), QStringLiteral("Draws 1–6883, to 2025-12-22"));
    QCOMPARE(draws.draw(6883)->prizes->setStraight, 52500);
    QCOMPARE(timesToDataAnswer(6880, draws).text, QStringLiteral("6880 times data is 412"));
    QCOMPARE(timesToDataAnswer(6873, draws).text, QStringLiteral("6873 times data is 412"));
    for (int missing : {6874, 6879, 6881, 6884})
        QCOMPARE(timesToDataAnswer(missing, draws).text, QStringLiteral("No Data"));
    QCOMPARE(dataToTimesAnswer(412, draws).text, QStringLiteral("There  are 9 times"));
    QCOMPARE(dataToTimesAnswer(894, draws).text, QStringLiteral("There  are 1 times"));
    QCOMPARE(dataToTimesAnswer(123, draws).text, QStringLiteral("There  are 6 times"));
}

void tst_PastData::dataToTimes_data()
{
    QTest::addColumn<std::optional<int>>("value");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");

    const QString info = QStringLiteral("information");
    using number = std::optional<int>;
    QTest::newRow("512") << number(512) << info << QStringLiteral("There  are 4 times");
    QTest::newRow("638") << number(638) << info << QStringLiteral("There  are 15 times");
    QTest::newRow("123, first drawn after 2000") << number(123) << info << "There  are 6 times";
    QTest::newRow("355, the most drawn") << number(355) << info << "There  are 17 times";
    QTest::newRow("191, the first draw") << number(191) << info << "There  are 5 times";
    QTest::newRow("412, the last draw") << number(412) << info << "There  are 8 times";
    QTest::newRow("894, never drawn") << number(894) << info << "There aren't No Namber";
    QTest::newRow("000") << number(0) << info << QStringLiteral("There  are 6 times");
    QTest::newRow("not a number") << number() << "Error"
                                  << "No Data";
    QTest::newRow("1999") << number(1999) << info << QStringLiteral("There aren't No Namber");
    QTest::newRow("2000") << number(2000) << "Error"
                          << "No Data";
    QTest::newRow("-5") << number(-5) << "Error"
                        << "No Data";
}

void tst_PastData::dataToTimes()
{
    QFETCH(std::optional<int>, value);
    QFETCH(QString, title);
    QFETCH(QString, text);

    ModalBoxCloser closer;
    const QString output = captureStdout([&] {
        Data_to_times(&parent, value);
        closer.waitUntilClosed();
    });
    QCOMPARE(closer.boxes.size(), 1);
    QCOMPARE(closer.boxes[0].title, title);
    QCOMPARE(closer.boxes[0].text, text);
    QCOMPARE(output, QString());
}

void tst_PastData::timesToData_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");

    QTest::newRow("1") << 1 << "serch result"
                       << "1 times data is 191";
    QTest::newRow("24") << 24 << "serch result"
                        << "24 times data is 39";
    QTest::newRow("197") << 197 << "serch result"
                         << "197 times data is 728";
    QTest::newRow("346") << 346 << "serch result"
                         << "346 times data is 0";
    QTest::newRow("2000") << 2000 << "serch result"
                          << "2000 times data is 440";
    QTest::newRow("0") << 0 << "Error"
                       << "No Data";
    QTest::newRow("-3") << -3 << "Error"
                        << "No Data";
    QTest::newRow("2001") << 2001 << "serch result"
                          << "2001 times data is 325";
    QTest::newRow("6873") << 6873 << "serch result"
                          << "6873 times data is 412";
    QTest::newRow("6874") << 6874 << "Error"
                          << "No Data";
}

void tst_PastData::timesToData()
{
    QFETCH(int, value);
    QFETCH(QString, title);
    QFETCH(QString, text);

    ModalBoxCloser closer;
    QStringList handed;
    Times_to_data(&parent, value, [&](const QString &shown) { handed << shown; });
    closer.waitUntilClosed();
    QCOMPARE(closer.boxes.size(), 1);
    QCOMPARE(closer.boxes[0].title, title);
    QCOMPARE(closer.boxes[0].text, text);
    QCOMPARE(handed, QStringList{title == QLatin1String("Error") ? QString() : text});
}

void tst_PastData::entryAndSearch()
{
    ModalBoxCloser closer;
    BoughtStore &store = boughtStore();

    // Nothing entered: no hit and no trace.
    QString output = captureStdout([&] {
        Bought_serch(&parent, 5);
        closer.waitUntilClosed();
    });
    QCOMPARE(closer.boxes.last().text, QStringLiteral("There are no hit"));
    QCOMPARE(output, QString());

    // No number, a negative one or one above 999 is refused.
    for (std::optional<int> refused :
         {std::optional<int>(), std::optional<int>(-5), std::optional<int>(1000)}) {
        QVERIFY(!Bought_entry(&parent, refused));
        closer.waitUntilClosed();
        QCOMPARE(closer.boxes.last().title, QStringLiteral("Error"));
        QCOMPARE(closer.boxes.last().text, QStringLiteral("No Data"));
    }
    QCOMPARE(store.usedSlots(), 0);
    const int boxes = closer.boxes.size();

    QVERIFY(Bought_entry(&parent, 123));
    QVERIFY(Bought_entry(&parent, 123));
    QVERIFY(Bought_entry(&parent, 45));
    QVERIFY(Bought_entry(&parent, 0));
    QVERIFY(Bought_entry(&parent, 999));
    QCOMPARE(closer.boxes.size(), boxes);
    QCOMPARE(store.entryCount(), 5);

    output = captureStdout([&] {
        Bought_serch(&parent, 123);
        closer.waitUntilClosed();
    });
    QCOMPARE(closer.boxes.last().title, QStringLiteral("serch result"));
    QCOMPARE(closer.boxes.last().text, QStringLiteral("There are hit:2 times "));
    QCOMPARE(output, QStringLiteral("bought_no[0]=123,d=2,o=123\n"
                                    "bought_no[1]=123,d=2,o=123\n"
                                    "bought_no[2]=45,d=2,o=123\n"
                                    "bought_no[3]=0,d=2,o=123\n"
                                    "bought_no[4]=999,d=2,o=123\n"));

    // Each search counts from zero.
    output = captureStdout([&] {
        Bought_serch(&parent, 99);
        closer.waitUntilClosed();
    });
    QCOMPARE(closer.boxes.last().text, QStringLiteral("There are no hit"));
    QVERIFY(output.startsWith(QStringLiteral("bought_no[0]=123,d=0,o=99\n")));
    captureStdout([&] {
        Bought_serch(&parent, 0);
        closer.waitUntilClosed();
    });
    QCOMPARE(closer.boxes.last().text, QStringLiteral("There are hit:1 times "));
    captureStdout([&] {
        Bought_serch(&parent, 999);
        closer.waitUntilClosed();
    });
    QCOMPARE(closer.boxes.last().text, QStringLiteral("There are hit:1 times "));

    for (std::optional<int> refused :
         {std::optional<int>(), std::optional<int>(-1), std::optional<int>(1000)}) {
        const int before = closer.boxes.size();
        output = captureStdout([&] {
            Bought_serch(&parent, refused);
            closer.waitUntilClosed();
        });
        QCOMPARE(closer.boxes.size(), before + 1);
        QCOMPARE(closer.boxes.last().text, QStringLiteral("No Data"));
        QCOMPARE(output, QString());
    }
}

void tst_PastData::clearKeepsSlotsUsed()
{
    ModalBoxCloser closer;
    for (int value : {11, 22, 33, 44, 55})
        QVERIFY(Bought_entry(&parent, value));
    const QString output = captureStdout([] { Bought_clear(); });
    QCOMPARE(output, QStringLiteral("bout_no[0]=0\nbout_no[1]=0\nbout_no[2]=0\n"
                                    "bout_no[3]=0\nbout_no[4]=0\n"));
    QVERIFY(Bought_entry(&parent, 66));
    QCOMPARE(boughtStore().entryCount(), 1);
    QCOMPARE(boughtStore().usedSlots(), 6);
    QCOMPARE(boughtStore().hitCount(), 0);

    // The trace still walks every used slot, an emptied one reading 0.
    const QString searched = captureStdout([&] {
        Bought_serch(&parent, 66);
        closer.waitUntilClosed();
    });
    QCOMPARE(closer.boxes.last().text, QStringLiteral("There are hit:1 times "));
    QCOMPARE(searched, QStringLiteral("bought_no[0]=0,d=1,o=66\nbought_no[1]=0,d=1,o=66\n"
                                      "bought_no[2]=0,d=1,o=66\nbought_no[3]=0,d=1,o=66\n"
                                      "bought_no[4]=0,d=1,o=66\nbought_no[5]=66,d=1,o=66\n"));
    captureStdout([&] {
        Bought_serch(&parent, 22);
        closer.waitUntilClosed();
    });
    QCOMPARE(closer.boxes.last().text, QStringLiteral("There are no hit"));
    // An emptied slot reads 0 but holds no number: 000 is not found there.
    captureStdout([&] {
        Bought_serch(&parent, 0);
        closer.waitUntilClosed();
    });
    QCOMPARE(closer.boxes.last().text, QStringLiteral("There are no hit"));

    // A second clear empties the slots of both rounds.
    QCOMPARE(captureStdout([] { Bought_clear(); }),
             QStringLiteral("bout_no[0]=0\nbout_no[1]=0\nbout_no[2]=0\n"
                            "bout_no[3]=0\nbout_no[4]=0\nbout_no[5]=0\n"));
}

void tst_PastData::fullStoreReclaimsClearedSlots()
{
    ModalBoxCloser closer;
    BoughtStore &store = boughtStore();
    for (int i = 1; i <= 700; ++i)
        QVERIFY(Bought_entry(&parent, i % 1000));
    captureStdout([] { Bought_clear(); });
    // Among the 300 kept numbers, 000 is one.
    for (int i = 0; i < 300; ++i)
        QVERIFY(Bought_entry(&parent, (700 + i) % 1000));
    QCOMPARE(store.usedSlots(), BOUGHT_MAX);

    // Every slot has been used once; the emptied ones are taken back.
    QVERIFY(Bought_entry(&parent, 7));
    QVERIFY(closer.boxes.isEmpty());
    QCOMPARE(store.entryCount(), 301);
    QCOMPARE(store.usedSlots(), 301);
    QCOMPARE(store.entry(0), 700);
    QCOMPARE(store.entry(299), 999);
    QCOMPARE(store.entry(300), 7);
    for (int i = 0; i < 301; ++i)
        QVERIFY(store.holdsNumber(i));
    QVERIFY(!store.holdsNumber(301));
    captureStdout([&] {
        Bought_serch(&parent, 850);
        closer.waitUntilClosed();
    });
    QCOMPARE(closer.boxes.last().text, QStringLiteral("There are hit:1 times "));
    captureStdout([&] {
        Bought_serch(&parent, 100);
        closer.waitUntilClosed();
    });
    QCOMPARE(closer.boxes.last().text, QStringLiteral("There are no hit"));
}

void tst_PastData::fullStoreRefuses()
{
    ModalBoxCloser closer;
    BoughtStore &store = boughtStore();
    for (int i = 0; i < BOUGHT_MAX; ++i)
        QVERIFY(Bought_entry(&parent, i));
    QVERIFY(closer.boxes.isEmpty());

    QVERIFY(!Bought_entry(&parent, 5));
    closer.waitUntilClosed();
    QCOMPARE(closer.boxes.size(), 1);
    QCOMPARE(closer.boxes[0].title, QStringLiteral("Error"));
    QCOMPARE(closer.boxes[0].text, QStringLiteral("The list of bought numbers is full (1000 "
                                                  "numbers). Clear it to enter more."));
    QCOMPARE(store.entryCount(), BOUGHT_MAX);
    QCOMPARE(store.entry(BOUGHT_MAX - 1), 999);

    // After a clear the whole store is free again.
    captureStdout([] { Bought_clear(); });
    for (int i = 0; i < BOUGHT_MAX; ++i)
        QVERIFY(Bought_entry(&parent, 999 - i));
    QCOMPARE(closer.boxes.size(), 1);
    QCOMPARE(store.entry(0), 999);
}

void tst_PastData::randomOperationsMatchAReferenceList()
{
    ModalBoxCloser closer;
    QRandomGenerator random(20261207);
    QList<int> reference;
    BoughtStore &store = boughtStore();

    captureStdout([&] {
        for (int step = 0; step < 6000; ++step) {
            const int operation = random.bounded(100);
            const int value = random.bounded(-20, 40);
            if (operation < 70) {
                const bool accepted = value >= 0 && reference.size() < BOUGHT_MAX;
                if (Bought_entry(&parent, value) != accepted)
                    qFatal("entry of %d at step %d: wrong answer", value, step);
                closer.waitUntilClosed();
                if (accepted)
                    reference << value;
            } else if (operation < 98) {
                if (value < 0)
                    continue;
                Bought_serch(&parent, value);
                closer.waitUntilClosed();
                if (store.hitCount() != reference.count(value))
                    qFatal("search for %d at step %d: wrong count", value, step);
            } else {
                Bought_clear();
                reference.clear();
            }
            if (store.entryCount() != reference.size() || store.usedSlots() > BOUGHT_MAX)
                qFatal("step %d: counts went astray", step);
        }
    });

    QList<int> live;
    for (int i = 0; i < store.usedSlots(); ++i)
        if (store.holdsNumber(i))
            live << store.entry(i);
    QCOMPARE(live, reference);
}

void tst_PastData::searchTraceFollowsTheClosedReport_data()
{
    addClosings();
}

// The search lists the store in the trace after its report, as it always
// has: not while the report is still open, and once, however it is closed.
void tst_PastData::searchTraceFollowsTheClosedReport()
{
    QFETCH(QString, how);
    QVERIFY(Bought_entry(&parent, 123));
    QVERIFY(Bought_entry(&parent, 45));

    const QString whileOpen = captureStdout([&] {
        Bought_serch(&parent, 45);
        QTest::qWait(50);
    });
    const QList<QMessageBox *> open = openReports();
    QCOMPARE(open.size(), 1);
    QCOMPARE(open.first()->text(), QStringLiteral("There are hit:1 times "));
    QCOMPARE(whileOpen, QString());

    const QString closing = captureStdout([&] {
        closeReport(open.first(), how);
        QTest::qWait(50);
    });
    QVERIFY(openReports().isEmpty());
    QCOMPARE(closing, QStringLiteral("bought_no[0]=123,d=1,o=45\nbought_no[1]=45,d=1,o=45\n"));
}

void tst_PastData::timesToDataHandsOnOnceClosed_data()
{
    addClosings();
}

void tst_PastData::timesToDataHandsOnOnceClosed()
{
    QFETCH(QString, how);
    for (int draw : {24, 6874}) {
        QStringList handed;
        Times_to_data(&parent, draw, [&](const QString &shown) { handed << shown; });
        QTest::qWait(20);
        const QList<QMessageBox *> open = openReports();
        QCOMPARE(open.size(), 1);
        QCOMPARE(handed, QStringList());

        closeReport(open.first(), how);
        QCOMPARE(handed,
                 QStringList{draw == 24 ? QStringLiteral("24 times data is 39") : QString()});
        QTest::qWait(20);
        QCOMPARE(handed.size(), 1);
        QVERIFY(openReports().isEmpty());
    }
}

// Reports asked for while one is open (a key held down, a screen reader's
// press) open one after the other, each followed by what follows it.
void tst_PastData::reportsWaitTheirTurn()
{
    QStringList handed;
    auto hand = [&](const QString &shown) { handed << shown; };
    Times_to_data(&parent, 1, hand);
    Times_to_data(&parent, 6874, hand);
    Data_to_times(&parent, 512);
    Times_to_data(&parent, 2, hand);

    const QStringList texts = {"1 times data is 191", "No Data", "There  are 4 times",
                               "2 times data is 988"};
    for (const QString &text : texts) {
        QTest::qWait(20);
        const QList<QMessageBox *> open = openReports();
        QCOMPARE(open.size(), 1);
        QCOMPARE(open.first()->text(), text);
        QCOMPARE(QApplication::activeModalWidget(), open.first());
        // Pressed twice, as a screen reader may while the box closes.
        QAbstractButton *ok = open.first()->buttons().first();
        ok->click();
        ok->click();
    }
    QTest::qWait(20);
    QVERIFY(openReports().isEmpty());
    QCOMPARE(handed, (QStringList{"1 times data is 191", QString(), "2 times data is 988"}));
}

// What follows a report may reach into its window: when the window goes
// while its report is open, so do the report and what was to follow, and
// the reports of other windows still come.
void tst_PastData::reportGoesWithItsWindow()
{
    auto *window = new QWidget;
    window->show();
    QStringList handed;
    auto hand = [&](const QString &shown) { handed << shown; };
    Times_to_data(window, 1, hand);
    Times_to_data(window, 2, hand);
    Times_to_data(&parent, 3, hand);
    QTest::qWait(20);
    QCOMPARE(openReports().size(), 1);

    delete window;
    QTRY_COMPARE(openReports().size(), 1);
    QCOMPARE(openReports().first()->text(), QStringLiteral("3 times data is 194"));
    QCOMPARE(handed, QStringList());
    openReports().first()->buttons().first()->click();
    QCOMPARE(handed, QStringList{"3 times data is 194"});
    QTest::qWait(20);
    QVERIFY(openReports().isEmpty());
}

QTEST_MAIN(tst_PastData)
#include "tst_pastdata.moc"
