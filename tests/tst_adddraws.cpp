// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/identity.h"
#include "pastdata/adddraws.h"
#include "pastdata/addeddraws.h"
#include "pastdata/drawstore.h"
#include "pastdata/input_serch.h"
#include "pastdata/pastsearch.h"

#include "support/stdoutcapture.h"

#include <QAccessible>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QtTest>

class tst_AddDraws : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void laterDrawsOfAFile();
    void lookupKeepsBuiltInDraws_data();
    void lookupKeepsBuiltInDraws();
    void pastedDrawsAreAddedAndAnswered();
    void aFailedSaveIsSaidAndCanBeTriedAgain();
    void everyControlIsNamedAndReachedByTab();

private:
    template <typename T> T *child(QWidget *in, const char *name)
    {
        auto *found = in->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no %s", name);
        return found;
    }
    // Opens the dialog from the past-data window's button.
    AddDraws *openDialog(Input_Serch &window)
    {
        QTest::mouseClick(child<QPushButton>(&window, "add_draws_button"), Qt::LeftButton);
        auto *dialog = window.findChild<AddDraws *>();
        return dialog && dialog->isVisible() ? dialog : nullptr;
    }

    QTemporaryDir data;
    QString file;
};

void tst_AddDraws::initTestCase()
{
    QVERIFY(data.isValid());
    setApplicationIdentity();
#ifdef Q_OS_WIN
    // Windows keeps the file under %APPDATA%, which the tests under wine
    // share: test mode gives this one a folder there of its own, which no
    // other test reads.
    QStandardPaths::setTestModeEnabled(true);
    const QString appData = QDir::fromNativeSeparators(qEnvironmentVariable("APPDATA"));
    file = DrawStore::defaultPath();
    QVERIFY2(!appData.isEmpty() && file.startsWith(appData + QLatin1Char('/')) &&
                 file.endsWith(QStringLiteral("/lukimo/draws.csv")),
             qPrintable(file));
    QDir(QFileInfo(file).path()).removeRecursively();
#else
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    file = data.path() + QStringLiteral("/lukimo/draws.csv");
    QCOMPARE(DrawStore::defaultPath(), file);
#endif
}

// A file's rows for built-in draws add nothing: those that agree are passed
// over, those that disagree are named with their lines. Later rows are kept
// with their prizes.
void tst_AddDraws::laterDrawsOfAFile()
{
    QMap<int, DrawRow> rows;
    rows.insert(24, {3, 24, QDate(), QStringLiteral("039"), {}});
    rows.insert(25, {4, 25, QDate(), QStringLiteral("040"), {}});
    rows.insert(6873, {5, 6873, QDate(2025, 12, 7), QString(), {}});
    Prizes prizes{};
    prizes[Straight] = {10, 90000};
    prizes[Mini] = {400, 9000};
    rows.insert(6880, {7, 6880, QDate(2025, 12, 17), QStringLiteral("017"), prizes});
    rows.insert(6874, {6, 6874, QDate(), QStringLiteral("735"), {}});
    rows[6873].digits =
        knownDraws().draw(6873)->digits == 1 ? QStringLiteral("002") : QStringLiteral("001");

    QList<LineProblem> conflicts;
    const QList<PastDraw> later = laterDraws(rows, conflicts);
    QCOMPARE(conflicts.size(), 2);
    QCOMPARE(conflicts[0].line, 4);
    QVERIFY(conflicts[0].reason.contains(QLatin1String("draw 25")));
    QCOMPARE(conflicts[1].line, 5);
    QCOMPARE(later.size(), 2);
    QCOMPARE(later[0].draw, 6874);
    QCOMPARE(later[0].digits, 735);
    QCOMPARE(later[1].digits, 17);
    QVERIFY(later[1].prizes);
    QCOMPARE(later[1].prizes->straight, 90000);
    QCOMPARE(later[1].prizes->mini, 9000);

    // The last date known is the last one given, not a missing one.
    const KnownDraws known({later[1], {6881, QDate(), 5, {}}});
    QCOMPARE(known.last(), 6881);
    QCOMPARE(known.lastDate(), QDate(2025, 12, 17));
    QCOMPARE(knownDrawsLine(known), QStringLiteral("Draws 1–6881, to 2025-12-17"));
}

