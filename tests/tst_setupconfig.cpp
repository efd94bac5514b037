// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/setup_config.h"

#include "support/modalboxcloser.h"
#include "support/settingskeys.h"
#include "support/stdoutcapture.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QtTest>

class tst_SetupConfig : public QObject
{
    Q_OBJECT

private slots:
    void initialState();
    void layoutOrder();
    void limitCodes_data();
    void limitCodes();
    void digitClickRunsItsQueryOnce();
    void modeSwitchShiftsEveryCodeByTen();
    void okHidesAndKeepsChoices();
    void versionBox();

private:
    static int query(Setup_config &dialog, const QString &group);
};

namespace {

QRadioButton *radio(Setup_config &dialog, const char *name)
{
    return dialog.findChild<QRadioButton *>(QLatin1String(name));
}

QGroupBox *group(Setup_config &dialog, const char *name)
{
    return dialog.findChild<QGroupBox *>(QLatin1String(name));
}

} // namespace

// Runs the query that the named group answers to.
int tst_SetupConfig::query(Setup_config &dialog, const QString &group)
{
    if (group == QLatin1String("max1_group"))
        return dialog.check_ok();
    if (group == QLatin1String("max2_group"))
        return dialog.check_ok2();
    return dialog.check_ok3();
}

void tst_SetupConfig::initialState()
{
    Setup_config dialog;
    QVERIFY(!dialog.isVisible());
    QVERIFY(dialog.isWindow());
    QVERIFY(!dialog.parent());
    QCOMPARE(dialog.size(), QSize(540, 250));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("settei menu numbers3"));
    QCOMPARE(dialog.toolTip(), QStringLiteral("Settei menu numbers3"));

    QVERIFY(radio(dialog, "numbers3_radio")->isChecked());
    QVERIFY(!radio(dialog, "numbers4_radio")->isEnabled());
    QVERIFY(radio(dialog, "random_radio")->isChecked());
    QVERIFY(!radio(dialog, "self_radio")->isChecked());
    QCOMPARE(radio(dialog, "random_radio")->toolTip(), QStringLiteral("Rundom mode"));
    QCOMPARE(radio(dialog, "random_radio")->text(), QStringLiteral("Random mode"));
    QCOMPARE(radio(dialog, "self_radio")->text(), QStringLiteral("self mode"));
    QCOMPARE(radio(dialog, "self_radio")->toolTip(), QStringLiteral("self mode"));
    QCOMPARE(radio(dialog, "numbers3_radio")->text(), QStringLiteral("Numbers3"));
    QCOMPARE(radio(dialog, "numbers3_radio")->toolTip(), QStringLiteral("Numbers3"));
    QCOMPARE(radio(dialog, "numbers4_radio")->text(), QStringLiteral("Numbers4"));
    QCOMPARE(radio(dialog, "numbers4_radio")->toolTip(), QStringLiteral("Numbers4"));
    QCOMPARE(group(dialog, "max2_group")->toolTip(), QStringLiteral("2 digdit"));
    QCOMPARE(group(dialog, "max1_group")->toolTip(), QStringLiteral("1 digdit"));
    QCOMPARE(group(dialog, "mode_group")->title(), QStringLiteral("mode"));
    QCOMPARE(group(dialog, "type_group")->title(), QStringLiteral("type"));

    // Every group offers the same keys; "9" is chosen, "#" and "*" are grey.
    for (const char *name : {"max1_group", "max2_group", "max3_group", "max4_group"}) {
        QStringList labels, checked, disabled;
        for (QRadioButton *key : group(dialog, name)->findChildren<QRadioButton *>()) {
            labels << key->text();
            if (key->isChecked())
                checked << key->text();
            if (!key->isEnabled())
                disabled << key->text();
        }
        QCOMPARE(labels.join(QString()), QStringLiteral("9876543210#*"));
        QCOMPARE(checked, QStringList{"9"});
        QCOMPARE(disabled, (QStringList{"#", "*"}));
    }

    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QGroupBox *max1 = group(dialog, "max1_group");
    QGroupBox *max2 = group(dialog, "max2_group");
    QGroupBox *max3 = group(dialog, "max3_group");
    QVERIFY(max1->isVisible());
    QVERIFY(max2->isVisible());
    QVERIFY(max3->isVisible());
    QVERIFY(!group(dialog, "max4_group")->isVisible());
    QCOMPARE(max1->title(), QStringLiteral("Max_1"));
    QCOMPARE(max2->title(), QStringLiteral("Max_2"));
    QCOMPARE(max3->title(), QStringLiteral("Max_3"));
    QCOMPARE(max3->toolTip(), QStringLiteral("3 digdit"));
    QVERIFY(max1->x() < max2->x());
    QVERIFY(max2->x() < max3->x());

    int codes[3] = {};
    const QString output = captureStdout([&] {
        codes[0] = dialog.check_ok();
        codes[1] = dialog.check_ok2();
        codes[2] = dialog.check_ok3();
    });
    QCOMPARE(codes[0], 9);
    QCOMPARE(codes[1], 9);
    QCOMPARE(codes[2], 9);
    QCOMPARE(output, QStringLiteral("9\n9\n9\n"));
}

