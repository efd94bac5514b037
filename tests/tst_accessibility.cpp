// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/accessibility.h"
#include "help/helpwindow.h"
#include "numberwindow/random.h"
#include "pastdata/boughtstore.h"
#include "pastdata/input_serch.h"
#include "settings/setup_config.h"

#include "support/accessibilityupdates.h"
#include "support/helpopener.h"
#include "support/modalboxcloser.h"
#include "support/randreplay.h"
#include "support/settingskeys.h"
#include "support/stdoutcapture.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

namespace {

QString accessibleText(QObject *object, QAccessible::Text kind)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(object);
    return face ? face->text(kind) : QStringLiteral("(no interface)");
}

// What a screen reader is told while one of these lives: the events of one
// kind that the program hands the toolkit, optionally only those about objects
// of one role, each as the name of its object then (and, for a value change,
// the value it carries).
class Told
{
public:
    explicit Told(QAccessible::Event kind, QAccessible::Role role = QAccessible::NoRole)
        : kind(kind), role(role)
    {
        current = this;
    }
    ~Told() { current = nullptr; }

    static void record(QAccessibleEvent *event)
    {
        if (!current || event->type() != current->kind)
            return;
        QAccessibleInterface *face = event->accessibleInterface();
        if (!face || (current->role != QAccessible::NoRole && face->role() != current->role))
            return;
        QString line = face->text(QAccessible::Name);
        if (event->type() == QAccessible::ValueChanged)
            line += QStringLiteral(" = ") +
                    static_cast<QAccessibleValueChangeEvent *>(event)->value().toString();
        current->events << line;
    }

    QStringList events;

private:
    static inline Told *current = nullptr;
    const QAccessible::Event kind;
    const QAccessible::Role role;
};

} // namespace

class tst_Accessibility : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void numberWindowIsNamed();
    void numberIsSpokenAtAStop();
    void numberWindowTellsItsValue_data();
    void numberWindowTellsItsValue();
    void selfModeStopGivesTheUsersNumber();
    void digitKeysSayTheirPosition_data();
    void digitKeysSayTheirPosition();
    void modeButtonsSayWhatTheKeysDo();
    void settingsChosenByTheReaderAreApplied_data();
    void settingsChosenByTheReaderAreApplied();
    void pastDataWindowTellsWhatItDid_data();
    void pastDataWindowTellsWhatItDid();
    void helpLinkIsALink();
    void helpTextIsReadAndSelected();
    void helpTellsWhichLinkHasTheFocus_data();
    void helpTellsWhichLinkHasTheFocus();
    void helpLinksFollowThePage_data();
    void helpLinksFollowThePage();
    void helpCaretAndSubstringStayInTheText_data();
    void helpCaretAndSubstringStayInTheText();

private:
    static QTimer *roll(Random &window) { return window.findChild<QTimer *>(); }
};

void tst_Accessibility::initTestCase()
{
    installAccessibility();
    interceptAccessibilityUpdates(&Told::record);
}

void tst_Accessibility::numberWindowIsNamed()
{
    Random window;
    QCOMPARE(accessibleText(&window, QAccessible::Name), QStringLiteral("Lukimo number"));
    QCOMPARE(accessibleText(&window, QAccessible::Description),
             QStringLiteral("Three rolling digits. Space or Return stops and restarts them, "
                            "the Menu key opens the settings, F1 the help."));
    // On the desktop the number is a label: a screen reader's press leaves
    // the roll alone, as it always has.
    QAccessibleInterface *number = QAccessible::queryAccessibleInterface(&window);
    QCOMPARE(number->role(), QAccessible::StaticText);
    QVERIFY(!number->actionInterface()->actionNames().contains(
        QAccessibleActionInterface::pressAction()));
    captureStdout(
        [&] { number->actionInterface()->doAction(QAccessibleActionInterface::pressAction()); });
    QVERIFY(roll(window)->isActive());
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

    // The stop draws once more (the first number of a run).
    RandReplay draws;
    const int stopped = draws.freeNumber();
    captureStdout([&] { QTest::keyClick(&window, Qt::Key_Space); });
    const QString digits = QStringLiteral("%1").arg(stopped, 3, 10, QLatin1Char('0'));
    QCOMPARE(accessibleText(&window, QAccessible::Name), QStringLiteral("Lukimo number ") + digits);
    QCOMPARE(accessibleText(&window, QAccessible::Value), digits);
    QCOMPARE(value->currentValue(), QVariant(stopped));

    captureStdout([&] { QTest::mousePress(&window, Qt::LeftButton); });
    QVERIFY(roll(window)->isActive());
    QCOMPARE(accessibleText(&window, QAccessible::Name), QStringLiteral("Lukimo number"));
    QCOMPARE(accessibleText(&window, QAccessible::Value), QString());
    QVERIFY(qIsNaN(value->currentValue().toDouble()));
}

