// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pastdata/boughtstore.h"
#include "pastdata/input_serch.h"

#include "support/modalboxcloser.h"
#include "support/stdoutcapture.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

// The window as the user meets it, reached through its children's names.
struct PastDataWindow
{
    PastDataWindow()
    {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

    template <typename T> T *child(const char *name) const
    {
        auto *found = window.findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("the past-data window has no %s", name);
        return found;
    }
    QLineEdit *input() const { return child<QLineEdit>("input_edit"); }
    QLabel *prompt() const { return child<QLabel>("input_label"); }
    QPushButton *okButton() const { return child<QPushButton>("ok_button"); }
    QPushButton *clearButton() const { return child<QPushButton>("clear_button"); }
    QRadioButton *entry() const { return child<QRadioButton>("entry_radio"); }
    QRadioButton *search() const { return child<QRadioButton>("serch_radio"); }
    QRadioButton *dataToTimes() const { return child<QRadioButton>("data_to_times_radio"); }
    QRadioButton *timesToData() const { return child<QRadioButton>("times_to_data_radio"); }

    void type(const QString &text) const
    {
        input()->clear();
        QTest::keyClicks(input(), text);
    }
    // Pastes text at once, as a clipboard or an input method does.
    void paste(const QString &text) const
    {
        input()->clear();
        input()->insert(text);
    }
    // A radio button takes clicks on its indicator and label only.
    static void click(QRadioButton *radio)
    {
        captureStdout([&] {
            QTest::mouseClick(radio, Qt::LeftButton, Qt::NoModifier,
                              QPoint(6, radio->height() / 2));
        });
    }
    // Presses "Ok" and returns "title/text" of the box it opened, if any.
    QString ok() const
    {
        ModalBoxCloser closer;
        captureStdout([&] {
            QTest::mouseClick(okButton(), Qt::LeftButton);
            closer.waitUntilClosed();
        });
        return closer.boxes.isEmpty()
                   ? QString()
                   : closer.boxes.last().title + QLatin1Char('/') + closer.boxes.last().text;
    }
    QString enter(const QString &text) const
    {
        type(text);
        return ok();
    }

    Input_Serch window;
};

class tst_InputSerch : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void initialState();
    void layoutReadsAsDesigned();
    void modes_data();
    void modes();
    void searchModeAnswersThree();
    void entryFlow();
    void typedTextIsNeverCutIntoAnotherNumber_data();
    void typedTextIsNeverCutIntoAnotherNumber();
    void fieldStopsAtTheModesDigits_data();
    void fieldStopsAtTheModesDigits();
    void zeroIsANumberAndSignsAreNot();
    void searchKeepsThePreviousPrompt();
    void timesToDataClearsOnlyWhenAccepted();
    void dataToTimesKeepsTheInput();
    void clearResetsTheEntryMode();
    void sameNumberWrittenThreeWays();
    void keyboard();
    void fieldFitsAndNothingMoves();
    void answerComesBackToTheField_data();
    void answerComesBackToTheField();
};

void tst_InputSerch::init()
{
    boughtStore() = BoughtStore();
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
    QCOMPARE(window.windowFlags(), Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowTitleHint);
    // Larger only where the platform's font needs more room for the texts.
    QCOMPARE(window.size(), QSize(300, 180).expandedTo(window.minimumSizeHint()));
    auto child = [&](const char *name) { return window.findChild<QWidget *>(QLatin1String(name)); };
    QVERIFY(qobject_cast<QRadioButton *>(child("times_to_data_radio"))->isChecked());
    QCOMPARE(qobject_cast<QLabel *>(child("input_label"))->text(), QStringLiteral("No"));
    QVERIFY(!child("clear_button")->isVisible());
    QVERIFY(!child("serch_radio")->isVisible());
    QCOMPARE(qobject_cast<QRadioButton *>(child("entry_radio"))->text(),
             QStringLiteral("Bought No entry(0)"));
    QCOMPARE(qobject_cast<QGroupBox *>(child("mode_box"))->title(), QStringLiteral("mode"));
    QCOMPARE(qobject_cast<QPushButton *>(child("ok_button"))->text(), QStringLiteral("Ok"));
    QCOMPARE(child("data_to_times_radio")->toolTip(), QStringLiteral("change to times from data"));
    QCOMPARE(child("times_to_data_radio")->toolTip(), QStringLiteral("change to data from times"));
    QCOMPARE(child("entry_radio")->toolTip(), QStringLiteral("Bought Number Entry"));
    QCOMPARE(child("serch_radio")->toolTip(), QStringLiteral("Bought Number Serch"));
    QCOMPARE(qobject_cast<QRadioButton *>(child("data_to_times_radio"))->text(),
             QStringLiteral("Data to Times"));
    QCOMPARE(qobject_cast<QRadioButton *>(child("times_to_data_radio"))->text(),
             QStringLiteral("Times to Data"));
    QCOMPARE(qobject_cast<QRadioButton *>(child("serch_radio"))->text(),
             QStringLiteral("Bought No serch"));
    QCOMPARE(qobject_cast<QPushButton *>(child("clear_button"))->text(), QStringLiteral("Clear"));
    QCOMPARE(qobject_cast<QLabel *>(child("known_label"))->text(),
             QStringLiteral("Draws 1–6873, to 2025-12-08"));
}

