// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/accessibility.h"
#include "help/helpwindow.h"
#include "numberwindow/random.h"
#include "settings/setup_config.h"

#include "support/helpopener.h"
#include "support/modalboxcloser.h"
#include "support/settingskeys.h"
#include "support/stdoutcapture.h"

#include <QAccessible>
#include <QDir>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

#include <cstdlib>

namespace {

QString accessibleText(QObject *object, QAccessible::Text kind)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(object);
    return face ? face->text(kind) : QStringLiteral("(no interface)");
}

} // namespace

class tst_Accessibility : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void numberWindowIsNamed();
    void numberIsSpokenAtAStop();
    void selfModeStopGivesTheUsersNumber();
    void digitKeysSayTheirPosition_data();
    void digitKeysSayTheirPosition();
    void modeButtonsSayWhatTheKeysDo();
    void helpLinkIsALink();
    void helpTextIsReadAndSelected();

private:
    static QTimer *roll(Random &window) { return window.findChild<QTimer *>(); }
};

void tst_Accessibility::initTestCase()
{
    installAccessibility();
}

void tst_Accessibility::numberWindowIsNamed()
{
    Random window;
    QCOMPARE(accessibleText(&window, QAccessible::Name), QStringLiteral("Lukimo number"));
    QCOMPARE(accessibleText(&window, QAccessible::Description),
             QStringLiteral("Three rolling digits. Space or Return stops and restarts them, "
                            "the Menu key opens the settings, F1 the help."));
}

// What a screen reader reads of the number window (what it hears, and when,
// is checked on the real bus, end to end): a stop puts the number the display
// shows into the name and the value; the roll leaves both alone.
void tst_Accessibility::numberIsSpokenAtAStop()
{
    Random window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QAccessibleValueInterface *value =
        QAccessible::queryAccessibleInterface(&window)->valueInterface();
    QVERIFY(value);
    // The range a screen reader announces: whole numbers from 0 up to the
    // four digits the display can show.
    QCOMPARE(value->minimumValue(), QVariant(0));
    QCOMPARE(value->maximumValue(), QVariant(9999));
    QCOMPARE(value->minimumStepSize(), QVariant(1));

    // Rolling: the number changes ten times a second; the name and value
    // stay as they are.
    QSet<int> shown;
    QSet<QString> read;
    connect(roll(window), &QTimer::timeout, this, [&] {
        shown.insert(window.intValue());
        read << accessibleText(&window, QAccessible::Name) + QLatin1Char('|') +
                    accessibleText(&window, QAccessible::Value);
    });
    QTRY_VERIFY_WITH_TIMEOUT(shown.size() >= 3, 5000);
    QCOMPARE(read, QSet<QString>{QStringLiteral("Lukimo number|")});
    QVERIFY(qIsNaN(value->currentValue().toDouble()));

    // The stop draws once more (the first number of a run, 763).
    std::srand(1);
    captureStdout([&] { QTest::keyClick(&window, Qt::Key_Space); });
    QCOMPARE(accessibleText(&window, QAccessible::Name), QStringLiteral("Lukimo number 763"));
    QCOMPARE(accessibleText(&window, QAccessible::Value), QStringLiteral("763"));
    QCOMPARE(value->currentValue(), QVariant(763));

    captureStdout([&] { QTest::mousePress(&window, Qt::LeftButton); });
    QVERIFY(roll(window)->isActive());
    QCOMPARE(accessibleText(&window, QAccessible::Name), QStringLiteral("Lukimo number"));
    QCOMPARE(accessibleText(&window, QAccessible::Value), QString());
    QVERIFY(qIsNaN(value->currentValue().toDouble()));
}

void tst_Accessibility::selfModeStopGivesTheUsersNumber()
{
    Random window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::keyClick(&window, Qt::Key_Menu);
    Setup_config *dialog = settingsDialog();
    QVERIFY(dialog);
    dialog->findChild<QRadioButton *>(QStringLiteral("self_radio"))->setChecked(true);
    digitKey(dialog, "max3_group", QStringLiteral("0"))->setChecked(true);
    digitKey(dialog, "max2_group", QStringLiteral("4"))->setChecked(true);
    digitKey(dialog, "max1_group", QStringLiteral("5"))->setChecked(true);

    ModalBoxCloser closer;
    captureStdout([&] { QTest::keyClick(&window, Qt::Key_Return); });
    QCOMPARE(closer.boxes.size(), 1);
    QCOMPARE(accessibleText(&window, QAccessible::Value), QStringLiteral("45"));
    QCOMPARE(accessibleText(&window, QAccessible::Name), QStringLiteral("Lukimo number 45"));
}