void tst_Accessibility::numberWindowTellsItsValue_data()
{
    QTest::addColumn<int>("presses");
    QTest::addColumn<QStringList>("told");
    QTest::newRow("rolling") << 0 << QStringList();
    // %1: the number the stop shows, all three digits; %2: its value.
    QTest::newRow("stop") << 1 << QStringList{"Lukimo number %1 = %2"};
    QTest::newRow("stop and restart")
        << 2 << QStringList{"Lukimo number %1 = %2", "Lukimo number = nan"};
}

// A screen reader reads the number window again when told that its value
// changed: once at a stop, with the number shown, and once at a restart;
// never at a tick of the roll.
void tst_Accessibility::numberWindowTellsItsValue()
{
    QFETCH(int, presses);
    QFETCH(QStringList, told);

    Random window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Told heard(QAccessible::ValueChanged);
    int ticks = 0;
    connect(roll(window), &QTimer::timeout, this, [&] { ++ticks; });
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= 3, 5000);
    RandReplay draws;
    const int stopped = draws.freeNumber();
    captureStdout([&] {
        for (int i = 0; i < presses; ++i)
            QTest::keyClick(&window, Qt::Key_Space);
    });
    if (window.isRolling())
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= 6, 5000);
    for (QString &event : told)
        event = event.arg(QStringLiteral("%1").arg(stopped, 3, 10, QLatin1Char('0'))).arg(stopped);
    QCOMPARE(heard.events, told);
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
    Told heard(QAccessible::ValueChanged);
    captureStdout([&] {
        QTest::keyClick(&window, Qt::Key_Return);
        closer.waitUntilClosed();
    });
    QCOMPARE(closer.boxes.size(), 1);
    // Read as the draw 045 is, not as forty-five.
    QCOMPARE(heard.events, QStringList{"Lukimo number 045 = 45"});
    QCOMPARE(accessibleText(&window, QAccessible::Value), QStringLiteral("045"));
    QCOMPARE(accessibleText(&window, QAccessible::Name), QStringLiteral("Lukimo number 045"));

    // The next stop's report is an alert, read out as it appears.
    captureStdout([&] { QTest::keyClick(&window, Qt::Key_Return); });
    Told alerted(QAccessible::Alert);
    captureStdout([&] {
        QTest::keyClick(&window, Qt::Key_Return);
        closer.waitUntilClosed();
    });
    QCOMPARE(closer.boxes.size(), 2);
    QCOMPARE(alerted.events, QStringList{"Box Pattern"});
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

void tst_Accessibility::settingsChosenByTheReaderAreApplied_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("code");
    // A screen reader toggles a radio button (no click), or presses it.
    const QString toggle = QAccessibleActionInterface::toggleAction();
    const QString press = QAccessibleActionInterface::pressAction();
    QTest::newRow("self mode toggled") << "mode_group"
                                       << "self mode" << toggle << 19;
    QTest::newRow("self mode pressed") << "mode_group"
                                       << "self mode" << press << 19;
    QTest::newRow("Random mode toggled back") << "mode_group"
                                              << "Random mode" << toggle << 9;
    QTest::newRow("a key toggled") << "max3_group"
                                   << "5" << toggle << 5;
    QTest::newRow("Numbers3 toggled") << "type_group"
                                      << "Numbers3" << toggle << 9;
}

// What a screen reader's action checks in the settings is what the number
// window gets: the limit code of the hundreds digit.
void tst_Accessibility::settingsChosenByTheReaderAreApplied()
{
    QFETCH(QString, group);
    QFETCH(QString, button);
    QFETCH(QString, action);
    QFETCH(int, code);

    Setup_config dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    if (button == QLatin1String("Random mode"))
        dialog.findChild<QRadioButton *>(QStringLiteral("self_radio"))->setChecked(true);
    QRadioButton *chosen = nullptr;
    for (auto *radio : dialog.findChild<QWidget *>(group)->findChildren<QRadioButton *>())
        if (radio->text() == button)
            chosen = radio;
    QVERIFY(chosen);
    captureStdout([&] {
        QAccessible::queryAccessibleInterface(chosen)->actionInterface()->doAction(action);
    });
    QTRY_VERIFY(chosen->isChecked());
    int applied = 0;
    captureStdout([&] { applied = dialog.check_ok3(); });
    QCOMPARE(applied, code);
}