void tst_SetupConfig::layoutOrder()
{
    Setup_config dialog;
    auto *rows = qobject_cast<QVBoxLayout *>(dialog.findChild<QScrollArea *>()->widget()->layout());
    QVERIFY(rows);
    QCOMPARE(rows->count(), 3);

    auto namesOf = [](QLayout *row) {
        QStringList names;
        for (int i = 0; i < row->count(); ++i) {
            QWidget *widget = row->itemAt(i)->widget();
            auto *button = qobject_cast<QAbstractButton *>(widget);
            names << (button ? button->text() : widget->objectName());
        }
        return names;
    };
    QCOMPARE(namesOf(rows->itemAt(0)->layout()), (QStringList{"mode_group", "type_group"}));
    QCOMPARE(namesOf(rows->itemAt(1)->layout()),
             (QStringList{"max1_group", "max2_group", "max3_group", "max4_group"}));
    QCOMPARE(namesOf(rows->itemAt(2)->layout()), (QStringList{"ok", "Version", "serch", "help"}));
    QCOMPARE(namesOf(group(dialog, "mode_group")->layout()),
             (QStringList{"Random mode", "self mode"}));
    QCOMPARE(namesOf(group(dialog, "type_group")->layout()), (QStringList{"Numbers3", "Numbers4"}));

    // Each digit group is a keypad: 9 8 7 / 6 5 4 / 3 2 1 / # * 0.
    QStringList keypad;
    QLayout *column = group(dialog, "max2_group")->layout();
    for (int row = 0; row < column->count(); ++row)
        keypad << namesOf(column->itemAt(row)->layout()).join(QString());
    QCOMPARE(keypad, (QStringList{"987", "654", "321", "#*0"}));
}

void tst_SetupConfig::limitCodes_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<bool>("selfMode");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("trace");

    // Random mode: the digit itself, 10 for "0". Self mode: the digit plus
    // 10, 20 for "0". The hundreds group traces every self-mode code, and
    // every group its "0", as "method=".
    QTest::newRow("Max_1 random 9") << "max1_group" << false << "9" << 9 << "9\n";
    QTest::newRow("Max_1 random 1") << "max1_group" << false << "1" << 1 << "1\n";
    QTest::newRow("Max_1 random 0") << "max1_group" << false << "0" << 10 << "10\n";
    QTest::newRow("Max_1 self 9") << "max1_group" << true << "9" << 19 << "19\n";
    QTest::newRow("Max_1 self 5") << "max1_group" << true << "5" << 15 << "15\n";
    QTest::newRow("Max_1 self 1") << "max1_group" << true << "1" << 11 << "11\n";
    QTest::newRow("Max_1 self 0") << "max1_group" << true << "0" << 20 << "method=20\n";
    QTest::newRow("Max_2 random 7") << "max2_group" << false << "7" << 7 << "7\n";
    QTest::newRow("Max_2 random 1") << "max2_group" << false << "1" << 1 << "1\n";
    QTest::newRow("Max_2 random 0") << "max2_group" << false << "0" << 10 << "10\n";
    QTest::newRow("Max_2 self 8") << "max2_group" << true << "8" << 18 << "18\n";
    QTest::newRow("Max_2 self 2") << "max2_group" << true << "2" << 12 << "12\n";
    QTest::newRow("Max_2 self 0") << "max2_group" << true << "0" << 20 << "method=20\n";
    QTest::newRow("Max_3 random 6") << "max3_group" << false << "6" << 6 << "6\n";
    QTest::newRow("Max_3 random 2") << "max3_group" << false << "2" << 2 << "2\n";
    QTest::newRow("Max_3 random 0") << "max3_group" << false << "0" << 10 << "10\n";
    QTest::newRow("Max_3 self 9") << "max3_group" << true << "9" << 19 << "method=19\n";
    QTest::newRow("Max_3 self 5") << "max3_group" << true << "5" << 15 << "method=15\n";
    QTest::newRow("Max_3 self 3") << "max3_group" << true << "3" << 13 << "method=13\n";
    QTest::newRow("Max_3 self 0") << "max3_group" << true << "0" << 20 << "method=20\n";
    // "#" and "*" are grey in the dialog; chosen in code they give no choice.
    QTest::newRow("Max_1 random #") << "max1_group" << false << "#" << 0 << "";
    QTest::newRow("Max_2 random *") << "max2_group" << false << "*" << 0 << "";
    QTest::newRow("Max_3 self #") << "max3_group" << true << "#" << 0 << "";
    QTest::newRow("Max_1 self *") << "max1_group" << true << "*" << 0 << "";
}

