// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pastdata/boughtstore.h"
#include "pastdata/input_serch.h"

#include "support/modalboxcloser.h"
#include "support/stdoutcapture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <QtTest>

class tst_InputSerch : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void initialState();
    void modes_data();
    void modes();
    void entryFlow();
    void searchKeepsThePreviousPrompt();
    void timesToDataClearsOnlyWhenAccepted();
    void dataToTimesKeepsTheInput();
    void clearResetsTheEntryMode();
    void sameNumberWrittenThreeWays();
    void clickSound();
    void missingSoundIsSilent();

private:
    static void type(Input_Serch &window, const QString &text);
    static void clickRadio(QRadioButton *radio);
    static QString ok(Input_Serch &window);
};

void tst_InputSerch::init()
{
    boughtStore() = BoughtStore();
}

void tst_InputSerch::type(Input_Serch &window, const QString &text)
{
    window.input_edit->clear();
    QTest::keyClicks(window.input_edit, text);
}

// A radio button takes clicks on its indicator and label only.
void tst_InputSerch::clickRadio(QRadioButton *radio)
{
    QTest::mouseClick(radio, Qt::LeftButton, Qt::NoModifier, QPoint(6, radio->height() / 2));
}

// Presses "Ok" and returns the text of the box it opened, if any.
QString tst_InputSerch::ok(Input_Serch &window)
{
    ModalBoxCloser closer;
    captureStdout([&] { QTest::mouseClick(window.ok_button, Qt::LeftButton); });
    return closer.boxes.isEmpty()
               ? QString()
               : closer.boxes.last().title + QLatin1Char('/') + closer.boxes.last().text;
}

void tst_InputSerch::initialState()
{
    Input_Serch window;
    QVERIFY(window.isWindow());
    QVERIFY(!window.isVisible());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), QStringLiteral("serch menu"));
    QCOMPARE(window.toolTip(), QStringLiteral("Serch menu"));
    QCOMPARE(window.size(), QSize(300, 180));
    QVERIFY(window.times_to_data_radio->isChecked());
    QCOMPARE(window.input_label->text(), QStringLiteral("No"));
    QCOMPARE(window.input_edit->maxLength(), 4);
    QVERIFY(!window.clear_button->isVisible());
    QVERIFY(!window.serch_radio->isVisible());
    QCOMPARE(window.entry_radio->text(), QStringLiteral("Bought No entry(0)"));
    QCOMPARE(window.mode_box->title(), QStringLiteral("mode"));
    QCOMPARE(window.ok_button->text(), QStringLiteral("Ok"));
    QCOMPARE(window.data_to_times_radio->toolTip(), QStringLiteral("change to times from data"));
}

void tst_InputSerch::modes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<bool>("clearShown");
    QTest::addColumn<QString>("trace");

    QTest::newRow("data to times") << 0 << 1 << "Data" << 3 << false << "data to times=1\n";
    QTest::newRow("times to data") << 1 << 2 << "No" << 4 << false << "times to data=2\n";
    QTest::newRow("entry") << 2 << 0 << "Input Bought No" << 3 << true << "";
}

void tst_InputSerch::modes()
{
    QFETCH(int, mode);
    QFETCH(int, result);
    QFETCH(QString, prompt);
    QFETCH(int, maxLength);
    QFETCH(bool, clearShown);
    QFETCH(QString, trace);

    Input_Serch window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QRadioButton *radio[] = {window.data_to_times_radio, window.times_to_data_radio,
                             window.entry_radio};

    // A click on the checked button sets the mode up again, emptying the input.
    for (int round = 0; round < 2; ++round) {
        type(window, QStringLiteral("12"));
        const QString output = captureStdout([&] { clickRadio(radio[mode]); });
        QVERIFY(radio[mode]->isChecked());
        QCOMPARE(output, trace);
        QCOMPARE(window.input_label->text(), prompt);
        QCOMPARE(window.input_edit->maxLength(), maxLength);
        QCOMPARE(window.clear_button->isVisible(), clearShown);
        QCOMPARE(window.input_edit->text(), QString());
    }
    int returned = -1;
    captureStdout(
        [&] { QMetaObject::invokeMethod(&window, "Check_mode", Q_RETURN_ARG(int, returned)); });
    QCOMPARE(returned, result);
}

void tst_InputSerch::entryFlow()
{
    Input_Serch window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    clickRadio(window.entry_radio);

    // Empty input is refused and changes nothing.
    QCOMPARE(ok(window), QStringLiteral("Error/No Data"));
    QCOMPARE(window.entry_radio->text(), QStringLiteral("Bought No entry(0)"));

    type(window, QStringLiteral("abc"));
    QCOMPARE(ok(window), QStringLiteral("Error/No Data"));
    QCOMPARE(window.input_edit->text(), QStringLiteral("abc"));

    type(window, QStringLiteral("1234"));
    QCOMPARE(window.input_edit->text(), QStringLiteral("123"));
    QCOMPARE(ok(window), QString());
    QCOMPARE(window.entry_radio->text(), QStringLiteral("Bought No entry(1)"));
    QVERIFY(window.serch_radio->isVisible());
    QCOMPARE(window.input_edit->text(), QString());
    QVERIFY(window.clear_button->isVisible());
    QCOMPARE(boughtStore().bought_no[0], 123);
}

