// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/helpwindow.h"
#include "numberwindow/random.h"
#include "settings/setup_config.h"

#include "support/modalboxcloser.h"
#include "support/settingskeys.h"
#include "support/stdoutcapture.h"

#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include <cstdlib>

// The number window without a mouse.
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
    void ctrlQQuits();

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

void tst_Keyboard::ctrlQQuits()
{
    Random window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::keyClick(&window, Qt::Key_Menu);

    QTimer::singleShot(0, &window,
                       [&] { QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier); });
    // Should the key be lost, the loop still ends, with another code.
    QTimer::singleShot(5000, &window, [] { QCoreApplication::exit(1); });
    QCOMPARE(QCoreApplication::exec(), 0);
}

QTEST_MAIN(tst_Keyboard)
#include "tst_keyboard.moc"