// The prompt, the field, "Ok" and "Clear" in a row above the mode group,
// whose buttons stand one below the other: entry, search, Data to Times,
// Times to Data.
void tst_InputSerch::layoutReadsAsDesigned()
{
    PastDataWindow w;
    w.click(w.entry());
    w.enter(QStringLiteral("5"));
    QVERIFY(w.search()->isVisible());
    auto inWindow = [&](QWidget *widget) {
        return QRect(widget->mapTo(&w.window, QPoint(0, 0)), widget->size());
    };
    const QRect prompt = inWindow(w.prompt()), field = inWindow(w.input()),
                ok = inWindow(w.okButton()), clear = inWindow(w.clearButton()),
                modes = inWindow(w.child<QGroupBox>("mode_box"));
    QVERIFY(prompt.right() < field.left());
    // The prompt stands against the field it names.
    QCOMPARE(w.prompt()->alignment(), Qt::AlignRight | Qt::AlignVCenter);
    QVERIFY(field.right() < ok.left());
    QVERIFY(ok.right() < clear.left());
    for (const QRect &inRow : {field, ok, clear})
        QVERIFY(qAbs(inRow.center().y() - prompt.center().y()) <= 2);
    QVERIFY(field.bottom() < modes.top());
    QRect above;
    for (QRadioButton *radio : {w.entry(), w.search(), w.dataToTimes(), w.timesToData()}) {
        const QRect here = inWindow(radio);
        QVERIFY(modes.contains(here));
        QVERIFY(above.isNull() || above.bottom() < here.top());
        QVERIFY(above.isNull() || above.left() == here.left()); // one column
        above = here;
    }
    QVERIFY(QRect(QPoint(0, 0), w.window.size()).contains(modes));
    const QRect known = inWindow(w.child<QLabel>("known_label"));
    QVERIFY(modes.bottom() < known.top());
    QVERIFY(QRect(QPoint(0, 0), w.window.size()).contains(known));
}

void tst_InputSerch::modes_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<bool>("clearShown");
    QTest::addColumn<QString>("trace");
    // The longest number the mode takes, and one digit more.
    QTest::addColumn<QString>("longest");
    QTest::addColumn<QString>("tooLong");

    QTest::newRow("data to times")
        << "data_to_times_radio" << 1 << "Data" << false << "data to times=1\n"
        << "999"
        << "1000";
    QTest::newRow("times to data")
        << "times_to_data_radio" << 2 << "No" << false << "times to data=2\n"
        << "2000"
        << "00002";
    QTest::newRow("entry") << "entry_radio" << 0 << "Input Bought No" << true << ""
                           << "999"
                           << "0001";
}

void tst_InputSerch::modes()
{
    QFETCH(QString, button);
    QFETCH(int, result);
    QFETCH(QString, prompt);
    QFETCH(bool, clearShown);
    QFETCH(QString, trace);
    QFETCH(QString, longest);
    QFETCH(QString, tooLong);

    PastDataWindow w;
    auto *radio = w.window.findChild<QRadioButton *>(button);

    // A click on the checked button sets the mode up again, emptying the input.
    for (int round = 0; round < 2; ++round) {
        w.type(QStringLiteral("12"));
        const QString output = captureStdout([&] {
            QTest::mouseClick(radio, Qt::LeftButton, Qt::NoModifier,
                              QPoint(6, radio->height() / 2));
        });
        QVERIFY(radio->isChecked());
        QCOMPARE(output, trace);
        QCOMPARE(w.prompt()->text(), prompt);
        QCOMPARE(w.clearButton()->isVisible(), clearShown);
        QCOMPARE(w.input()->text(), QString());
    }
    QVERIFY(!w.enter(longest).startsWith(QStringLiteral("Error/")));
    w.type(tooLong);
    QCOMPARE(w.input()->text(), tooLong.chopped(1));

    int returned = -1;
    captureStdout(
        [&] { QMetaObject::invokeMethod(&w.window, "Check_mode", Q_RETURN_ARG(int, returned)); });
    QCOMPARE(returned, result);
}

