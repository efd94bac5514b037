// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/helpwindow.h"
#include "numberwindow/random.h"
#include "pastdata/boughtstore.h"
#include "pastdata/input_serch.h"
#include "settings/setup_config.h"

#include "support/modalboxcloser.h"
#include "support/settingskeys.h"
#include "support/stdoutcapture.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include <cstdlib>

// Lukimo without a mouse.
class tst_Keyboard : public QObject
{
    Q_OBJECT

private slots:
    void takesFocus();
    void clickKeysStopAndRestart_data();
    void clickKeysStopAndRestart();
    void heldKeyClicksOnce();
    void otherKeysDoNothing_data();
    void otherKeysDoNothing();
    void settingsKeys_data();
    void settingsKeys();
    void escapeHidesSettingsAndHelp();
    void helpAndQuitInEveryWindow_data();
    void helpAndQuitInEveryWindow();
    void tabFollowsTheScreen_data();
    void tabFollowsTheScreen();
    void arrowsMoveWithinAGroup_data();
    void arrowsMoveWithinAGroup();
    void pastDataTakesDigitsAndReturn();
    void escapeOnTheLastWindowEndsTheProgram_data();
    void escapeOnTheLastWindowEndsTheProgram();

private:
    static QTimer *roll(Random &window) { return window.findChild<QTimer *>(); }
    static HelpWindow *helpWindow();
};

HelpWindow *tst_Keyboard::helpWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *help = qobject_cast<HelpWindow *>(widget))
            return help;
    return nullptr;
}

void tst_Keyboard::takesFocus()
{
    Random window;
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(QApplication::focusWidget(), &window);
}

void tst_Keyboard::clickKeysStopAndRestart_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("Space") << int(Qt::Key_Space) << Qt::KeyboardModifiers();
    QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers();
    QTest::newRow("Enter on the keypad")
        << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier);
}

void tst_Keyboard::clickKeysStopAndRestart()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);

    Random window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // A stop as by a left click: the settings are asked for the hundreds,
    // and one more draw stays on the display (the first of a run: 763).
    std::srand(1);
    const QString stop = captureStdout([&] { QTest::keyClick(&window, Qt::Key(key), modifiers); });
    QVERIFY(!roll(window)->isActive());
    QCOMPARE(stop, QStringLiteral("9\n"));
    QCOMPARE(window.intValue(), 763);

    const QString restart =
        captureStdout([&] { QTest::keyClick(&window, Qt::Key(key), modifiers); });
    QVERIFY(roll(window)->isActive());
    QCOMPARE(roll(window)->interval(), 100);
    QCOMPARE(restart, QString());
    QCOMPARE(window.intValue(), 535);
}

void tst_Keyboard::heldKeyClicksOnce()
{
    Random window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    captureStdout([&] { QTest::keyPress(&window, Qt::Key_Space); });
    QVERIFY(!roll(window)->isActive());
    for (int i = 0; i < 5; ++i) {
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "),
                         true);
        QApplication::sendEvent(&window, &repeat);
    }
    QVERIFY(!roll(window)->isActive());
    QVERIFY(!settingsDialog()->isVisible());
}

void tst_Keyboard::otherKeysDoNothing_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("a") << int(Qt::Key_A) << Qt::KeyboardModifiers();
    QTest::newRow("Ctrl+Space") << int(Qt::Key_Space) << Qt::KeyboardModifiers(Qt::ControlModifier);
    QTest::newRow("F10") << int(Qt::Key_F10) << Qt::KeyboardModifiers();
    QTest::newRow("Escape") << int(Qt::Key_Escape) << Qt::KeyboardModifiers();
}

void tst_Keyboard::otherKeysDoNothing()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);

    Random window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&window, &press);
    QVERIFY(!press.isAccepted());
    QVERIFY(roll(window)->isActive());
    QVERIFY(!settingsDialog()->isVisible());
    QVERIFY(!helpWindow()->isVisible());
}

void tst_Keyboard::settingsKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("Menu") << int(Qt::Key_Menu) << Qt::KeyboardModifiers();
    QTest::newRow("Shift+F10") << int(Qt::Key_F10) << Qt::KeyboardModifiers(Qt::ShiftModifier);
}

void tst_Keyboard::settingsKeys()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);

    Random window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Setup_config *dialog = settingsDialog();
    QVERIFY(dialog);

    QTest::keyClick(&window, Qt::Key(key), modifiers);
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->frameGeometry().intersects(window.frameGeometry()));
    QVERIFY(roll(window)->isActive());

    // It counts as a right press: from now on the draw follows the settings.
    digitKey(dialog, "max3_group", QStringLiteral("0"))->setChecked(true);
    digitKey(dialog, "max2_group", QStringLiteral("0"))->setChecked(true);
    digitKey(dialog, "max1_group", QStringLiteral("0"))->setChecked(true);
    captureStdout([&] {
        for (int i = 0; i < 20; ++i) {
            window.showRand3();
            QCOMPARE(window.intValue(), 0);
        }
    });

    // F1 shows the help beside the number window.
    QTest::keyClick(&window, Qt::Key_F1);
    QVERIFY(helpWindow()->isVisible());
    QVERIFY(!helpWindow()->frameGeometry().intersects(window.frameGeometry()));
}