void tst_Accessibility::pastDataWindowTellsWhatItDid_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QAccessible::Event>("kind");
    QTest::addColumn<QAccessible::Role>("role");
    QTest::addColumn<QStringList>("told");

    // A step clicks the button of that name, or types a number and presses
    // Return. The field is named by its prompt, which follows the mode.
    const QAccessible::Event renamed = QAccessible::NameChanged;
    const QAccessible::Role field = QAccessible::EditableText;
    QTest::newRow("entry prompt") << QStringList{"entry_radio"} << renamed << field
                                  << QStringList{"Input Bought No"};
    QTest::newRow("entry toggled by a screen reader")
        << QStringList{"toggle entry_radio"} << renamed << field << QStringList{"Input Bought No"};
    QTest::newRow("data and back") << QStringList{"data_to_times_radio", "times_to_data_radio"}
                                   << renamed << field << QStringList{"Data", "No"};
    // What an action did is a notification that appears, even when it
    // repeats the one before.
    const QAccessible::Event shown = QAccessible::ObjectShow;
    const QAccessible::Role note = QAccessible::Notification;
    QTest::newRow("stored and cleared")
        << QStringList{"entry_radio", "123", "45", "clear_button", "clear_button"} << shown << note
        << QStringList{"Stored 123. Numbers bought: 1", "Stored 45. Numbers bought: 2",
                       "List cleared", "List cleared"};
}

void tst_Accessibility::pastDataWindowTellsWhatItDid()
{
    QFETCH(QStringList, steps);
    QFETCH(QAccessible::Event, kind);
    QFETCH(QAccessible::Role, role);
    QFETCH(QStringList, told);

    boughtStore() = BoughtStore();
    Told heard(kind, role);
    Input_Serch window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *field = window.findChild<QLineEdit *>(QStringLiteral("input_edit"));
    captureStdout([&] {
        for (const QString &step : std::as_const(steps)) {
            if (step.startsWith(QLatin1String("toggle "))) {
                QAccessible::queryAccessibleInterface(
                    window.findChild<QAbstractButton *>(step.mid(7)))
                    ->actionInterface()
                    ->doAction(QAccessibleActionInterface::toggleAction());
            } else if (auto *button = window.findChild<QAbstractButton *>(step)) {
                button->click();
            } else {
                QTest::keyClicks(field, step);
                QTest::keyClick(field, Qt::Key_Return);
            }
        }
        QTest::qWait(0);
    });
    QCOMPARE(heard.events, told);
    // Shown to be heard, a note lies over nothing a click could reach.
    for (QWidget *under :
         {static_cast<QWidget *>(field), window.findChild<QWidget *>("input_label")})
        QCOMPARE(window.childAt(under->geometry().center()), under);
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
    const QAccessible::State state = face->state();
    QCOMPARE(
        QList<quint64>({state.focusable, state.readOnly, state.multiLine, state.selectableText}),
        QList<quint64>({1, 1, 1, 1}));
    QCOMPARE(face->child(face->childCount()), nullptr);
    QCOMPARE(link->text(QAccessible::Name), QStringLiteral("日本語の説明はこちら"));
    QCOMPARE(link->parent(), face);
    QCOMPARE(face->indexOfChild(link), face->childCount() - 1);
    // It spans its text on the screen, and only a press follows it.
    QVERIFY(link->rect().width() > help.fontMetrics().horizontalAdvance(QStringLiteral("日本語")));
    QVERIFY(link->rect().height() < 2 * help.fontMetrics().lineSpacing());
    link->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QCOMPARE(help.source().fragment(), QString());
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
    // Where a magnifier shows the word's first letter: as wide as the letter.
    QCOMPARE(text->characterRect(word).width(), help->fontMetrics().horizontalAdvance(u'L'));

    text->addSelection(2, 9);
    // There is one selection: another one's index changes nothing.
    text->setSelection(1, 0, 1);
    text->selection(0, &start, &end);
    QCOMPARE(QList<int>({start, end, text->cursorPosition()}), QList<int>({2, 9, 9}));
    QCOMPARE(help->textCursor().selectedText(), plain.mid(2, 7));
    text->removeSelection(1);
    QCOMPARE(text->selectionCount(), 1);
    text->removeSelection(0);
    QCOMPARE(text->selectionCount(), 0);
    text->addSelection(2, 9);
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

void tst_Accessibility::helpTellsWhichLinkHasTheFocus_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("told");
    const QString link = QStringLiteral("日本語の説明はこちら");
    const QString page = QStringLiteral("How to use");
    QTest::newRow("Tab onto the link") << QStringList{"Tab"} << QStringList{link};
    QTest::newRow("an arrow off it") << QStringList{"Tab", "Left"} << QStringList{link, page};
    QTest::newRow("caret at its start") << QStringList{"caret at link"} << QStringList();
    QTest::newRow("selected by the reader") << QStringList{"select link"} << QStringList{link};
}