// The search mode exists once a number is bought; it answers 3 and leaves
// the input as it was.
void tst_InputSerch::searchModeAnswersThree()
{
    PastDataWindow w;
    w.click(w.entry());
    w.enter(QStringLiteral("5"));
    w.click(w.search());
    int returned = -1;
    const QString output = captureStdout(
        [&] { QMetaObject::invokeMethod(&w.window, "Check_mode", Q_RETURN_ARG(int, returned)); });
    QCOMPARE(returned, 3);
    QCOMPARE(output, QString());
}

void tst_InputSerch::entryFlow()
{
    PastDataWindow w;
    w.click(w.entry());
    // As small as it goes: it has to grow for the search mode that shows.
    w.window.resize(1, 1);

    // Empty input is refused and changes nothing.
    QCOMPARE(w.ok(), QStringLiteral("Error/No Data"));
    QCOMPARE(w.entry()->text(), QStringLiteral("Bought No entry(0)"));

    QCOMPARE(w.enter(QStringLiteral("abc")), QStringLiteral("Error/No Data"));
    QCOMPARE(w.input()->text(), QStringLiteral("abc"));

    QCOMPARE(w.enter(QStringLiteral("123")), QString());
    QCOMPARE(w.entry()->text(), QStringLiteral("Bought No entry(1)"));
    QVERIFY(w.search()->isVisible());
    // The window grows for the mode shown: every mode in sight, unscrolled.
    QCoreApplication::processEvents();
    for (QRadioButton *mode : {w.entry(), w.search(), w.dataToTimes(), w.timesToData()})
        QCOMPARE(mode->visibleRegion().boundingRect(), mode->rect());
    QCOMPARE(w.input()->text(), QString());
    QVERIFY(w.clearButton()->isVisible());
    QCOMPARE(boughtStore().entry(0), 123);
}

// What the user typed or pasted is the number that is used, or it is refused
// with "No Data"; it never silently becomes another number.
void tst_InputSerch::typedTextIsNeverCutIntoAnotherNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("stored"); // -1: refused

    QTest::newRow("leading space") << " 123" << 123;
    QTest::newRow("spaces around") << "  45  " << 45;
    QTest::newRow("ideographic space") << QString::fromUtf8("\u3000"
                                                            "7")
                                       << 7;
    QTest::newRow("full-width digits") << QString::fromUtf8("１２３") << 123;
    QTest::newRow("arabic-indic digits") << QString::fromUtf8("٤٥٦") << 456;
    QTest::newRow("mathematical digits") << QString::fromUtf8("\U0001D7D7\U0001D7D6") << 98;
    QTest::newRow("space inside") << "1 23" << -1;
    QTest::newRow("superscript digit") << QString::fromUtf8("1²") << -1;
    QTest::newRow("letters after") << "12a" << -1;
}

void tst_InputSerch::typedTextIsNeverCutIntoAnotherNumber()
{
    QFETCH(QString, text);
    QFETCH(int, stored);

    PastDataWindow w;
    w.click(w.entry());
    w.paste(text);
    QCOMPARE(w.input()->text(), text);
    const QString box = w.ok();
    if (stored < 0) {
        QCOMPARE(box, QStringLiteral("Error/No Data"));
        QCOMPARE(boughtStore().entryCount(), 0);
        QCOMPARE(w.input()->text(), text);
    } else {
        QCOMPARE(box, QString());
        QCOMPARE(boughtStore().entryCount(), 1);
        QCOMPARE(boughtStore().entry(0), stored);
    }

    // The same text asks about the same number in the other modes.
    w.click(w.dataToTimes());
    w.paste(text);
    const QString answer = w.ok();
    if (stored < 0)
        QCOMPARE(answer, QStringLiteral("Error/No Data"));
    else
        QVERIFY(answer.startsWith(QStringLiteral("information/")));
}