void tst_AddDraws::lookupKeepsBuiltInDraws_data()
{
    QTest::addColumn<int>("draw");
    QTest::addColumn<bool>("dated");
    QTest::addColumn<int>("below"); // 0: none
    QTest::addColumn<int>("above");

    const int last = KnownDraws::builtInLast();
    QTest::newRow("first") << 1 << true << 0 << 2;
    QTest::newRow("before the first") << 0 << false << 0 << 1;
    QTest::newRow("among built-in") << 100 << true << 99 << 101;
    QTest::newRow("last built-in") << last << true << last - 1 << last + 3;
    QTest::newRow("in a gap") << last + 2 << false << last << last + 3;
    QTest::newRow("undated passed over") << last + 4 << true << last + 3 << 0;
    QTest::newRow("undated taken") << last + 4 << false << last + 3 << last + 5;
    QTest::newRow("after the last") << last + 9 << true << last + 3 << 0;
}

void tst_AddDraws::lookupKeepsBuiltInDraws()
{
    QFETCH(int, draw);
    QFETCH(bool, dated);
    QFETCH(int, below);
    QFETCH(int, above);
    const int last = KnownDraws::builtInLast();
    const KnownDraws known({{last + 3, QDate(2025, 12, 11), 7, {}}, {last + 5, QDate(), 8, {}}});
    const KnownDrawsLookup lookup(known);
    QCOMPARE(lookup.below(draw, dated).value_or(0), below);
    QCOMPARE(lookup.above(draw, dated).value_or(0), above);

    QVERIFY(lookup.find(last)->builtIn);
    QCOMPARE(lookup.find(24)->digits, QStringLiteral("039"));
    QCOMPARE(lookup.find(24)->date, knownDraws().draw(24)->date);
    QVERIFY(!lookup.find(last + 3)->builtIn);
    QCOMPARE(lookup.find(last + 5)->digits, QStringLiteral("008"));
    QVERIFY(!lookup.find(last + 4));
}

// Paste, preview, confirm the short number, add: the window and the answers
// know the new draws, and the file holds them.
void tst_AddDraws::pastedDrawsAreAddedAndAnswered()
{
    Input_Serch window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *known = child<QLabel>(&window, "known_label");
    QCOMPARE(known->text(), QStringLiteral("Draws 1–6873, to 2025-12-08"));
    QVERIFY(child<QLabel>(&window, "draws_problem_label")->isHidden());

    AddDraws *dialog = openDialog(window);
    QVERIFY(dialog);
    auto *add = child<QPushButton>(dialog, "add_button");
    auto *shortNumbers = child<QCheckBox>(dialog, "short_check");
    auto *preview = child<QPlainTextEdit>(dialog, "preview_view");
    child<QPlainTextEdit>(dialog, "paste_edit")
        ->setPlainText(QStringLiteral("第6874回\t2025年12月9日(火)\t７３５\n"
                                      "6875, 2025/12/10, 17\n"
                                      "6876 2025-12-11 12\n"));
    QVERIFY(!add->isEnabled());
    QTest::mouseClick(child<QPushButton>(dialog, "preview_button"), Qt::LeftButton);
    QVERIFY(add->isEnabled());
    QVERIFY(shortNumbers->isVisible());
    QVERIFY2(preview->toPlainText().contains(QStringLiteral("17 → 017")),
             qPrintable(preview->toPlainText()));
    // The typed draw comes after the pasted ones.
    QTest::keyClicks(child<QLineEdit>(dialog, "draw_edit"), QStringLiteral("6877"));
    QTest::keyClicks(child<QLineEdit>(dialog, "date_edit"), QStringLiteral("2025-12-12"));
    QTest::keyClicks(child<QLineEdit>(dialog, "number_edit"), QStringLiteral("901"));
    QVERIFY(!add->isEnabled()); // what was previewed is no longer what would be added
    shortNumbers->setChecked(true);
    QVERIFY(preview->toPlainText().startsWith(
        QStringLiteral("4 new draws: 6874 (2025-12-09) to 6877 (2025-12-12)")));
    QVERIFY(!QFile::exists(file)); // nothing is written before "Add"

    captureStdout([&] { QTest::mouseClick(add, Qt::LeftButton); });
    QCOMPARE(known->text(), QStringLiteral("Draws 1–6877, to 2025-12-12"));
    QCOMPARE(timesToDataAnswer(6875).text, QStringLiteral("6875 times data is 17"));
    QCOMPARE(timesToDataAnswer(6877).text, QStringLiteral("6877 times data is 901"));
    QCOMPARE(dataToTimesAnswer(901).text,
             QStringLiteral("There  are %1 times").arg(KnownDraws().timesDrawn(901) + 1));
    QVERIFY(child<QPushButton>(dialog, "retry_button")->isHidden());
    QVERIFY(!add->isEnabled());

    DrawStore reread(file);
    reread.load();
    QCOMPARE(reread.draws().keys(), (QList<int>{6874, 6875, 6876, 6877}));
    QCOMPARE(reread.draws()[6875].digits, QStringLiteral("017"));
    QCOMPARE(reread.draws()[6876].digits, QStringLiteral("012"));

    // Pasted again, they are known and agree; nothing is left to add.
    child<QPlainTextEdit>(dialog, "paste_edit")->setPlainText(QStringLiteral("6874,735\n"));
    dialog->showPreview();
    QVERIFY(!add->isEnabled());
    QVERIFY(preview->toPlainText().contains(QStringLiteral("Rows already known and agreeing: 1")));

    // A draw added before is replaced only when the user chooses to, and a
    // preview no longer shown adds nothing.
    auto *replace = child<QCheckBox>(dialog, "replace_check");
    child<QPlainTextEdit>(dialog, "paste_edit")->setPlainText(QStringLiteral("6876,013"));
    dialog->showPreview();
    QVERIFY(replace->isVisible());
    QVERIFY(!add->isEnabled());
    replace->setChecked(true);
    QVERIFY(add->isEnabled());
    child<QPlainTextEdit>(dialog, "paste_edit")->appendPlainText(QStringLiteral("6878,999"));
    QVERIFY(!add->isEnabled());
    dialog->showPreview();
    captureStdout([&] { QTest::mouseClick(add, Qt::LeftButton); });
    QCOMPARE(timesToDataAnswer(6876).text, QStringLiteral("6876 times data is 13"));
    QCOMPARE(knownDraws().last(), 6878);
}

