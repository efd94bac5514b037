// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/helpwindow.h"
#include "numberwindow/random.h"
#include "pastdata/boughtstore.h"
#include "pastdata/input_serch.h"
#include "settings/setup_config.h"

#include "support/modalboxcloser.h"
#include "support/randreplay.h"
#include "support/settingskeys.h"
#include "support/stdoutcapture.h"

#include <QAccessible>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

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
    void everyWindowHelpsAndLetsGo_data();
    void everyWindowHelpsAndLetsGo();
    void tabFollowsTheScreen_data();
    void tabFollowsTheScreen();
    void activeAgainAtTheCheckedButton_data();
    void activeAgainAtTheCheckedButton();
    void pastDataTakesDigitsAndReturn();

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
    // and one more draw stays on the display (the first of a run).
    RandReplay draws;
    const QString stop = captureStdout([&] { QTest::keyClick(&window, Qt::Key(key), modifiers); });
    QVERIFY(!roll(window)->isActive());
    QCOMPARE(stop, QStringLiteral("9\n"));
    QCOMPARE(window.intValue(), draws.freeNumber());

    const QString restart =
        captureStdout([&] { QTest::keyClick(&window, Qt::Key(key), modifiers); });
    QVERIFY(roll(window)->isActive());
    QCOMPARE(roll(window)->interval(), 100);
    QCOMPARE(restart, QString());
    QCOMPARE(window.intValue(), draws.freeNumber());
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

// F1 and Ctrl+Q work in every window, and the window's own way out ends the
// program when it is the last window open.
void tst_Keyboard::everyWindowHelpsAndLetsGo_data()
{
    QTest::addColumn<Window>("window");
    QTest::addColumn<QKeySequence>("wayOut");
    const QKeySequence quit(Qt::CTRL | Qt::Key_Q);
    const QKeySequence escape(Qt::Key_Escape);
    QTest::newRow("number window, Ctrl+Q") << Window::Number << quit;
    QTest::newRow("settings, Ctrl+Q") << Window::Settings << quit;
    QTest::newRow("settings, Escape") << Window::Settings << escape;
    QTest::newRow("help, Ctrl+Q") << Window::Help << quit;
    QTest::newRow("help, Escape") << Window::Help << escape;
    QTest::newRow("past data, Ctrl+Q") << Window::PastData << quit;
    QTest::newRow("past data, Escape") << Window::PastData << escape;
}

void tst_Keyboard::everyWindowHelpsAndLetsGo()
{
    QFETCH(Window, window);
    QFETCH(QKeySequence, wayOut);

    Random numberWindow;
    activate(&numberWindow);
    QTest::keyClick(&numberWindow, Qt::Key_Menu);
    Setup_config *dialog = settingsDialog();
    QTest::mouseClick(pushButton(dialog, QStringLiteral("serch")), Qt::LeftButton);
    QWidget *target = &numberWindow;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if ((window == Window::Settings && qobject_cast<Setup_config *>(widget)) ||
            (window == Window::Help && qobject_cast<HelpWindow *>(widget)) ||
            (window == Window::PastData && qobject_cast<Input_Serch *>(widget)))
            target = widget;
    }
    activate(target);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    QTRY_COMPARE(QApplication::activeWindow(), helpWindow());
    // Its text takes the keys and a screen reader's attention at once.
    QCOMPARE(QApplication::focusWidget(), helpWindow());

    for (QWidget *other : QApplication::topLevelWidgets())
        if (other != target && other->isVisible())
            other->close();
    activate(target);
    QTimer::singleShot(0, target, [&] { QTest::keySequence(QApplication::focusWidget(), wayOut); });
    // Should the key be lost, the loop still ends, with another code.
    QTimer::singleShot(5000, target, [] { QCoreApplication::exit(1); });
    QCOMPARE(QCoreApplication::exec(), 0);
}

// Tab visits what the eye reads, row by row, each group of radio buttons
// once, at its checked button, where the arrow keys move on; Backtab goes
// the same way back.
void tst_Keyboard::tabFollowsTheScreen_data()
{
    QTest::addColumn<Window>("window");
    QTest::addColumn<QList<int>>("keysFirst");
    QTest::addColumn<QStringList>("stops");

    QTest::newRow("settings") << Window::Settings << QList<int>{}
                              << QStringList{"Random mode", "Numbers3", "Max_1 9",
                                             "Max_2 9",     "Max_3 9",  "ok",
                                             "Version",     "serch",    "help"};
    QTest::newRow("settings, self mode and 5 in Max_2 by arrows")
        << Window::Settings
        << QList<int>{Qt::Key_Down, Qt::Key_Tab,     Qt::Key_Tab,     Qt::Key_Tab,    Qt::Key_Right,
                      Qt::Key_Down, Qt::Key_Backtab, Qt::Key_Backtab, Qt::Key_Backtab}
        << QStringList{"self mode", "Numbers3", "Max_1 9", "Max_2 5", "Max_3 9",
                       "ok",        "Version",  "serch",   "help"};
    QTest::newRow("past data") << Window::PastData << QList<int>{}
                               << QStringList{"field", "Ok", "Times to Data", "Add draws…"};
    QTest::newRow("past data, entry mode by arrows")
        << Window::PastData
        << QList<int>{Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Up, Qt::Key_Up, Qt::Key_Tab, Qt::Key_Tab}
        << QStringList{"field", "Ok", "Clear", "Bought No entry(0)", "Add draws…"};
}