void tst_Accessibility::digitKeysSayTheirPosition_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("name");
    QTest::newRow("Max_1 0") << QString("max1_group") << QString("0") << QString("0, ones digit");
    QTest::newRow("Max_2 5") << QString("max2_group") << QString("5") << QString("5, tens digit");
    QTest::newRow("Max_3 7") << QString("max3_group") << QString("7")
                             << QString("7, hundreds digit");
    QTest::newRow("Max_3 #") << QString("max3_group") << QString("#")
                             << QString("#, hundreds digit");
}

void tst_Accessibility::digitKeysSayTheirPosition()
{
    QFETCH(QString, group);
    QFETCH(QString, key);
    QFETCH(QString, name);

    Setup_config dialog;
    QRadioButton *button = digitKey(&dialog, qPrintable(group), key);
    QVERIFY(button);
    QCOMPARE(accessibleText(button, QAccessible::Name), name);
    QCOMPARE(QAccessible::queryAccessibleInterface(button)->role(), QAccessible::RadioButton);
}

// The mode buttons are where the draw is explained (their tooltips only
// repeat their names).
void tst_Accessibility::modeButtonsSayWhatTheKeysDo()
{
    Setup_config dialog;
    QCOMPARE(
        accessibleText(dialog.findChild<QRadioButton *>(QStringLiteral("random_radio")),
                       QAccessible::Description),
        QStringLiteral("Each digit is drawn at random, up to the key chosen for its position"));
    QCOMPARE(accessibleText(dialog.findChild<QRadioButton *>(QStringLiteral("self_radio")),
                            QAccessible::Description),
             QStringLiteral("Each digit is the key chosen for its position"));
}

// The help's link as a child of its text: found from both sides, and
// followed by its action (reading and Tab are checked on the real bus).
void tst_Accessibility::helpLinkIsALink()
{
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QStringLiteral(LUKIMO_RUN_DIR)));
    HelpWindow help;
    QDir::setCurrent(previous);
    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));

    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(&help);
    QAccessibleInterface *link = face->child(face->childCount() - 1);
    QCOMPARE(link->role(), QAccessible::Link);
    QCOMPARE(link->text(QAccessible::Name), QStringLiteral("日本語の説明はこちら"));
    QCOMPARE(link->parent(), face);
    QCOMPARE(face->indexOfChild(link), face->childCount() - 1);
    link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(help.source().fragment(), QStringLiteral("ja"));
    QVERIFY(help.verticalScrollBar()->value() > 0);
}

// What a screen reader reads of the help and moves in it: lines as the
// window wraps them, words, and a selection kept inside the text.
void tst_Accessibility::helpTextIsReadAndSelected()
{
    const std::unique_ptr<HelpWindow> help = openHelpOnThePage();
    QVERIFY(help);
    QAccessibleInterface *view = QAccessible::queryAccessibleInterface(help.get());
    QAccessibleTextInterface *text = view ? view->textInterface() : nullptr;
    QVERIFY(text);
    const QString plain = help->toPlainText();
    QCOMPARE(text->characterCount(), plain.size());

    int start = -1, end = -1;
    const QString firstLine = text->textAtOffset(0, QAccessible::LineBoundary, &start, &end);
    QCOMPARE(start, 0);
    QVERIFY(end > 1);
    QCOMPARE(firstLine, plain.left(end));
    // The page opens on its title, a line of its own.
    QCOMPARE(firstLine.trimmed(), plain.section(QLatin1Char('\n'), 0, 0).trimmed());
    const int word = plain.indexOf(QStringLiteral("Lukimo"));
    QVERIFY(word > 0);
    QCOMPARE(text->textAtOffset(word + 2, QAccessible::WordBoundary, &start, &end),
             QStringLiteral("Lukimo"));
    QCOMPARE(start, word);

    text->addSelection(2, 9);
    text->selection(0, &start, &end);
    QCOMPARE(QList<int>({start, end}), QList<int>({2, 9}));
    QCOMPARE(help->textCursor().selectedText(), plain.mid(2, 7));
    text->selection(1, &start, &end);
    QCOMPARE(QList<int>({start, end}), QList<int>({0, 0}));
    text->setSelection(0, -3, plain.size() + 10);
    text->selection(0, &start, &end);
    QCOMPARE(QList<int>({start, end}), QList<int>({0, int(plain.size())}));
    text->setSelection(0, 4, -3);
    text->selection(0, &start, &end);
    QCOMPARE(QList<int>({start, end}), QList<int>({0, 4}));
    text->setSelection(0, plain.size() + 5, plain.size() + 10);
    QCOMPARE(text->selectionCount(), 0);
    QCOMPARE(text->cursorPosition(), int(plain.size()));

    start = end = -1;
    QCOMPARE(text->attributes(5, &start, &end), QString());
    QCOMPARE(QList<int>({start, end}), QList<int>({0, int(plain.size())}));
}

QTEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