void tst_SetupConfig::limitCodes()
{
    QFETCH(QString, group);
    QFETCH(bool, selfMode);
    QFETCH(QString, key);
    QFETCH(int, code);
    QFETCH(QString, trace);

    Setup_config dialog;
    radio(dialog, selfMode ? "self_radio" : "random_radio")->setChecked(true);
    digitKey(&dialog, qPrintable(group), key)->setChecked(true);
    // "Max_4" steers nothing.
    digitKey(&dialog, "max4_group", QStringLiteral("4"))->setChecked(true);

    int result = -1;
    const QString output = captureStdout([&] { result = query(dialog, group); });
    QCOMPARE(result, code);
    QCOMPARE(output, trace);
}

void tst_SetupConfig::digitClickRunsItsQueryOnce()
{
    Setup_config dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    const QList<QPair<QString, QString>> keys{
        {"9", "9\n"}, {"8", "8\n"}, {"7", "7\n"}, {"6", "6\n"}, {"5", "5\n"},
        {"4", "4\n"}, {"3", "3\n"}, {"2", "2\n"}, {"1", "1\n"}, {"0", "10\n"}};
    for (const char *name : {"max1_group", "max2_group", "max3_group"}) {
        for (const auto &[label, trace] : keys) {
            QRadioButton *key = digitKey(&dialog, name, label);
            const QString output = captureStdout([&] { QTest::mouseClick(key, Qt::LeftButton); });
            QVERIFY(key->isChecked());
            QCOMPARE(output, trace);
        }
    }

    // Disabled keys, the hidden group and the mode buttons run no query.
    const QString quiet = captureStdout([&] {
        QTest::mouseClick(digitKey(&dialog, "max1_group", QStringLiteral("#")), Qt::LeftButton);
        digitKey(&dialog, "max4_group", QStringLiteral("6"))->click();
        QTest::mouseClick(radio(dialog, "self_radio"), Qt::LeftButton);
    });
    QCOMPARE(quiet, QString());
    QVERIFY(digitKey(&dialog, "max1_group", QStringLiteral("0"))->isChecked());
}

void tst_SetupConfig::modeSwitchShiftsEveryCodeByTen()
{
    Setup_config dialog;
    digitKey(&dialog, "max1_group", QStringLiteral("7"))->setChecked(true);
    digitKey(&dialog, "max2_group", QStringLiteral("0"))->setChecked(true);
    QList<int> codes;
    captureStdout([&] {
        codes << dialog.check_ok() << dialog.check_ok2() << dialog.check_ok3();
        radio(dialog, "self_radio")->setChecked(true);
        codes << dialog.check_ok() << dialog.check_ok2() << dialog.check_ok3();
    });
    QCOMPARE(codes, (QList<int>{7, 10, 9, 17, 20, 19}));
    QVERIFY(digitKey(&dialog, "max1_group", QStringLiteral("7"))->isChecked());
}

void tst_SetupConfig::okHidesAndKeepsChoices()
{
    Setup_config dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    digitKey(&dialog, "max3_group", QStringLiteral("5"))->setChecked(true);
    radio(dialog, "self_radio")->setChecked(true);

    QPushButton *ok = pushButton(&dialog, QStringLiteral("ok"));
    QVERIFY(ok);
    QCOMPARE(ok->toolTip(), QStringLiteral("OK and close"));
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), 0);

    dialog.show();
    QVERIFY(digitKey(&dialog, "max3_group", QStringLiteral("5"))->isChecked());
    QVERIFY(radio(dialog, "self_radio")->isChecked());
    int code = 0;
    captureStdout([&] { code = dialog.check_ok3(); });
    QCOMPARE(code, 15);
}

void tst_SetupConfig::versionBox()
{
    Setup_config dialog;
    QPushButton *version = pushButton(&dialog, QStringLiteral("Version"));
    QVERIFY(version);
    QCOMPARE(version->toolTip(), QStringLiteral("Version"));

    ModalBoxCloser closer;
    version->click();
    QCOMPARE(closer.boxes.size(), 1);
    const ShownBox box = closer.boxes.first();
    QCOMPARE(box.title, QStringLiteral("Version"));
    QCOMPARE(box.parentClass, QStringLiteral("Setup_config"));
    const QStringList lines = box.text.split(QStringLiteral("\n\n"));
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[0], QStringLiteral("Version:Lukimo 1.1.1a"));
}

QTEST_MAIN(tst_SetupConfig)
#include "tst_setupconfig.moc"