void tst_Keyboard::tabFollowsTheScreen()
{
    QFETCH(Window, window);
    QFETCH(QList<int>, keysFirst);
    QFETCH(QStringList, stops);

    Setup_config dialog;
    Input_Serch pastData;
    activate(window == Window::Settings ? static_cast<QWidget *>(&dialog) : &pastData);
    captureStdout([&] {
        for (int key : keysFirst)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    });

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

namespace {

enum class Meanwhile { ScreenReaderChecksAnother, PressedAndLetGo };

// The radio button of that text in the window's group of that name.
QRadioButton *radio(QWidget *window, const char *group, const QString &text)
{
    for (auto *button : window->findChild<QWidget *>(QLatin1String(group))
                            ->findChildren<QRadioButton *>(Qt::FindDirectChildrenOnly))
        if (button->text() == text)
            return button;
    return nullptr;
}

} // namespace

// A window that becomes active again gives the focus back to the group it
// left it in, at the button that is checked now: never at one that is not,
// where Space would check it by surprise and the arrows start elsewhere.
// Meanwhile a screen reader may have checked another button of the group
// (without touching the focus), or the user pressed a button and let go
// of the mouse beside it, which focuses a button without checking it.
void tst_Keyboard::activeAgainAtTheCheckedButton_data()
{
    QTest::addColumn<Window>("window");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("focused");
    QTest::addColumn<Meanwhile>("meanwhile");
    QTest::addColumn<QString>("other");
    QTest::addColumn<QString>("expected");

    QTest::newRow("settings' mode, another checked by a screen reader")
        << Window::Settings << "mode_group"
        << "Random mode" << Meanwhile::ScreenReaderChecksAnother << "self mode"
        << "self mode";
    QTest::newRow("settings' Max_1, another checked by a screen reader")
        << Window::Settings << "max1_group"
        << "9" << Meanwhile::ScreenReaderChecksAnother << "5"
        << "Max_1 5";
    QTest::newRow("settings' mode, pressed and let go beside")
        << Window::Settings << "mode_group"
        << "Random mode" << Meanwhile::PressedAndLetGo << "self mode"
        << "Random mode";
    QTest::newRow("settings' Max_2, pressed and let go beside")
        << Window::Settings << "max2_group"
        << "9" << Meanwhile::PressedAndLetGo << "3"
        << "Max_2 9";
    QTest::newRow("past data's mode, another checked by a screen reader")
        << Window::PastData << "mode_box"
        << "Times to Data" << Meanwhile::ScreenReaderChecksAnother << "Data to Times"
        << "Data to Times";
    QTest::newRow("past data's mode, pressed and let go beside")
        << Window::PastData << "mode_box"
        << "Times to Data" << Meanwhile::PressedAndLetGo << "Data to Times"
        << "Times to Data";
}

void tst_Keyboard::activeAgainAtTheCheckedButton()
{
    QFETCH(Window, window);
    QFETCH(QString, group);
    QFETCH(QString, focused);
    QFETCH(Meanwhile, meanwhile);
    QFETCH(QString, other);
    QFETCH(QString, expected);

    Setup_config dialog;
    Input_Serch pastData;
    QWidget *target = window == Window::Settings ? static_cast<QWidget *>(&dialog) : &pastData;
    QWidget elsewhere;
    elsewhere.setWindowTitle(QStringLiteral("another program"));
    activate(target);
    QRadioButton *start = radio(target, qPrintable(group), focused);
    QRadioButton *second = radio(target, qPrintable(group), other);
    QVERIFY(start && second);
    QVERIFY(start->isChecked());
    start->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), start);

    if (meanwhile == Meanwhile::PressedAndLetGo) {
        QTest::mousePress(second, Qt::LeftButton, Qt::NoModifier, QPoint(6, 6));
        QTest::mouseRelease(second, Qt::LeftButton, Qt::NoModifier,
                            QPoint(second->width() + 20, second->height() + 20));
        QCOMPARE(QApplication::focusWidget(), second);
        QVERIFY(!second->isChecked());
    }
    activate(&elsewhere);
    if (meanwhile == Meanwhile::ScreenReaderChecksAnother) {
        captureStdout([&] {
            QAccessible::queryAccessibleInterface(second)->actionInterface()->doAction(
                QAccessibleActionInterface::toggleAction());
            QCoreApplication::processEvents();
        });
        QVERIFY(second->isChecked());
    }
    activate(target);
    QCOMPARE(focusName(), expected);
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
    QCOMPARE(focusName(), QStringLiteral("field"));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("321"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    captureStdout([&] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); });
    QCOMPARE(boughtStore().entryCount(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(focusName(), QStringLiteral("Clear"));
    captureStdout([&] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter); });
    QCOMPARE(boughtStore().entryCount(), 0);

    // Put away with the focus on a button, it comes back to the field.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    activate(&pastData);
    QCOMPARE(focusName(), QStringLiteral("field"));
}

QTEST_MAIN(tst_Keyboard)
#include "tst_keyboard.moc"
