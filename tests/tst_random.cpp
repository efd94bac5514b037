// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "numberwindow/random.h"
#include "settings/setup_config.h"

#include "support/modalboxcloser.h"
#include "support/stdoutcapture.h"

#include <QMouseEvent>
#include <QRadioButton>

#include <QProcess>
#include <QSet>
#include <QTimer>
#include <QtTest>

class tst_Random : public QObject
{
    Q_OBJECT

private slots:
    void windowAsStarted();
    void freeDrawCoversEveryDigit();
    void fourDigitDrawIsSeparate();
    void sequenceRepeatsAcrossRuns();
    void limitedDrawRanges_data();
    void limitedDrawRanges();
    void limitedDrawKeepsRandOrder();
    void selfModeHoldsTheDisplay();
    void selfModeStops_data();
    void selfModeStops();
    void leftPressesStopAndRestart();
    void otherPresses();
    void oneDrawPerTickAfterManyRestarts();
    void releasesEveryWindowItCreated();

private:
    // Checks "digit" in the group of the given position (3 hundreds, 2 tens,
    // 1 ones); 10 and 11 are "#" and "*".
    static void choose(Random &window, int position, int digit);
    static QSet<int> range(int from, int to);
};

void tst_Random::choose(Random &window, int position, int digit)
{
    QRadioButton **buttons = position == 3   ? window.config->max3_buttons
                             : position == 2 ? window.config->max2_buttons
                                             : window.config->max1_buttons;
    const int index = digit >= 10 ? digit : digit == 0 ? 9 : 9 - digit;
    buttons[index]->setChecked(true);
}

QSet<int> tst_Random::range(int from, int to)
{
    QSet<int> values;
    for (int value = from; value <= to; ++value)
        values.insert(value);
    return values;
}

void tst_Random::windowAsStarted()
{
    Random window;
    QCOMPARE(window.size(), QSize(200, 60));
    QCOMPARE(window.windowTitle(), QStringLiteral("Lukimo"));
    // Qt adds the title hint itself to any window that asks for a system menu.
    QCOMPARE(window.windowFlags(), Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowTitleHint);
    QCOMPARE(window.toolTip(),
             QStringLiteral("Left Button click:Nuber Stop.\nRight Button click:Settei menu."));
    QCOMPARE(window.segmentStyle(), QLCDNumber::Flat);
    QVERIFY(window.isWindow());
    QVERIFY(!window.isVisible());

    // A number is on the display before the first tick, without leading zeros.
    QVERIFY(window.timer->isActive());
    QCOMPARE(window.timer->interval(), 100);
    QCOMPARE(window.leftPresses, 1);
    QCOMPARE(window.rightPresses, 0);
    QCOMPARE(window.intValue(), window.number);
    QCOMPARE(window.number, window.r3 * 100 + window.r2 * 10 + window.r);
    QVERIFY(window.number >= 0 && window.number <= 999);

    // The display shows plain decimal: 42 is "42", not "042".
    window.display(42);
    QCOMPARE(window.intValue(), 42);
    QCOMPARE(window.digitCount(), 5);
    QCOMPARE(window.mode(), QLCDNumber::Dec);
}