void tst_Keyboard::escapeHidesSettingsAndHelp()
{
    Random window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::keyClick(&window, Qt::Key_Menu);
    QTest::keyClick(&window, Qt::Key_F1);
    Setup_config *dialog = settingsDialog();
    HelpWindow *help = helpWindow();
    QVERIFY(dialog->isVisible());
    QVERIFY(help->isVisible());
    digitKey(dialog, "max2_group", QStringLiteral("4"))->setChecked(true);

    QTest::keyClick(help, Qt::Key_Escape);
    QVERIFY(!help->isVisible());
    QVERIFY(dialog->isVisible());
    QTest::keyClick(dialog, Qt::Key_Escape);
    QVERIFY(!dialog->isVisible());
    QVERIFY(window.isVisible());

    // Both come back as they were.
    QTest::keyClick(&window, Qt::Key_Menu);
    QVERIFY(digitKey(dialog, "max2_group", QStringLiteral("4"))->isChecked());
    QTest::keyClick(&window, Qt::Key_F1);
    QVERIFY(help->isVisible());
}

namespace {

// The focused control as the user reads it: a digit key by its group and
// label, the past-data field as "field", anything else by its text.
QString focusName()
{
    QWidget *focus = QApplication::focusWidget();
    if (!focus)
        return QStringLiteral("(nothing)");
    if (qobject_cast<QLineEdit *>(focus))
        return QStringLiteral("field");
    auto *button = qobject_cast<QAbstractButton *>(focus);
    if (!button)
        return QString::fromLatin1(focus->metaObject()->className());
    auto *group = qobject_cast<QGroupBox *>(button->parentWidget());
    if (group && group->title().startsWith(QLatin1String("Max_")))
        return group->title() + QLatin1Char(' ') + button->text();
    return button->text();
}

void activate(QWidget *window)
{
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

enum class Window { Number, Settings, Help, PastData };

} // namespace

void tst_Keyboard::helpAndQuitInEveryWindow_data()
{
    QTest::addColumn<Window>("window");
    QTest::newRow("number window") << Window::Number;
    QTest::newRow("settings") << Window::Settings;
    QTest::newRow("help") << Window::Help;
    QTest::newRow("past data") << Window::PastData;
}

void tst_Keyboard::helpAndQuitInEveryWindow()
{
    QFETCH(Window, window);

    Random numberWindow;
    activate(&numberWindow);
    QTest::keyClick(&numberWindow, Qt::Key_Menu);
    QWidget *target = &numberWindow;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if ((window == Window::Settings && qobject_cast<Setup_config *>(widget)) ||
            (window == Window::Help && qobject_cast<HelpWindow *>(widget)) ||
            (window == Window::PastData && qobject_cast<Input_Serch *>(widget)))
            target = widget;
    }
    activate(target);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    QVERIFY(helpWindow()->isVisible());
    QTRY_COMPARE(QApplication::activeWindow(), helpWindow());

    activate(target);
    QTimer::singleShot(0, target, [&] {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Q, Qt::ControlModifier);
    });
    // Should the key be lost, the loop still ends, with another code.
    QTimer::singleShot(5000, target, [] { QCoreApplication::exit(1); });
    QCOMPARE(QCoreApplication::exec(), 0);
}

// Tab visits what the eye reads, row by row, each group of radio buttons
// once, at its checked button; Backtab goes the same way back.
void tst_Keyboard::tabFollowsTheScreen_data()
{
    QTest::addColumn<Window>("window");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QStringList>("stops");

    QTest::newRow("settings") << Window::Settings << false
                              << QStringList{"Random mode", "Numbers3", "Max_1 9",
                                             "Max_2 9",     "Max_3 9",  "ok",
                                             "Version",     "serch",    "help"};
    QTest::newRow("settings, self mode and 5 in Max_2")
        << Window::Settings << true
        << QStringList{"self mode", "Numbers3", "Max_1 9", "Max_2 5", "Max_3 9",
                       "ok",        "Version",  "serch",   "help"};
    QTest::newRow("past data") << Window::PastData << false
                               << QStringList{"field", "Ok", "Times to Data"};
    QTest::newRow("past data, entry mode")
        << Window::PastData << true << QStringList{"field", "Ok", "Clear", "Bought No entry(0)"};
}