// Typing stops at the mode's digits; a paste that would go past them is
// refused whole and leaves the field as it was. Spaces do not count.
void tst_InputSerch::fieldStopsAtTheModesDigits_data()
{
    QTest::addColumn<bool>("entryMode"); // else "Times to Data"
    QTest::addColumn<bool>("typed");     // else pasted onto "5"
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("field");

    QTest::newRow("typed, three") << true << true << "123456"
                                  << "123";
    QTest::newRow("typed, four") << false << true << "123456"
                                 << "1234";
    QTest::newRow("typed, spaces free") << true << true << " 1 23  4"
                                        << " 1 23  ";
    QTest::newRow("typed, full-width digits")
        << true << true << QString::fromUtf8("１２３４") << QString::fromUtf8("１２３");
    QTest::newRow("typed, digits beyond the basic plane")
        << false << true << QString::fromUtf8("\U0001D7D7\U0001D7D6\U0001D7D5\U0001D7D4\U0001D7D3")
        << QString::fromUtf8("\U0001D7D7\U0001D7D6\U0001D7D5\U0001D7D4");
    QTest::newRow("pasted, fits") << true << false << "12"
                                  << "512";
    QTest::newRow("pasted, one too many") << true << false << "123"
                                          << "5";
    QTest::newRow("pasted, four into four") << false << false << " 123 "
                                            << "5 123 ";
    QTest::newRow("pasted, digits beyond the basic plane")
        << true << false << QString::fromUtf8("\U0001D7D7\U0001D7D6")
        << QString::fromUtf8("5\U0001D7D7\U0001D7D6");
    QTest::newRow("pasted, letters count") << true << false << "abc"
                                           << "5";
}

void tst_InputSerch::fieldStopsAtTheModesDigits()
{
    QFETCH(bool, entryMode);
    QFETCH(bool, typed);
    QFETCH(QString, text);
    QFETCH(QString, field);

    PastDataWindow w;
    if (entryMode)
        w.click(w.entry());
    if (typed) {
        w.input()->clear();
        // One key per character, whatever the keyboard layout makes of it.
        for (char32_t character : text.toUcs4()) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier,
                          QString::fromUcs4(&character, 1));
            QApplication::sendEvent(w.input(), &key);
        }
    } else {
        w.type(QStringLiteral("5"));
        w.input()->insert(text);
    }
    QCOMPARE(w.input()->text(), field);
}

void tst_InputSerch::zeroIsANumberAndSignsAreNot()
{
    PastDataWindow w;
    w.click(w.entry());
    for (const char *refused : {"-5", "+5", "-0", "+000"})
        QCOMPARE(w.enter(QLatin1String(refused)), QStringLiteral("Error/No Data"));
    QCOMPARE(boughtStore().entryCount(), 0);

    QCOMPARE(w.enter(QStringLiteral("000")), QString());
    QCOMPARE(w.enter(QStringLiteral("0")), QString());
    QCOMPARE(w.entry()->text(), QStringLiteral("Bought No entry(2)"));
    w.click(w.search());
    QCOMPARE(w.enter(QStringLiteral("00")), QStringLiteral("serch result/There are hit:2 times "));
    QCOMPARE(w.enter(QStringLiteral("-0")), QStringLiteral("Error/No Data"));

    // Draw 0 does not exist; the result 000 does.
    w.click(w.timesToData());
    QCOMPARE(w.enter(QStringLiteral("0")), QStringLiteral("Error/No Data"));
    w.click(w.dataToTimes());
    QCOMPARE(w.enter(QStringLiteral("000")), QStringLiteral("information/There  are 6 times"));
    QCOMPARE(w.enter(QStringLiteral("-1")), QStringLiteral("Error/No Data"));
}