void tst_Random::freeDrawCoversEveryDigit()
{
    Random window;
    window.timer->stop();
    QSet<int> ones, tens, hundreds;
    for (int i = 0; i < 2000; ++i) {
        window.showRand3();
        QCOMPARE(window.intValue(), window.r3 * 100 + window.r2 * 10 + window.r);
        ones.insert(window.r);
        tens.insert(window.r2);
        hundreds.insert(window.r3);
    }
    const QSet<int> digits{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    QCOMPARE(ones, digits);
    QCOMPARE(tens, digits);
    QCOMPARE(hundreds, digits);

    // The roll itself draws on every tick.
    QSet<int> shown;
    connect(window.timer, &QTimer::timeout, this, [&] { shown.insert(window.intValue()); });
    window.timer->start(100);
    QTRY_VERIFY_WITH_TIMEOUT(shown.size() >= 3, 5000);
}

void tst_Random::fourDigitDrawIsSeparate()
{
    Random window;
    window.timer->stop();
    window.rightPresses = 4;
    const int r = window.r, r2 = window.r2, r3 = window.r3;

    QSet<int> thousands;
    for (int i = 0; i < 500; ++i) {
        QVERIFY(QMetaObject::invokeMethod(&window, "showRand4"));
        QCOMPARE(window.rightPresses, 0);
        QCOMPARE(window.number, window.thousands4 * 1000 + window.hundreds4 * 100 +
                                    window.tens4 * 10 + window.ones4);
        QCOMPARE(window.intValue(), window.number);
        thousands.insert(window.thousands4);
    }
    QCOMPARE(thousands.size(), 10);
    QCOMPARE(window.r, r);
    QCOMPARE(window.r2, r2);
    QCOMPARE(window.r3, r3);

    const int ones4 = window.ones4, tens4 = window.tens4;
    const int hundreds4 = window.hundreds4, thousands4 = window.thousands4;
    for (int i = 0; i < 50; ++i)
        window.showRand3();
    QCOMPARE(window.ones4, ones4);
    QCOMPARE(window.tens4, tens4);
    QCOMPARE(window.hundreds4, hundreds4);
    QCOMPARE(window.thousands4, thousands4);
}

void tst_Random::sequenceRepeatsAcrossRuns()
{
    auto run = [] {
        QProcess process;
        process.start(QStringLiteral(ROLLSEQUENCE), {});
        if (!process.waitForFinished(30000) || process.exitCode() != 0)
            return QByteArrayList();
        return process.readAllStandardOutput().trimmed().split('\n');
    };
    const QByteArrayList first = run();
    const QByteArrayList second = run();
    QCOMPARE(first.size(), 41);
    QCOMPARE(first, second);
    QVERIFY(QSet<QByteArray>(first.begin(), first.end()).size() > 10);
}

void tst_Random::limitedDrawRanges_data()
{
    QTest::addColumn<int>("hundredsLimit");
    QTest::addColumn<int>("tensLimit");
    QTest::addColumn<int>("onesLimit");
    QTest::addColumn<int>("hundredsTop");
    QTest::addColumn<int>("tensTop");
    QTest::addColumn<int>("onesTop");

    // A limit k lets its digit reach k, whatever the other groups hold; "0"
    // holds it at 0.
    QTest::newRow("as constructed") << 9 << 9 << 9 << 9 << 9 << 9;
    QTest::newRow("all zero") << 0 << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("5 9 9") << 5 << 9 << 9 << 5 << 9 << 9;
    QTest::newRow("0 5 9") << 0 << 5 << 9 << 0 << 5 << 9;
    QTest::newRow("0 0 5") << 0 << 0 << 5 << 0 << 0 << 5;
    QTest::newRow("0 9 1") << 0 << 9 << 1 << 0 << 9 << 1;
    QTest::newRow("1 1 1") << 1 << 1 << 1 << 1 << 1 << 1;
    QTest::newRow("3 0 7") << 3 << 0 << 7 << 3 << 0 << 7;
    // "#" (code 0) cannot be chosen in the dialog; it must not crash the draw.
    QTest::newRow("# next to 0") << 0 << 10 << 4 << 0 << 0 << 4;
    QTest::newRow("# alone") << 10 << 6 << 9 << 0 << 6 << 9;
}

void tst_Random::limitedDrawRanges()
{
    QFETCH(int, hundredsLimit);
    QFETCH(int, tensLimit);
    QFETCH(int, onesLimit);
    QFETCH(int, hundredsTop);
    QFETCH(int, tensTop);
    QFETCH(int, onesTop);

    Random window;
    window.timer->stop();
    window.rightPresses = 1;
    choose(window, 3, hundredsLimit);
    choose(window, 2, tensLimit);
    choose(window, 1, onesLimit);

    QSet<int> hundreds, tens, ones;
    bool consistent = true;
    captureStdout([&] {
        for (int i = 0; i < 1000; ++i) {
            window.showRand3();
            hundreds.insert(window.r3);
            tens.insert(window.r2);
            ones.insert(window.r);
            consistent = consistent && window.intValue() == window.number &&
                         window.number == window.r3 * 100 + window.r2 * 10 + window.r;
        }
    });
    QVERIFY(consistent);
    QCOMPARE(hundreds, range(0, hundredsTop));
    QCOMPARE(tens, range(0, tensTop));
    QCOMPARE(ones, range(0, onesTop));
}

void tst_Random::limitedDrawKeepsRandOrder()
{
    // The program never seeds rand(); this test does, to know what comes next.
    Random window;
    window.timer->stop();
    window.rightPresses = 1;

    std::srand(2024);
    const int a = std::rand(), b = std::rand(), c = std::rand();
    std::srand(2024);
    captureStdout([&] { window.showRand3(); });
    QCOMPARE(window.r3, a % 10);
    QCOMPARE(window.r2, b % 10);
    QCOMPARE(window.r, c % 10);

    // A digit held at 0 takes no value from rand().
    choose(window, 3, 0);
    choose(window, 2, 4);
    std::srand(2024);
    captureStdout([&] { window.showRand3(); });
    QCOMPARE(window.r3, 0);
    QCOMPARE(window.r2, a % 5);
    QCOMPARE(window.r, b % 10);
}

void tst_Random::selfModeHoldsTheDisplay()
{
    Random window;
    window.timer->stop();
    window.rightPresses = 1;
    window.config->self_radio->setChecked(true);
    choose(window, 1, 3);
    const int shown = window.intValue();
    const int r = window.r, r2 = window.r2, r3 = window.r3;

    const QString output = captureStdout([&] {
        for (int i = 0; i < 50; ++i)
            window.showRand3();
    });
    QCOMPARE(window.intValue(), shown);
    QCOMPARE(window.r, r);
    QCOMPARE(window.r2, r2);
    QCOMPARE(window.r3, r3);
    // Reading stops at the first self-mode code: the hundreds group.
    QCOMPARE(output, QString(QStringLiteral("method=19\n")).repeated(50));

    // Back to random mode: the roll moves again at the next tick.
    window.config->random_radio->setChecked(true);
    QSet<int> seen;
    connect(window.timer, &QTimer::timeout, this, [&] { seen.insert(window.intValue()); });
    window.timer->start(100);
    QTRY_VERIFY_WITH_TIMEOUT(seen.size() >= 2, 5000);
}

void tst_Random::selfModeStops_data()
{
    QTest::addColumn<int>("h");
    QTest::addColumn<int>("t");
    QTest::addColumn<int>("u");
    QTest::addColumn<QString>("header");
    QTest::addColumn<int>("shown");
    QTest::addColumn<QString>("text");

    const QString allEqual = QStringLiteral("Strate & box pattern:%1");
    const QString hundredsDiffer =
        QStringLiteral("Strate & box pattern:%1\nBox No1:%2\nBox No2:%3");
    const QString tensDiffer = QStringLiteral("Strate & box pattern:%1 Box No1:%2\nBox No2:%3");
    const QString onesDiffer = QStringLiteral("Strate & box pattern:%1Box No1:%2\nBox No2:%3");
    const QString allDifferent =
        QStringLiteral("Strate:%1\nBox No1:%2\nBox No2:%3\nBox No3:%4\nBox No4:%5\nBox No5:%6\n");

    QTest::newRow("777") << 7 << 7 << 7 << "pattern 7-1" << 777 << allEqual.arg(777);
    QTest::newRow("355") << 3 << 5 << 5 << "pattern 7-1" << 355
                         << hundredsDiffer.arg(355).arg(535).arg(553);
    QTest::newRow("535") << 5 << 3 << 5 << "pattern 7-1" << 535
                         << tensDiffer.arg(535).arg(355).arg(553);
    QTest::newRow("553") << 5 << 5 << 3 << "pattern 7-1" << 553
                         << onesDiffer.arg(553).arg(535).arg(355);
    QTest::newRow("123") << 1 << 2 << 3 << "pattern 7-1" << 123
                         << allDifferent.arg(123).arg(132).arg(213).arg(231).arg(321).arg(312);
    QTest::newRow("987") << 9 << 8 << 7 << "pattern 7-1" << 987
                         << allDifferent.arg(987).arg(978).arg(897).arg(879).arg(789).arg(798);
    QTest::newRow("045") << 0 << 4 << 5 << "pattern 10" << 45
                         << allDifferent.arg(45).arg(54).arg(405).arg(450).arg(540).arg(504);
    QTest::newRow("405") << 4 << 0 << 5 << "pattern 9" << 405
                         << allDifferent.arg(405).arg(450).arg(45).arg(54).arg(504).arg(540);
    QTest::newRow("450") << 4 << 5 << 0 << "pattern 8" << 450
                         << allDifferent.arg(450).arg(405).arg(540).arg(504).arg(54).arg(45);
    QTest::newRow("110") << 1 << 1 << 0 << "pattern 8" << 110
                         << onesDiffer.arg(110).arg(101).arg(11);
    QTest::newRow("005") << 0 << 0 << 5 << "pattern 7-1" << 5 << onesDiffer.arg(5).arg(50).arg(500);
    QTest::newRow("000") << 0 << 0 << 0 << "pattern 7-1" << 0 << allEqual.arg(0);
}

void tst_Random::selfModeStops()
{
    QFETCH(int, h);
    QFETCH(int, t);
    QFETCH(int, u);
    QFETCH(QString, header);
    QFETCH(int, shown);
    QFETCH(QString, text);

    Random window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.config->self_radio->setChecked(true);
    choose(window, 3, h);
    choose(window, 2, t);
    choose(window, 1, u);

    ModalBoxCloser closer;
    const QString output = captureStdout([&] { QTest::mousePress(&window, Qt::LeftButton); });

    QCOMPARE(window.leftPresses, 2);
    QVERIFY(!window.timer->isActive());
    QCOMPARE(window.intValue(), shown);
    QCOMPARE(window.straight, shown);
    QCOMPARE(window.message, text);
    QCOMPARE(closer.boxes.size(), 1);
    QCOMPARE(closer.boxes[0].title, QStringLiteral("Box Pattern"));
    QCOMPARE(closer.boxes[0].text, text);
    QCOMPARE(closer.boxes[0].parentClass, QStringLiteral("Random"));

    // The query lines come first, then the one pattern block.
    const QString block =
        QStringLiteral("%1\nr3=%2\nr2=%3\nr=%4\n").arg(header).arg(h).arg(t).arg(u);
    QVERIFY2(output.endsWith(block), qPrintable(output));
    QCOMPARE(output.count(QStringLiteral("pattern")), 1);
}

void tst_Random::leftPressesStopAndRestart()
{
    Random window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ModalBoxCloser closer;

    for (int press = 2; press <= 7; ++press) {
        const QString output = captureStdout([&] { QTest::mousePress(&window, Qt::LeftButton); });
        QCOMPARE(window.leftPresses, press);
        const bool stopped = press % 2 == 0;
        QCOMPARE(window.timer->isActive(), !stopped);
        // Before any right press the dialog is not asked for a draw, only for
        // the stop: in random mode it answers at the first group.
        QCOMPARE(output, stopped ? QStringLiteral("9\n") : QString());
    }
    QVERIFY(closer.boxes.isEmpty());

    // A stop in random mode draws once more and leaves that number showing.
    window.rightPresses = 1;
    std::srand(99);
    const int a = std::rand() % 10, b = std::rand() % 10, c = std::rand() % 10;
    std::srand(99);
    captureStdout([&] { QTest::mousePress(&window, Qt::LeftButton); });
    QVERIFY(!window.timer->isActive());
    QCOMPARE(window.intValue(), a * 100 + b * 10 + c);
    QVERIFY(closer.boxes.isEmpty());

    // The restart shows a fresh draw at once.
    std::srand(5);
    const int d = std::rand() % 10, e = std::rand() % 10, f = std::rand() % 10;
    std::srand(5);
    captureStdout([&] { QTest::mousePress(&window, Qt::LeftButton); });
    QVERIFY(window.timer->isActive());
    QCOMPARE(window.intValue(), d * 100 + e * 10 + f);
}

void tst_Random::otherPresses()
{
    Random window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(!window.config->isVisible());

    QTest::mousePress(&window, Qt::MiddleButton);
    QCOMPARE(window.leftPresses, 1);
    QCOMPARE(window.rightPresses, 0);
    QVERIFY(window.timer->isActive());

    QTest::mousePress(&window, Qt::RightButton);
    QCOMPARE(window.rightPresses, 1);
    QVERIFY(window.config->isVisible());
    QVERIFY(window.timer->isActive());
    Setup_config *dialog = window.config;
    QTest::mousePress(&window, Qt::RightButton);
    QCOMPARE(window.rightPresses, 2);
    QCOMPARE(window.config, dialog);

    // A double click arrives as press, release, double click, release; the
    // toolkit hands the double click on as a press, so the roll stops and
    // starts again.
    auto send = [&](QEvent::Type type) {
        QMouseEvent event(
            type, QPointF(10, 10), window.mapToGlobal(QPointF(10, 10)), Qt::LeftButton,
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &event);
    };
    captureStdout([&] {
        send(QEvent::MouseButtonPress);
        send(QEvent::MouseButtonRelease);
        send(QEvent::MouseButtonDblClick);
        send(QEvent::MouseButtonRelease);
    });
    QCOMPARE(window.leftPresses, 3);
    QVERIFY(window.timer->isActive());
}

void tst_Random::oneDrawPerTickAfterManyRestarts()
{
    Random window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    captureStdout([&] {
        for (int i = 0; i < 40; ++i)
            QTest::mousePress(&window, Qt::LeftButton);
    });
    QVERIFY(window.timer->isActive());
    window.timer->stop();

    std::srand(7);
    const int ones = std::rand() % 10, tens = std::rand() % 10, hundreds = std::rand() % 10;
    std::srand(7);
    QVERIFY(QMetaObject::invokeMethod(window.timer, "timeout"));
    QCOMPARE(window.intValue(), hundreds * 100 + tens * 10 + ones);
}

void tst_Random::releasesEveryWindowItCreated()
{
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
    {
        Random window;
        window.show();
        QTest::mousePress(&window, Qt::RightButton);
        window.config->help_exe();
        window.config->push_serch();
        QCOMPARE(QApplication::topLevelWidgets().size(), 4);
    }
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

QTEST_MAIN(tst_Random)
#include "tst_random.moc"