void tst_Keyboard::tabFollowsTheScreen()
{
    QFETCH(Window, window);
    QFETCH(bool, changed);
    QFETCH(QStringList, stops);

    Setup_config dialog;
    Input_Serch pastData;
    QWidget *target = window == Window::Settings ? static_cast<QWidget *>(&dialog) : &pastData;
    if (changed && window == Window::Settings) {
        dialog.findChild<QRadioButton *>(QStringLiteral("self_radio"))->setChecked(true);
        digitKey(&dialog, "max2_group", QStringLiteral("5"))->setChecked(true);
    } else if (changed) {
        captureStdout(
            [&] { pastData.findChild<QRadioButton *>(QStringLiteral("entry_radio"))->click(); });
    }
    activate(target);

    QStringList forth;
    for (int i = 0; i < stops.size(); ++i) {
        forth << focusName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(forth, stops);
    QCOMPARE(focusName(), stops.first());

    QStringList back;
    for (int i = 0; i < stops.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        back.prepend(focusName());
    }
    QCOMPARE(back, stops);
}

// Arrow keys move within a group and check what they reach, as a click does.
void tst_Keyboard::arrowsMoveWithinAGroup_data()
{
    QTest::addColumn<Window>("window");
    QTest::addColumn<int>("tabs");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("reached");

    QTest::newRow("mode") << Window::Settings << 0 << int(Qt::Key_Down) << "self mode";
    QTest::newRow("keypad, across") << Window::Settings << 2 << int(Qt::Key_Right) << "Max_1 8";
    QTest::newRow("keypad, down") << Window::Settings << 3 << int(Qt::Key_Down) << "Max_2 6";
    QTest::newRow("past-data mode") << Window::PastData << 2 << int(Qt::Key_Up) << "Data to Times";
}

void tst_Keyboard::arrowsMoveWithinAGroup()
{
    QFETCH(Window, window);
    QFETCH(int, tabs);
    QFETCH(int, key);
    QFETCH(QString, reached);

    Setup_config dialog;
    Input_Serch pastData;
    activate(window == Window::Settings ? static_cast<QWidget *>(&dialog) : &pastData);
    for (int i = 0; i < tabs; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    captureStdout([&] { QTest::keyClick(QApplication::focusWidget(), Qt::Key(key)); });
    QCOMPARE(focusName(), reached);
    auto *button = qobject_cast<QAbstractButton *>(QApplication::focusWidget());
    QVERIFY(button->isChecked());

    // Tab leaves the group and comes back to the button now checked.
    QTest::keyClick(button, Qt::Key_Tab);
    QVERIFY(QApplication::focusWidget() != button);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(focusName(), reached);
}

// The past-data window opens with the field ready for digits, and Return
// presses whichever button has the focus.
void tst_Keyboard::pastDataTakesDigitsAndReturn()
{
    boughtStore() = BoughtStore();
    Input_Serch pastData;
    captureStdout(
        [&] { pastData.findChild<QRadioButton *>(QStringLiteral("entry_radio"))->click(); });
    activate(&pastData);
    ModalBoxCloser closer;
    for (int round = 0; round < 2; ++round) {
        QCOMPARE(focusName(), QStringLiteral("field"));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("321"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(focusName(), QStringLiteral("Ok"));
        captureStdout([&] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); });
        QCOMPARE(boughtStore().entryCount(), 1);

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(focusName(), QStringLiteral("Clear"));
        captureStdout([&] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter); });
        QCOMPARE(boughtStore().entryCount(), 0);

        // Put away with the focus on a button, it comes back to the field.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!pastData.isVisible());
        activate(&pastData);
    }
    QVERIFY(closer.boxes.isEmpty());
}

void tst_Keyboard::escapeOnTheLastWindowEndsTheProgram_data()
{
    QTest::addColumn<Window>("window");
    QTest::newRow("settings") << Window::Settings;
    QTest::newRow("help") << Window::Help;
    QTest::newRow("past data") << Window::PastData;
}

// Each window Escape puts away counts as closed: when it was the last one
// open, the program ends instead of running on with no window.
void tst_Keyboard::escapeOnTheLastWindowEndsTheProgram()
{
    QFETCH(Window, window);

    Random numberWindow;
    activate(&numberWindow);
    QTest::keyClick(&numberWindow, Qt::Key_Menu);
    Setup_config *dialog = settingsDialog();
    QTest::mouseClick(pushButton(dialog, QStringLiteral("help")), Qt::LeftButton);
    QTest::mouseClick(pushButton(dialog, QStringLiteral("serch")), Qt::LeftButton);
    QWidget *last = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        const bool isLast = (window == Window::Settings && qobject_cast<Setup_config *>(widget)) ||
                            (window == Window::Help && qobject_cast<HelpWindow *>(widget)) ||
                            (window == Window::PastData && qobject_cast<Input_Serch *>(widget));
        if (isLast)
            last = widget;
        else if (widget->isVisible())
            widget->close();
    }
    activate(last);

    QTimer::singleShot(0, last,
                       [&] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); });
    QTimer::singleShot(5000, last, [] { QCoreApplication::exit(1); });
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!last->isVisible());
}

QTEST_MAIN(tst_Keyboard)
#include "tst_keyboard.moc"