void tst_InputSerch::searchKeepsThePreviousPrompt()
{
    PastDataWindow w;
    w.click(w.entry());
    w.enter(QStringLiteral("77"));

    w.type(QStringLiteral("77"));
    w.click(w.search());
    QVERIFY(!w.clearButton()->isVisible());
    QCOMPARE(w.prompt()->text(), QStringLiteral("Input Bought No"));
    QCOMPARE(w.input()->text(), QStringLiteral("77"));
    QCOMPARE(w.ok(), QStringLiteral("serch result/There are hit:1 times "));
    QCOMPARE(w.input()->text(), QStringLiteral("77"));
    // The entry mode's limit of three digits stays.
    w.type(QStringLiteral("0077"));
    QCOMPARE(w.input()->text(), QStringLiteral("007"));

    // From "Times to Data" straight to the search, the limit stays four
    // digits, and the number must still be one that can be bought.
    w.click(w.timesToData());
    w.click(w.search());
    QCOMPARE(w.prompt()->text(), QStringLiteral("No"));
    QCOMPARE(w.enter(QStringLiteral("0077")),
             QStringLiteral("serch result/There are hit:1 times "));
    QCOMPARE(w.enter(QStringLiteral("1000")), QStringLiteral("Error/No Data"));
}

void tst_InputSerch::timesToDataClearsOnlyWhenAccepted()
{
    PastDataWindow w;
    // As first shown, the window takes draw numbers of up to four digits.
    QCOMPARE(w.enter(QStringLiteral("00002")), QStringLiteral("Error/No Data"));
    QCOMPARE(w.enter(QStringLiteral("0002")), QStringLiteral("serch result/2 times data is 988"));
    QCOMPARE(w.enter(QStringLiteral("2000")),
             QStringLiteral("serch result/2000 times data is 440"));
    QCOMPARE(w.input()->text(), QString());
    QCOMPARE(w.enter(QStringLiteral("1")), QStringLiteral("serch result/1 times data is 191"));

    QCOMPARE(w.enter(QStringLiteral("6873")),
             QStringLiteral("serch result/6873 times data is 412"));
    QCOMPARE(w.enter(QStringLiteral("6874")), QStringLiteral("Error/No Data"));
    QCOMPARE(w.input()->text(), QStringLiteral("6874"));
}

void tst_InputSerch::dataToTimesKeepsTheInput()
{
    PastDataWindow w;
    w.click(w.dataToTimes());

    QCOMPARE(w.enter(QStringLiteral("512")), QStringLiteral("information/There  are 4 times"));
    QCOMPARE(w.input()->text(), QStringLiteral("512"));
    QCOMPARE(w.enter(QStringLiteral("894")), QStringLiteral("information/There aren't No Namber"));

    // 000 is a real result; empty text is not a number.
    QCOMPARE(w.enter(QStringLiteral("000")), QStringLiteral("information/There  are 6 times"));
    QCOMPARE(w.enter(QStringLiteral("0")), QStringLiteral("information/There  are 6 times"));
    QCOMPARE(w.enter(QString()), QStringLiteral("Error/No Data"));
    QCOMPARE(w.enter(QStringLiteral("x1")), QStringLiteral("Error/No Data"));
}

void tst_InputSerch::clearResetsTheEntryMode()
{
    PastDataWindow w;
    w.click(w.entry());
    for (const char *number : {"5", "6", "7"})
        w.enter(QLatin1String(number));
    QCOMPARE(w.entry()->text(), QStringLiteral("Bought No entry(3)"));

    w.type(QStringLiteral("8"));
    const QString output =
        captureStdout([&] { QTest::mouseClick(w.clearButton(), Qt::LeftButton); });
    QCOMPARE(output, QStringLiteral("bout_no[0]=0\nbout_no[1]=0\nbout_no[2]=0\n"));
    QCOMPARE(w.entry()->text(), QStringLiteral("Bought No entry(0)"));
    QVERIFY(!w.search()->isVisible());
    QCOMPARE(w.input()->text(), QString());
    QVERIFY(w.entry()->isChecked());
    QVERIFY(w.clearButton()->isVisible());
}

void tst_InputSerch::sameNumberWrittenThreeWays()
{
    PastDataWindow w;
    w.click(w.entry());
    for (const char *number : {"7", "007", "70"})
        w.enter(QLatin1String(number));
    w.click(w.search());
    QCOMPARE(w.enter(QStringLiteral("07")), QStringLiteral("serch result/There are hit:2 times "));
}

