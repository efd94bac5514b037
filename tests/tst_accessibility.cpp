// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/accessibility.h"
#include "help/helpwindow.h"
#include "numberwindow/random.h"
#include "pastdata/boughtstore.h"
#include "pastdata/input_serch.h"
#include "settings/setup_config.h"

#include "support/modalboxcloser.h"
#include "support/settingskeys.h"
#include "support/stdoutcapture.h"

#include <QAccessible>
#include <QDir>
#include <QScrollBar>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
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
    void descriptionsAddToTheName();
    void pastDataFieldIsNamedByItsPrompt();
    void storingAndClearingAreHeard();
    void helpIsReadAtTheCaret();

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

// A screen reader speaks a changed name of the object in focus (the events
// themselves are checked on the real bus, end to end): a stop puts the number
// the display shows into the name, 0 included; the roll leaves it alone.
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

    // Every digit limited to "0": the stop shows 0, and says so.
    QTest::keyClick(&window, Qt::Key_Menu);
    Setup_config *dialog = settingsDialog();
    for (const char *group : {"max3_group", "max2_group", "max1_group"})
        digitKey(dialog, group, QStringLiteral("0"))->setChecked(true);
    captureStdout([&] { QTest::keyClick(&window, Qt::Key_Return); });
    QCOMPARE(window.intValue(), 0);
    QCOMPARE(accessibleText(&window, QAccessible::Name), QStringLiteral("Lukimo number 0"));
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

// A screen reader reads the name, then the description, which is the tooltip
// when nothing else is set: no description may only repeat the name.
void tst_Accessibility::descriptionsAddToTheName()
{
    Random number;
    Setup_config settings;
    Input_Serch pastData;
    HelpWindow help;
    QStringList repeated;
    for (QWidget *window : std::initializer_list<QWidget *>{&number, &settings, &pastData, &help}) {
        QList<QWidget *> widgets = window->findChildren<QWidget *>();
        widgets.prepend(window);
        for (QWidget *widget : widgets) {
            const QString name = accessibleText(widget, QAccessible::Name).toLower();
            const QString description = accessibleText(widget, QAccessible::Description).toLower();
            if (!description.isEmpty() && name.contains(description))
                repeated << name + QStringLiteral(" / ") + description;
        }
    }
    QCOMPARE(repeated, QStringList());

    // The mode buttons are where the draw is explained.
    QCOMPARE(
        accessibleText(settings.findChild<QRadioButton *>(QStringLiteral("random_radio")),
                       QAccessible::Description),
        QStringLiteral("Each digit is drawn at random, up to the key chosen for its position"));
    QCOMPARE(accessibleText(settings.findChild<QRadioButton *>(QStringLiteral("self_radio")),
                            QAccessible::Description),
             QStringLiteral("Each digit is the key chosen for its position"));
}

void tst_Accessibility::pastDataFieldIsNamedByItsPrompt()
{
    Input_Serch window;
    auto *field = window.findChild<QLineEdit *>(QStringLiteral("input_edit"));
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(field);
    const auto labels = face->relations(QAccessible::Label);
    QCOMPARE(labels.size(), 1);
    QCOMPARE(labels.first().first->object(),
             window.findChild<QLabel *>(QStringLiteral("input_label")));

    QCOMPARE(face->text(QAccessible::Name), QStringLiteral("No"));
    const std::pair<const char *, const char *> modes[] = {{"data_to_times_radio", "Data"},
                                                           {"entry_radio", "Input Bought No"},
                                                           {"times_to_data_radio", "No"}};
    for (const auto &[mode, name] : modes) {
        captureStdout([&] { window.findChild<QRadioButton *>(QLatin1String(mode))->click(); });
        QCOMPARE(face->text(QAccessible::Name), QLatin1String(name));
    }
}

