// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "numberwindow/random.h"
#include "settings/setup_config.h"

#include "support/modalboxcloser.h"
#include "support/randreplay.h"
#include "support/settingskeys.h"
#include "support/stdoutcapture.h"

#include <QGesture>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QRadioButton>

#include <QProcess>
#include <QSet>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

// The program never seeds rand(), which the C standard defines as seeding it
// with 1. A test that starts rand() over that way (RandReplay) therefore
// sees what a user sees at start-up, with whatever C library it runs on.

class tst_Random : public QObject
{
    Q_OBJECT

private slots:
    void windowAsStarted();
    void firstNumberOfARun();
    void freeDrawCoversEveryDigit();
    void fourDigitDrawIsSeparate();
    void sequenceRepeatsAcrossRuns();
    void limitedDrawRanges_data();
    void limitedDrawRanges();
    void limitedDrawKeepsRandOrder();
    void selfModeHoldsTheDisplay();
    void selfModeStops_data();
    void selfModeStops();
    void randomModeStopAsksTheHundredsOnly();
    void allDifferentTitleStaysUntranslated();
    void selfModeReportHoldsTheWindow();
    void leftPressesStopAndRestart();
    void otherPresses();
    void mouseAndFingers_data();
    void mouseAndFingers();
    void longPressTakesThePlatformsTime();
    void fingerHeldUnderAReport();
    void oneDrawPerTickAfterManyRestarts();
    void releasesEveryWindowItCreated();

private:
    // Shows the window and right-clicks it, so that its draws follow the
    // settings; returns the settings dialog it opened.
    static Setup_config *openSettings(Random &window);
    static void choose(Setup_config *dialog, const QString &hundreds, const QString &tens,
                       const QString &ones);
    static QTimer *roll(Random &window) { return window.findChild<QTimer *>(); }
    static QSet<int> range(int from, int to);
    static QPointingDevice *touchScreen();
};

QPointingDevice *tst_Random::touchScreen()
{
    static QPointingDevice *const screen = QTest::createTouchDevice();
    return screen;
}

Setup_config *tst_Random::openSettings(Random &window)
{
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return nullptr;
    QTest::mousePress(&window, Qt::RightButton);
    return settingsDialog();
}

void tst_Random::choose(Setup_config *dialog, const QString &hundreds, const QString &tens,
                        const QString &ones)
{
    digitKey(dialog, "max3_group", hundreds)->setChecked(true);
    digitKey(dialog, "max2_group", tens)->setChecked(true);
    digitKey(dialog, "max1_group", ones)->setChecked(true);
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

    QVERIFY(roll(window)->isActive());
    QCOMPARE(roll(window)->interval(), 100);
    QVERIFY(settingsDialog());
    QVERIFY(!settingsDialog()->isVisible());
}

void tst_Random::firstNumberOfARun()
{
    // The constructor draws once, ones digit first (the GNU C library's 3,
    // 6, 7 show as 763); then every tick draws the next three.
    RandReplay draws;
    QVERIFY(draws.digitsDiffer(3));
    Random window;
    QCOMPARE(window.intValue(), draws.freeNumber());
    window.showRand3();
    QCOMPARE(window.intValue(), draws.freeNumber());
    window.showRand3();
    QCOMPARE(window.intValue(), draws.freeNumber());
}