// A file that cannot be written: the user is told, nothing is said saved,
// the draw is used all the same, and "Try again" saves it once it can.
void tst_AddDraws::aFailedSaveIsSaidAndCanBeTriedAgain()
{
    QVERIFY(QFile::remove(file));
    QVERIFY(QDir().mkpath(file)); // a folder where the file should be
    Input_Serch window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    AddDraws *dialog = openDialog(window);
    QVERIFY(dialog);
    child<QPlainTextEdit>(dialog, "paste_edit")
        ->setPlainText(QStringLiteral("6879,2025-12-16,444"));
    dialog->showPreview();
    captureStdout(
        [&] { QTest::mouseClick(child<QPushButton>(dialog, "add_button"), Qt::LeftButton); });
    auto *status = child<QLabel>(dialog, "status_label");
    auto *retry = child<QPushButton>(dialog, "retry_button");
    QVERIFY2(status->text().contains(QLatin1String("not saved")), qPrintable(status->text()));
    QVERIFY(!status->text().contains(QLatin1String("Saved in")));
    QVERIFY(retry->isVisible());
    QCOMPARE(timesToDataAnswer(6879).text, QStringLiteral("6879 times data is 444"));

    QVERIFY(QDir(file).removeRecursively());
    captureStdout([&] { QTest::mouseClick(retry, Qt::LeftButton); });
    QVERIFY(retry->isHidden());
    QVERIFY2(status->text().contains(QLatin1String("Saved in")), qPrintable(status->text()));
    DrawStore reread(file);
    reread.load();
    QCOMPARE(reread.draws().keys(), (QList<int>{6879}));
    QCOMPARE(knownDraws().last(), 6879);
}

// Tab visits the controls as they stand, top to bottom, and a screen reader
// hears a name for each.
void tst_AddDraws::everyControlIsNamedAndReachedByTab()
{
    AddDraws dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    child<QPlainTextEdit>(&dialog, "paste_edit")
        ->setPlainText(QStringLiteral("6890,5\n6891,123\n"));
    dialog.showPreview(); // shows the check box for the short number, and enables "Add"
    QStringList order;
    QWidget *first = QApplication::focusWidget();
    QVERIFY(first);
    QWidget *at = first;
    do {
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(at);
        QVERIFY2(accessible && !accessible->text(QAccessible::Name).isEmpty(),
                 qPrintable(at->objectName()));
        order << at->objectName();
        QTest::keyClick(at, Qt::Key_Tab);
        at = QApplication::focusWidget();
    } while (at != first && order.size() < 20);
    QCOMPARE(order, (QStringList{"paste_edit", "open_button", "draw_edit", "date_edit",
                                 "number_edit", "preview_button", "preview_view", "short_check",
                                 "add_button", "close_button"}));
    QTest::keyClick(at, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(tst_AddDraws)
#include "tst_adddraws.moc"