// Heard as a notification that appears in the window; it is gone once the
// focus moves on.
void tst_Accessibility::storingAndClearingAreHeard()
{
    boughtStore() = BoughtStore();
    Input_Serch window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    auto *field = window.findChild<QLineEdit *>(QStringLiteral("input_edit"));
    auto *clear = window.findChild<QPushButton *>(QStringLiteral("clear_button"));
    captureStdout(
        [&] { window.findChild<QRadioButton *>(QStringLiteral("entry_radio"))->click(); });
    field->setFocus();
    auto notices = [&] {
        QStringList shown;
        for (QWidget *child : window.findChildren<QWidget *>()) {
            QAccessibleInterface *face = QAccessible::queryAccessibleInterface(child);
            if (face->role() == QAccessible::Notification && child->isVisible() &&
                child->size().isEmpty())
                shown << face->text(QAccessible::Name);
        }
        return shown;
    };
    QCOMPARE(notices(), QStringList());

    const QString numbers[] = {QStringLiteral("123"), QStringLiteral("007")};
    const QString heard[] = {QStringLiteral("Stored 123. Numbers bought: 1"),
                             QStringLiteral("Stored 7. Numbers bought: 2")};
    for (int i = 0; i < 2; ++i) {
        QTest::keyClicks(field, numbers[i]);
        captureStdout([&] { QTest::keyClick(field, Qt::Key_Return); });
        QCOMPARE(notices(), QStringList{heard[i]});
    }

    clear->setFocus();
    QCOMPARE(notices(), QStringList());
    captureStdout([&] { QTest::keyClick(clear, Qt::Key_Space); });
    QCOMPARE(boughtStore().entryCount(), 0);
    QCOMPARE(notices(), QStringList{QStringLiteral("List cleared")});
}

// A read-only document in focus, its text read at a caret the keyboard
// moves, its link a link that Tab reaches and that can be followed.
void tst_Accessibility::helpIsReadAtTheCaret()
{
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QStringLiteral(LUKIMO_RUN_DIR)));
    HelpWindow help;
    QDir::setCurrent(previous);
    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));
    help.activateWindow();
    QTRY_VERIFY(help.hasFocus());

    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(&help);
    QCOMPARE(face->role(), QAccessible::Document);
    QCOMPARE(face->text(QAccessible::Name), QStringLiteral("How to use"));
    QVERIFY(face->state().focused && face->state().readOnly);
    QAccessibleTextInterface *text = face->textInterface();
    QVERIFY(text);
    QCOMPARE(text->characterCount(), help.toPlainText().size());
    QCOMPARE(text->text(0, text->characterCount()), help.toPlainText());
    int start = -1, end = -1;
    QCOMPARE(text->textAtOffset(3, QAccessible::LineBoundary, &start, &end),
             QStringLiteral("How to use Lukimo\n"));
    QCOMPARE(start, 0);

    QCOMPARE(text->cursorPosition(), 0);
    QTest::keyClick(&help, Qt::Key_Down);
    QCOMPARE(text->cursorPosition(), end);
    QCOMPARE(text->textAtOffset(text->cursorPosition(), QAccessible::LineBoundary, &start, &end),
             QStringLiteral("日本語の説明はこちら \n"));

    QList<QAccessibleInterface *> links;
    for (int i = 0; i < face->childCount(); ++i)
        if (face->child(i)->role() == QAccessible::Link)
            links << face->child(i);
    QCOMPARE(links.size(), 1);
    QAccessibleInterface *link = links.first();
    QCOMPARE(link->text(QAccessible::Name), QStringLiteral("日本語の説明はこちら"));
    QCOMPARE(face->indexOfChild(link), face->childCount() - 1);
    QCOMPARE(link->parent(), face);
    QVERIFY(!link->state().focused);
    QTest::keyClick(&help, Qt::Key_Tab);
    QVERIFY(link->state().focused);
    QCOMPARE(face->focusChild(), link);

    link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(help.source().fragment(), QStringLiteral("ja"));
    QVERIFY(help.verticalScrollBar()->value() > 0);
}

QTEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