void tst_Random::freeDrawCoversEveryDigit()
{
    Random window;
    roll(window)->stop();
    QSet<int> ones, tens, hundreds;
    for (int i = 0; i < 2000; ++i) {
        window.showRand3();
        const int shown = window.intValue();
        QVERIFY(shown >= 0 && shown <= 999);
        ones.insert(shown % 10);
        tens.insert(shown / 10 % 10);
        hundreds.insert(shown / 100);
    }
    const QSet<int> digits{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    QCOMPARE(ones, digits);
    QCOMPARE(tens, digits);
    QCOMPARE(hundreds, digits);

    // The roll itself draws on every tick.
    QSet<int> shown;
    connect(roll(window), &QTimer::timeout, this, [&] { shown.insert(window.intValue()); });
    roll(window)->start(100);
    QTRY_VERIFY_WITH_TIMEOUT(shown.size() >= 3, 5000);
}

void tst_Random::fourDigitDrawIsSeparate()
{
    Random window;
    Setup_config *dialog = openSettings(window);
    QVERIFY(dialog);
    roll(window)->stop();
    // With "0" everywhere the limited draw shows nothing but 0.
    choose(dialog, QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"));
    captureStdout([&] { window.showRand3(); });
    QCOMPARE(window.intValue(), 0);

    // Ones first too (the GNU C library's 3, 6, 7, 5 show as 5763).
    RandReplay draws;
    QVERIFY(draws.digitsDiffer(4));
    QVERIFY(QMetaObject::invokeMethod(&window, "showRand4"));
    QCOMPARE(window.intValue(), draws.fourDigitNumber());
    QSet<int> thousands;
    for (int i = 0; i < 300; ++i) {
        QVERIFY(QMetaObject::invokeMethod(&window, "showRand4"));
        thousands.insert(window.intValue() / 1000);
    }
    QCOMPARE(thousands, range(0, 9));

    // The four-digit draw made the three-digit draw free again: it no longer
    // asks the settings and ignores their "0".
    QSet<int> shown;
    const QString output = captureStdout([&] {
        for (int i = 0; i < 50; ++i) {
            window.showRand3();
            shown.insert(window.intValue());
        }
    });
    QCOMPARE(output, QString());
    QVERIFY(shown.size() > 10);
}

// A fresh program shows the numbers of an unseeded rand(), the same in
// every run.
void tst_Random::sequenceRepeatsAcrossRuns()
{
    auto run = [] {
        QProcess process;
        process.start(QStringLiteral(ROLLSEQUENCE), {});
        if (!process.waitForFinished(30000) || process.exitCode() != 0)
            return QByteArrayList();
        return process.readAllStandardOutput().simplified().split(' ');
    };
    const QByteArrayList first = run();
    const QByteArrayList second = run();
    RandReplay draws;
    QByteArrayList expected;
    for (int number = 0; number < 41; ++number)
        expected << QByteArray::number(draws.freeNumber());
    QCOMPARE(first, expected);
    QCOMPARE(second, expected);
    QVERIFY(QSet<QByteArray>(first.begin(), first.end()).size() > 10);
}

void tst_Random::limitedDrawRanges_data()
{
    QTest::addColumn<QString>("hundredsKey");
    QTest::addColumn<QString>("tensKey");
    QTest::addColumn<QString>("onesKey");
    QTest::addColumn<int>("hundredsTop");
    QTest::addColumn<int>("tensTop");
    QTest::addColumn<int>("onesTop");

    // A limit k lets its digit reach k, whatever the other groups hold; "0"
    // holds it at 0.
    QTest::newRow("as constructed") << "9"
                                    << "9"
                                    << "9" << 9 << 9 << 9;
    QTest::newRow("all zero") << "0"
                              << "0"
                              << "0" << 0 << 0 << 0;
    QTest::newRow("5 9 9") << "5"
                           << "9"
                           << "9" << 5 << 9 << 9;
    QTest::newRow("0 5 9") << "0"
                           << "5"
                           << "9" << 0 << 5 << 9;
    QTest::newRow("0 0 5") << "0"
                           << "0"
                           << "5" << 0 << 0 << 5;
    QTest::newRow("0 9 1") << "0"
                           << "9"
                           << "1" << 0 << 9 << 1;
    QTest::newRow("1 1 1") << "1"
                           << "1"
                           << "1" << 1 << 1 << 1;
    QTest::newRow("3 0 7") << "3"
                           << "0"
                           << "7" << 3 << 0 << 7;
    // "#" and "*" cannot be chosen in the dialog; they must not crash the draw.
    QTest::newRow("# next to 0") << "#"
                                 << "0"
                                 << "4" << 0 << 0 << 4;
    QTest::newRow("* alone") << "*"
                             << "6"
                             << "9" << 0 << 6 << 9;
}

void tst_Random::limitedDrawRanges()
{
    QFETCH(QString, hundredsKey);
    QFETCH(QString, tensKey);
    QFETCH(QString, onesKey);
    QFETCH(int, hundredsTop);
    QFETCH(int, tensTop);
    QFETCH(int, onesTop);

    Random window;
    Setup_config *dialog = openSettings(window);
    QVERIFY(dialog);
    roll(window)->stop();
    choose(dialog, hundredsKey, tensKey, onesKey);

    QSet<int> hundreds, tens, ones;
    captureStdout([&] {
        for (int i = 0; i < 1000; ++i) {
            window.showRand3();
            const int shown = window.intValue();
            hundreds.insert(shown / 100);
            tens.insert(shown / 10 % 10);
            ones.insert(shown % 10);
        }
    });
    QCOMPARE(hundreds, range(0, hundredsTop));
    QCOMPARE(tens, range(0, tensTop));
    QCOMPARE(ones, range(0, onesTop));
}

void tst_Random::limitedDrawKeepsRandOrder()
{
    Random window;
    Setup_config *dialog = openSettings(window);
    QVERIFY(dialog);
    roll(window)->stop();

    // The limited draw takes the hundreds first (the GNU C library's 3, 6, 7
    // show as 367, where the free draw shows 763).
    RandReplay draws;
    QVERIFY(draws.digitsDiffer(3));
    captureStdout([&] { window.showRand3(); });
    QCOMPARE(window.intValue(), draws.limitedNumber(9, 9, 9));

    // A digit held at 0 takes no value from rand(): the tens (up to 4) get
    // the first value and the ones the second.
    choose(dialog, QStringLiteral("0"), QStringLiteral("4"), QStringLiteral("9"));
    RandReplay again;
    captureStdout([&] { window.showRand3(); });
    QCOMPARE(window.intValue(), again.limitedNumber(0, 4, 9));
}

void tst_Random::selfModeHoldsTheDisplay()
{
    Random window;
    Setup_config *dialog = openSettings(window);
    QVERIFY(dialog);
    roll(window)->stop();
    dialog->findChild<QRadioButton *>(QStringLiteral("self_radio"))->setChecked(true);
    digitKey(dialog, "max1_group", QStringLiteral("3"))->setChecked(true);
    const int shown = window.intValue();

    const QString output = captureStdout([&] {
        for (int i = 0; i < 50; ++i)
            window.showRand3();
    });
    QCOMPARE(window.intValue(), shown);
    // Reading stops at the first self-mode code: the hundreds group.
    QCOMPARE(output, QString(QStringLiteral("method=19\n")).repeated(50));

    // Back to random mode: the roll moves again at the next tick.
    dialog->findChild<QRadioButton *>(QStringLiteral("random_radio"))->setChecked(true);
    QSet<int> seen;
    connect(roll(window), &QTimer::timeout, this, [&] { seen.insert(window.intValue()); });
    roll(window)->start(100);
    QTRY_VERIFY_WITH_TIMEOUT(seen.size() >= 2, 5000);
}

void tst_Random::selfModeStops_data()
{
    QTest::addColumn<QString>("digits");
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

    QTest::newRow("777") << "777"
                         << "pattern 7-1" << 777 << allEqual.arg(777);
    QTest::newRow("355") << "355"
                         << "pattern 7-1" << 355 << hundredsDiffer.arg(355).arg(535).arg(553);
    QTest::newRow("535") << "535"
                         << "pattern 7-1" << 535 << tensDiffer.arg(535).arg(355).arg(553);
    QTest::newRow("553") << "553"
                         << "pattern 7-1" << 553 << onesDiffer.arg(553).arg(535).arg(355);
    QTest::newRow("123") << "123"
                         << "pattern 7-1" << 123
                         << allDifferent.arg(123).arg(132).arg(213).arg(231).arg(321).arg(312);
    QTest::newRow("987") << "987"
                         << "pattern 7-1" << 987
                         << allDifferent.arg(987).arg(978).arg(897).arg(879).arg(789).arg(798);
    QTest::newRow("045") << "045"
                         << "pattern 10" << 45
                         << allDifferent.arg(45).arg(54).arg(405).arg(450).arg(540).arg(504);
    QTest::newRow("405") << "405"
                         << "pattern 9" << 405
                         << allDifferent.arg(405).arg(450).arg(45).arg(54).arg(504).arg(540);
    QTest::newRow("450") << "450"
                         << "pattern 8" << 450
                         << allDifferent.arg(450).arg(405).arg(540).arg(504).arg(54).arg(45);
    QTest::newRow("661") << "661"
                         << "pattern 7-1" << 661 << onesDiffer.arg(661).arg(616).arg(166);
    QTest::newRow("110") << "110"
                         << "pattern 8" << 110 << onesDiffer.arg(110).arg(101).arg(11);
    QTest::newRow("005") << "005"
                         << "pattern 7-1" << 5 << onesDiffer.arg(5).arg(50).arg(500);
    QTest::newRow("000") << "000"
                         << "pattern 7-1" << 0 << allEqual.arg(0);
}

// In random mode a stop asks only the hundreds group (a "0" there is code
// 10, no self-mode code), then draws one last number under all three limits.
void tst_Random::randomModeStopAsksTheHundredsOnly()
{
    Random window;
    Setup_config *dialog = openSettings(window);
    QVERIFY(dialog);
    choose(dialog, QStringLiteral("0"), QStringLiteral("9"), QStringLiteral("9"));
    ModalBoxCloser closer;
    const QString output = captureStdout([&] { QTest::mousePress(&window, Qt::LeftButton); });
    QVERIFY(!roll(window)->isActive());
    QCOMPARE(output, QStringLiteral("10\n10\n9\n9\n"));
    QVERIFY(closer.boxes.isEmpty());
}

void tst_Random::selfModeStops()
{
    QFETCH(QString, digits);
    QFETCH(QString, header);
    QFETCH(int, shown);
    QFETCH(QString, text);

    Random window;
    Setup_config *dialog = openSettings(window);
    QVERIFY(dialog);
    dialog->findChild<QRadioButton *>(QStringLiteral("self_radio"))->setChecked(true);
    choose(dialog, digits.mid(0, 1), digits.mid(1, 1), digits.mid(2, 1));

    ModalBoxCloser closer;
    const QString output = captureStdout([&] {
        QTest::mousePress(&window, Qt::LeftButton);
        closer.waitUntilClosed();
    });

    QVERIFY(!roll(window)->isActive());
    QCOMPARE(window.intValue(), shown);
    QCOMPARE(closer.boxes.size(), 1);
    QCOMPARE(closer.boxes[0].title, QStringLiteral("Box Pattern"));
    QCOMPARE(closer.boxes[0].text, text);
    QCOMPARE(closer.boxes[0].parentClass, QStringLiteral("Random"));

    // The query lines come first, then the one pattern block.
    const QString block = QStringLiteral("%1\nr3=%2\nr2=%3\nr=%4\n")
                              .arg(header, digits.mid(0, 1), digits.mid(1, 1), digits.mid(2, 1));
    QVERIFY2(output.endsWith(block), qPrintable(output));
    QCOMPARE(output.count(QStringLiteral("pattern")), 1);
}

// Under Japanese the two-equal reports carry a translated title; the report
// on three different digits keeps "Box Pattern" as written.
void tst_Random::allDifferentTitleStaysUntranslated()
{
    QTranslator japanese;
    QVERIFY(japanese.load(QStringLiteral("lukimo_ja"), QStringLiteral(LUKIMO_RUN_DIR)));
    QVERIFY(QCoreApplication::installTranslator(&japanese));
    QStringList titles;
    {
        Random window;
        Setup_config *dialog = openSettings(window);
        QVERIFY(dialog);
        dialog->findChild<QRadioButton *>(QStringLiteral("self_radio"))->setChecked(true);
        ModalBoxCloser closer;
        captureStdout([&] {
            choose(dialog, QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"));
            QTest::mousePress(&window, Qt::LeftButton);
            closer.waitUntilClosed();
            QTest::mousePress(&window, Qt::LeftButton);
            choose(dialog, QStringLiteral("3"), QStringLiteral("5"), QStringLiteral("5"));
            QTest::mousePress(&window, Qt::LeftButton);
            closer.waitUntilClosed();
        });
        for (const ShownBox &box : closer.boxes)
            titles << box.title;
    }
    QCoreApplication::removeTranslator(&japanese);
    QCOMPARE(titles, (QStringList{"Box Pattern", "ボックスパターン"}));
}

// The stop shows and names the user's number, then its report opens beside
// it. Until the report is closed the number window takes no click; then the
// keyboard is back on it, and the next click restarts the roll.
void tst_Random::selfModeReportHoldsTheWindow()
{
    Random window;
    Setup_config *dialog = openSettings(window);
    QVERIFY(dialog);
    dialog->findChild<QRadioButton *>(QStringLiteral("self_radio"))->setChecked(true);
    choose(dialog, QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"));
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto click = [&] {
        captureStdout([&] {
            QTest::mouseClick(window.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                              QPoint(20, 20));
        });
    };

    click();
    auto *box = window.findChild<QMessageBox *>();
    QVERIFY(box);
    QVERIFY(box->isVisible());
    QVERIFY(!roll(window)->isActive());
    QCOMPARE(window.intValue(), 123);
    QCOMPARE(window.accessibleName(), QStringLiteral("Lukimo number 123"));
    QVERIFY(!box->frameGeometry().intersects(window.frameGeometry()));

    click();
    QTest::qWait(20);
    QVERIFY(box->isVisible());
    QVERIFY(!roll(window)->isActive());
    // Nor does any other window: the settings stay in self mode.
    auto *randomMode = dialog->findChild<QRadioButton *>(QStringLiteral("random_radio"));
    QTest::mouseClick(dialog->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      randomMode->mapTo(dialog, QPoint(6, randomMode->height() / 2)));
    QTest::qWait(20);
    QVERIFY(!randomMode->isChecked());

    QVERIFY(QTest::qWaitForWindowActive(box));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(QApplication::focusWidget(), &window);
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(!roll(window)->isActive());
    click();
    QVERIFY(roll(window)->isActive());
}

void tst_Random::leftPressesStopAndRestart()
{
    Random window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ModalBoxCloser closer;

    for (int press = 1; press <= 6; ++press) {
        const QString output = captureStdout([&] { QTest::mousePress(&window, Qt::LeftButton); });
        const bool stopped = press % 2 == 1;
        QCOMPARE(roll(window)->isActive(), !stopped);
        // Before any right press the dialog is not asked for a draw, only for
        // the stop: in random mode it answers at the first group.
        QCOMPARE(output, stopped ? QStringLiteral("9\n") : QString());
    }
    QVERIFY(closer.boxes.isEmpty());

    // A stop in random mode draws once more and leaves that number showing;
    // after a right press that draw follows the settings, hundreds first.
    QTest::mousePress(&window, Qt::RightButton);
    RandReplay draws;
    QVERIFY(draws.digitsDiffer(3));
    captureStdout([&] { QTest::mousePress(&window, Qt::LeftButton); });
    QVERIFY(!roll(window)->isActive());
    QCOMPARE(window.intValue(), draws.limitedNumber(9, 9, 9));
    QVERIFY(closer.boxes.isEmpty());

    // The restart shows the next draw at once and rolls at the old speed.
    captureStdout([&] { QTest::mousePress(&window, Qt::LeftButton); });
    QVERIFY(roll(window)->isActive());
    QCOMPARE(roll(window)->interval(), 100);
    QCOMPARE(window.intValue(), draws.limitedNumber(9, 9, 9));
}

void tst_Random::otherPresses()
{
    Random window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Setup_config *dialog = settingsDialog();
    QVERIFY(dialog);
    QVERIFY(!dialog->isVisible());

    QTest::mousePress(&window, Qt::MiddleButton);
    QVERIFY(roll(window)->isActive());
    QVERIFY(!dialog->isVisible());

    QTest::mousePress(&window, Qt::RightButton);
    QVERIFY(dialog->isVisible());
    QVERIFY(roll(window)->isActive());
    QTest::mousePress(&window, Qt::RightButton);
    QCOMPARE(settingsDialog(), dialog);

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
    QVERIFY(roll(window)->isActive());
    // The middle press did not count: the next left press still stops.
    captureStdout([&] { QTest::mousePress(&window, Qt::LeftButton); });
    QVERIFY(!roll(window)->isActive());
}

// A mouse button acts as it goes down, however long it is held. A finger
// acts when it is lifted (a tap is a left click) or once it has been held as
// long as a long press (the settings, as a right click, and nothing more when
// it is lifted). A finger that slides away, or two fingers, do nothing.
void tst_Random::mouseAndFingers_data()
{
    QTest::addColumn<bool>("stoppedFirst");
    // "mouse", or the fingers: "1", "2" at once, "1+1" one after the other,
    // "1+mouse" one with a mouse press made of it, "1+cancel" one that the
    // platform takes back.
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("held");
    QTest::addColumn<int>("slide");
    QTest::addColumn<QString>("action"); // "stop or restart", "settings" or "none"
    QTest::addColumn<QString>("when");   // "press", "hold" or "release"

    const int left = Qt::LeftButton;
    const int right = Qt::RightButton;
    const QString roll = QStringLiteral("stop or restart");
    const QString settings = QStringLiteral("settings");
    const QString none = QStringLiteral("none");
    const QString mouse = QStringLiteral("mouse");
    QTest::newRow("mouse left") << false << mouse << left << false << 0 << roll << "press";
    QTest::newRow("mouse left held") << false << mouse << left << true << 0 << roll << "press";
    QTest::newRow("mouse left held, stopped")
        << true << mouse << left << true << 0 << roll << "press";
    QTest::newRow("mouse right") << false << mouse << right << false << 0 << settings << "press";
    QTest::newRow("mouse right held")
        << false << mouse << right << true << 0 << settings << "press";
    QTest::newRow("tap") << false << "1" << left << false << 0 << roll << "release";
    QTest::newRow("tap, stopped") << true << "1" << left << false << 0 << roll << "release";
    QTest::newRow("tap, and the press made of it")
        << false << "1+mouse" << left << false << 0 << roll << "release";
    QTest::newRow("tap with a finger not quite still")
        << false << "1" << left << false << 8 << roll << "release";
    QTest::newRow("long press") << false << "1" << left << true << 0 << settings << "hold";
    QTest::newRow("long press, stopped") << true << "1" << left << true << 0 << settings << "hold";
    QTest::newRow("finger slid away") << false << "1" << left << false << 100 << none << "";
    QTest::newRow("finger slid away, held") << false << "1" << left << true << 100 << none << "";
    QTest::newRow("touch taken back") << false << "1+cancel" << left << true << 0 << none << "";
    QTest::newRow("two fingers") << false << "2" << left << false << 0 << none << "";
    QTest::newRow("two fingers held") << false << "2" << left << true << 0 << none << "";
    QTest::newRow("second finger joins") << false << "1+1" << left << true << 0 << none << "";
}

void tst_Random::mouseAndFingers()
{
    QFETCH(bool, stoppedFirst);
    QFETCH(QString, input);
    QFETCH(int, button);
    QFETCH(bool, held);
    QFETCH(int, slide);
    QFETCH(QString, action);
    QFETCH(QString, when);

    // A long press as short as it can be set, so that the table runs quickly
    // (and the time is read from the platform, not written in the window).
    struct ShortLongPress
    {
        ShortLongPress() { QTapAndHoldGesture::setTimeout(250); }
        ~ShortLongPress() { QTapAndHoldGesture::setTimeout(platform); }
        const int platform = QTapAndHoldGesture::timeout();
    } shortLongPress;

    Random window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Setup_config *dialog = settingsDialog();
    QVERIFY(dialog);
    if (stoppedFirst)
        captureStdout([&] { QTest::mouseClick(&window, Qt::LeftButton); });
    QCOMPARE(window.isRolling(), !stoppedFirst);

    // What has happened so far: the roll stopped or restarted, the settings
    // opened.
    auto happened = [&] {
        QStringList actions;
        if (window.isRolling() == stoppedFirst || roll(window)->isActive() == stoppedFirst)
            actions << QStringLiteral("stop or restart");
        if (dialog->isVisible())
            actions << QStringLiteral("settings");
        return actions;
    };
    auto expected = [&](const QStringList &moments) {
        return moments.contains(when) ? QStringList{action} : QStringList();
    };

    const QPoint at(30, 30);
    QWindow *surface = window.windowHandle();
    QTest::QTouchEventWidgetSequence fingers = QTest::touchEvent(&window, touchScreen(), false);
    QStringList afterPress, beforeRelease, afterRelease;
    captureStdout([&] {
        if (input == QLatin1String("mouse")) {
            QTest::mousePress(surface, Qt::MouseButton(button), Qt::NoModifier, at);
        } else {
            fingers.press(0, at, &window);
            if (input == QLatin1String("2"))
                fingers.press(1, at + QPoint(60, 0), &window);
            fingers.commit();
        }
        // Where a platform makes a press of a touch that the window took
        // (Qt itself does only for touches nobody took).
        auto fromTouch = [&](QEvent::Type type) {
            if (input != QLatin1String("1+mouse"))
                return;
            QMouseEvent press(type, at, at, window.mapToGlobal(at), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier, Qt::MouseEventSynthesizedBySystem, touchScreen());
            QApplication::sendEvent(&window, &press);
        };
        fromTouch(QEvent::MouseButtonPress);
        // As the browser takes a finger back for a gesture of its own.
        if (input == QLatin1String("1+cancel")) {
            QTouchEvent cancel(QEvent::TouchCancel, touchScreen());
            QApplication::sendEvent(&window, &cancel);
        }
        afterPress = happened();
        if (input == QLatin1String("1+1")) {
            QTest::qWait(QTapAndHoldGesture::timeout() / 3);
            fingers.stationary(0).press(1, at + QPoint(60, 0), &window).commit();
        }
        if (slide) {
            fingers.move(0, at + QPoint(slide / 2, 0), &window).commit();
            fingers.move(0, at + QPoint(slide, 0), &window).commit();
        }
        if (held)
            QTest::qWait(QTapAndHoldGesture::timeout() + 300);
        else
            QTest::qWait(20);
        beforeRelease = happened();
        if (input == QLatin1String("mouse")) {
            QTest::mouseRelease(surface, Qt::MouseButton(button), Qt::NoModifier, at);
        } else {
            fingers.release(0, at + QPoint(slide, 0), &window);
            if (input == QLatin1String("2") || input == QLatin1String("1+1"))
                fingers.release(1, at + QPoint(60, 0), &window);
            fingers.commit();
            fromTouch(QEvent::MouseButtonRelease);
        }
        QTest::qWait(20);
        afterRelease = happened();
    });
    QCOMPARE(afterPress, expected({"press"}));
    QCOMPARE(beforeRelease, expected({"press", "hold"}));
    QCOMPARE(afterRelease, expected({"press", "hold", "release"}));
}

// The settings open when a finger has been held as long as the platform's
// long press, no sooner; the roll goes on meanwhile and after.
void tst_Random::longPressTakesThePlatformsTime()
{
    Random window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Setup_config *dialog = settingsDialog();
    QVERIFY(dialog);
    const int longPress = QTapAndHoldGesture::timeout();
    QVERIFY(longPress >= 300);

    QTest::QTouchEventWidgetSequence finger = QTest::touchEvent(&window, touchScreen(), false);
    qint64 opened = -1;
    bool rollingWhileHeld = false;
    captureStdout([&] {
        QElapsedTimer held;
        held.start();
        finger.press(0, QPoint(30, 30), &window).commit();
        if (QTest::qWaitFor([&] { return dialog->isVisible(); }, longPress + 5000))
            opened = held.elapsed();
        rollingWhileHeld = window.isRolling() && roll(window)->isActive();
        finger.release(0, QPoint(30, 30), &window).commit();
    });
    // Qt's coarse timers may fire up to a twentieth early.
    QVERIFY2(opened >= longPress * 19 / 20, qPrintable(QString::number(opened)));
    QVERIFY2(opened < longPress + 1500, qPrintable(QString::number(opened)));
    QVERIFY(rollingWhileHeld);
    QVERIFY(window.isRolling());
    QVERIFY(roll(window)->isActive());
}

// A finger still on the window when a report opens from the keyboard is
// held by the report like the window: no settings come up over it, and
// lifting it later does nothing.
void tst_Random::fingerHeldUnderAReport()
{
    Random window;
    Setup_config *dialog = openSettings(window);
    QVERIFY(dialog);
    dialog->findChild<QRadioButton *>(QStringLiteral("self_radio"))->setChecked(true);
    choose(dialog, QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"));
    dialog->hide();

    QTest::QTouchEventWidgetSequence finger = QTest::touchEvent(&window, touchScreen(), false);
    finger.press(0, QPoint(30, 30), &window).commit();
    captureStdout([&] { QTest::keyClick(&window, Qt::Key_Return); });
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    QVERIFY(box);
    QTest::qWait(QTapAndHoldGesture::timeout() + 300);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(QApplication::activeModalWidget(), box);

    box->buttons().first()->click();
    captureStdout([&] { finger.release(0, QPoint(30, 30), &window).commit(); });
    QVERIFY(!dialog->isVisible());
    QVERIFY(!window.isRolling());
    QCOMPARE(window.intValue(), 456);
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
    QVERIFY(roll(window)->isActive());
    roll(window)->stop();

    // One tick, one draw: the first free draw of a run, not the second.
    RandReplay draws;
    QVERIFY(QMetaObject::invokeMethod(roll(window), "timeout"));
    QCOMPARE(window.intValue(), draws.freeNumber());
}

void tst_Random::releasesEveryWindowItCreated()
{
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
    {
        Random window;
        Setup_config *dialog = openSettings(window);
        QVERIFY(dialog);
        dialog->help_exe();
        dialog->push_serch();
        QCOMPARE(QApplication::topLevelWidgets().size(), 4);
    }
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

QTEST_MAIN(tst_Random)
#include "tst_random.moc"