// The focus a screen reader follows in the help: the link that Tab selects,
// and the text again once the selection leaves the link.
void tst_Accessibility::helpTellsWhichLinkHasTheFocus()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, told);

    const std::unique_ptr<HelpWindow> help = openHelpOnThePage();
    QVERIFY(help);
    help->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(help.get()));
    QAccessibleInterface *view = QAccessible::queryAccessibleInterface(help.get());
    const QString link = view->child(view->childCount() - 1)->text(QAccessible::Name);
    const int start = help->toPlainText().indexOf(link);
    QVERIFY(start > 0);

    Told heard(QAccessible::Focus);
    for (const QString &step : std::as_const(steps)) {
        if (step == QLatin1String("Tab"))
            QTest::keyClick(help.get(), Qt::Key_Tab);
        else if (step == QLatin1String("Left"))
            QTest::keyClick(help.get(), Qt::Key_Left);
        else if (step == QLatin1String("caret at link"))
            view->textInterface()->setCursorPosition(start);
        else
            view->textInterface()->setSelection(0, start, start + link.size());
    }
    QCOMPARE(heard.events, told);
    // Asked, the text names the same focus.
    const bool onLink = !told.isEmpty() && told.last() == link;
    QCOMPARE(view->focusChild() == view->child(view->childCount() - 1), onLink);
}

void tst_Accessibility::helpLinksFollowThePage_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("sameLink");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("target");
    const QString page = QStringLiteral("<p>Read <a href=\"#a\">one</a> two.</p>");
    QTest::newRow("unchanged") << page << page << true << "one"
                               << "#a";
    QTest::newRow("another target")
        << page << "<p>Read <a href=\"#b\">one</a> two.</p>" << false << "one"
        << "#b";
    const QString twoFormats = QStringLiteral("<p>Read <a href=\"#a\">one <b>two</b></a>.</p>");
    QTest::newRow("in two formats") << twoFormats << twoFormats << true << "one two"
                                    << "#a";
    QTest::newRow("longer") << page << "<p>Read <a href=\"#a\">one two</a>.</p>" << false
                            << "one two"
                            << "#a";
    QTest::newRow("a second link")
        << page << "<p><a href=\"#a\">one</a> <a href=\"#b\">two</a></p>" << false << "two"
        << "#b";
}

// A link a screen reader holds stays the same object while the page keeps
// it, and a changed link is a new one, named and aimed anew.
void tst_Accessibility::helpLinksFollowThePage()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(bool, sameLink);
    QFETCH(QString, name);
    QFETCH(QString, target);

    HelpWindow help;
    QAccessibleInterface *view = QAccessible::queryAccessibleInterface(&help);
    help.setHtml(before);
    const QAccessible::Id first = QAccessible::uniqueId(view->child(view->childCount() - 1));
    help.setHtml(after);
    QAccessibleInterface *link = view->child(view->childCount() - 1);
    QCOMPARE(QAccessible::uniqueId(link) == first, sameLink);
    QCOMPARE(view->indexOfChild(link), view->childCount() - 1);
    QCOMPARE(link->role(), QAccessible::Link);
    QCOMPARE(link->text(QAccessible::Name), name);
    QCOMPARE(link->text(QAccessible::Value), target);
}

void tst_Accessibility::helpCaretAndSubstringStayInTheText_data()
{
    QTest::addColumn<bool>("substring");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("selected");
    // Fifty lines "Line 00" to "Line 49": 399 characters.
    QTest::newRow("caret inside") << false << 12 << 0 << 12 << QString();
    QTest::newRow("caret before the text") << false << -4 << 0 << 0 << QString();
    QTest::newRow("caret past the end") << false << 999 << 0 << 399 << QString();
    QTest::newRow("substring") << true << 8 << 15 << 15 << "Line 01";
    QTest::newRow("substring at the end") << true << 392 << 450 << 399 << "Line 49";
}

// Where a screen reader puts the caret or shows a substring: inside the
// text, selected, and in view.
void tst_Accessibility::helpCaretAndSubstringStayInTheText()
{
    QFETCH(bool, substring);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, caret);
    QFETCH(QString, selected);

    HelpWindow help;
    QStringList lines;
    for (int i = 0; i < 50; ++i)
        lines << QStringLiteral("Line %1").arg(i, 2, 10, QLatin1Char('0'));
    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));
    help.setPlainText(lines.join(QLatin1Char('\n')));
    QAccessibleTextInterface *text = QAccessible::queryAccessibleInterface(&help)->textInterface();
    QCOMPARE(text->characterCount(), 399);

    if (substring)
        text->scrollToSubstring(from, to);
    else
        text->setCursorPosition(from);
    QCOMPARE(text->cursorPosition(), caret);
    QCOMPARE(help.textCursor().selectedText(), selected);
    QVERIFY(help.viewport()->rect().contains(help.cursorRect().center()));
}

QTEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