void tst_InputSerch::keyboard()
{
    PastDataWindow w;
    w.click(w.entry());
    w.window.activateWindow();
    w.input()->setFocus();

    // Return in the field is "Ok".
    ModalBoxCloser closer;
    QTest::keyClicks(w.input(), QStringLiteral("321"));
    captureStdout([&] { QTest::keyClick(w.input(), Qt::Key_Return); });
    QCOMPARE(boughtStore().entryCount(), 1);
    QCOMPARE(boughtStore().entry(0), 321);
    QVERIFY(closer.boxes.isEmpty());

    // Tab: the field, "Ok", "Clear", then the mode group.
    auto nextTabStop = [](QWidget *from) {
        QWidget *next = from->nextInFocusChain();
        while (!(next->focusPolicy() & Qt::TabFocus) || !next->isVisible())
            next = next->nextInFocusChain();
        return next;
    };
    QCOMPARE(nextTabStop(w.input()), w.okButton());
    QCOMPARE(nextTabStop(w.okButton()), w.clearButton());
    QCOMPARE(nextTabStop(w.clearButton()), w.entry());

    // Escape puts the window away; what was entered stays.
    QTest::keyClick(&w.window, Qt::Key_Escape);
    QVERIFY(!w.window.isVisible());
    QCOMPARE(boughtStore().entryCount(), 1);
}

void tst_InputSerch::fieldFitsAndNothingMoves()
{
    PastDataWindow w;
    const QRect field = w.input()->geometry();
    const QRect ok = w.okButton()->geometry();
    const QSize size = w.window.size();
    const int fourDigits = w.input()->fontMetrics().horizontalAdvance(QStringLiteral("0000"));
    QVERIFY2(field.width() > fourDigits + 8, qPrintable(QString::number(field.width())));

    w.click(w.entry());
    QVERIFY(w.clearButton()->isVisible());
    QCoreApplication::processEvents();
    QCOMPARE(w.input()->geometry(), field);
    QCOMPARE(w.okButton()->geometry(), ok);
    QCOMPARE(w.window.size(), size);

    // Squeezed as small as it goes, the window still shows four digits, the
    // longest prompt and the buttons' texts whole.
    w.window.resize(1, 1);
    QCoreApplication::processEvents();
    QVERIFY(w.input()->width() > fourDigits + 8);
    const QFontMetrics metrics = w.prompt()->fontMetrics();
    QVERIFY(w.prompt()->width() >= metrics.horizontalAdvance(QStringLiteral("Input Bought No")));
    for (QPushButton *button : {w.okButton(), w.clearButton()})
        QVERIFY(button->width() > button->fontMetrics().horizontalAdvance(button->text()) + 8);
}

void tst_InputSerch::answerComesBackToTheField_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("OK") << "OK";
    QTest::newRow("Escape") << "Escape";
    QTest::newRow("Return") << "Return";
    QTest::newRow("title bar") << "title bar";
}

// A draw looked up with Return: the window waits behind its report, the
// field is emptied once the report is closed, and the keyboard is back in
// the field for the next draw.
void tst_InputSerch::answerComesBackToTheField()
{
    QFETCH(QString, how);
    PastDataWindow w;
    w.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    w.input()->setFocus();
    QTest::keyClicks(w.input(), QStringLiteral("24"));
    captureStdout([&] { QTest::keyClick(w.input(), Qt::Key_Return); });

    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    QVERIFY(box);
    QCOMPARE(box->text(), QStringLiteral("24 times data is 39"));
    QVERIFY(QTest::qWaitForWindowActive(box));
    QCOMPARE(w.input()->text(), QStringLiteral("24"));
    // A click on the window behind the report does nothing.
    QTest::mouseClick(w.okButton()->window()->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      w.okButton()->mapTo(&w.window, w.okButton()->rect().center()));
    QTest::qWait(20);
    QCOMPARE(QApplication::activeModalWidget(), box);

    if (how == QLatin1String("OK"))
        QTest::mouseClick(box->buttons().first(), Qt::LeftButton);
    else if (how == QLatin1String("title bar"))
        box->close();
    else
        QTest::keyClick(QApplication::focusWidget(),
                        how == QLatin1String("Escape") ? Qt::Key_Escape : Qt::Key_Return);
    QCOMPARE(w.input()->text(), QString());
    QTest::qWait(20);
    for (QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<QMessageBox *>(widget) || !widget->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    QCOMPARE(QApplication::focusWidget(), w.input());
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("1"));
    QCOMPARE(w.input()->text(), QStringLiteral("1"));
}

QTEST_MAIN(tst_InputSerch)
#include "tst_inputserch.moc"