void tst_InputSerch::searchKeepsThePreviousPrompt()
{
    Input_Serch window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    clickRadio(window.entry_radio);
    type(window, QStringLiteral("77"));
    ok(window);

    type(window, QStringLiteral("77"));
    clickRadio(window.serch_radio);
    QVERIFY(!window.clear_button->isVisible());
    QCOMPARE(window.input_label->text(), QStringLiteral("Input Bought No"));
    QCOMPARE(window.input_edit->maxLength(), 3);
    QCOMPARE(window.input_edit->text(), QStringLiteral("77"));
    QCOMPARE(ok(window), QStringLiteral("serch result/There are hit:1 times "));
    QCOMPARE(window.input_edit->text(), QStringLiteral("77"));
    QCOMPARE(window.serch_no, 77);

    // From "Times to Data" straight to the search, the limit stays 4.
    captureStdout([&] { clickRadio(window.times_to_data_radio); });
    clickRadio(window.serch_radio);
    QCOMPARE(window.input_label->text(), QStringLiteral("No"));
    QCOMPARE(window.input_edit->maxLength(), 4);
}

void tst_InputSerch::timesToDataClearsOnlyWhenAccepted()
{
    Input_Serch window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    type(window, QStringLiteral("2000"));
    QCOMPARE(ok(window), QStringLiteral("serch result/2000 times data is 440"));
    QCOMPARE(window.input_edit->text(), QString());
    QCOMPARE(window.result_text, QStringLiteral("2000 times data is 440"));

    type(window, QStringLiteral("2001"));
    QCOMPARE(ok(window), QStringLiteral("Error/No Data"));
    QCOMPARE(window.input_edit->text(), QStringLiteral("2001"));
    QCOMPARE(window.result_text, QStringLiteral("2000 times data is 440"));
}

void tst_InputSerch::dataToTimesKeepsTheInput()
{
    Input_Serch window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    captureStdout([&] { clickRadio(window.data_to_times_radio); });

    type(window, QStringLiteral("512"));
    QCOMPARE(ok(window), QStringLiteral("information/There  are 4 times"));
    QCOMPARE(window.input_edit->text(), QStringLiteral("512"));

    // 000 is a real result; empty text is not a number.
    type(window, QStringLiteral("000"));
    QCOMPARE(ok(window), QStringLiteral("information/There  are 3 times"));
    type(window, QStringLiteral("0"));
    QCOMPARE(ok(window), QStringLiteral("information/There  are 3 times"));
    type(window, QString());
    QCOMPARE(ok(window), QStringLiteral("Error/No Data"));
    type(window, QStringLiteral("x1"));
    QCOMPARE(ok(window), QStringLiteral("Error/No Data"));
}

void tst_InputSerch::clearResetsTheEntryMode()
{
    Input_Serch window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    clickRadio(window.entry_radio);
    for (const char *number : {"5", "6", "7"}) {
        type(window, QString::fromLatin1(number));
        ok(window);
    }
    QCOMPARE(window.entry_radio->text(), QStringLiteral("Bought No entry(3)"));

    type(window, QStringLiteral("8"));
    const QString output =
        captureStdout([&] { QTest::mouseClick(window.clear_button, Qt::LeftButton); });
    QCOMPARE(output, QStringLiteral("bout_no[0]=0\nbout_no[1]=0\nbout_no[2]=0\n"));
    QCOMPARE(window.entry_radio->text(), QStringLiteral("Bought No entry(0)"));
    QVERIFY(!window.serch_radio->isVisible());
    QCOMPARE(window.input_edit->text(), QString());
    QVERIFY(window.entry_radio->isChecked());
    QVERIFY(window.clear_button->isVisible());
}

void tst_InputSerch::sameNumberWrittenThreeWays()
{
    Input_Serch window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    clickRadio(window.entry_radio);
    for (const char *number : {"7", "007", "70"}) {
        type(window, QString::fromLatin1(number));
        ok(window);
    }
    clickRadio(window.serch_radio);
    type(window, QStringLiteral("07"));
    QCOMPARE(ok(window), QStringLiteral("serch result/There are hit:2 times "));
}

void tst_InputSerch::clickSound()
{
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QStringLiteral(LUKIMO_RUN_DIR)));
    Input_Serch window;
    QVERIFY(!window.click_sound);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QDir::setCurrent(previous);

    // One effect for the window, loaded once and kept.
    QSoundEffect *sound = window.click_sound;
    QVERIFY(sound);
    QTRY_VERIFY_WITH_TIMEOUT(sound->status() != QSoundEffect::Loading, 5000);
    QCOMPARE(sound->status(), QSoundEffect::Ready);
    for (int i = 0; i < 3; ++i)
        captureStdout([&] { clickRadio(window.data_to_times_radio); });
    QCOMPARE(window.click_sound, sound);
    QCOMPARE(window.findChildren<QSoundEffect *>().size(), 1);
}

void tst_InputSerch::missingSoundIsSilent()
{
    QTemporaryDir empty;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(empty.path()));
    Input_Serch window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QDir::setCurrent(previous);

    ModalBoxCloser closer;
    QElapsedTimer clock;
    clock.start();
    clickRadio(window.entry_radio);
    QVERIFY(window.entry_radio->isChecked());
    QCOMPARE(window.input_label->text(), QStringLiteral("Input Bought No"));
    QTest::qWait(50);
    QVERIFY(closer.boxes.isEmpty());
}

QTEST_MAIN(tst_InputSerch)
#include "tst_inputserch.moc"
