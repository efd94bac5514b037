// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "numberwindow/random.h"

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
};

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

QTEST_MAIN(tst_Random)
#include "tst_random.moc"
