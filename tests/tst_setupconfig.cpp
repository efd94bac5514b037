// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/setup_config.h"

#include "support/modalboxcloser.h"
#include "support/stdoutcapture.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
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
    static QRadioButton **groupButtons(Setup_config &dialog, int group);
};

QRadioButton **tst_SetupConfig::groupButtons(Setup_config &dialog, int group)
{
    switch (group) {
    case 1:
        return dialog.max1_buttons;
    case 2:
        return dialog.max2_buttons;
    case 3:
        return dialog.max3_buttons;
    default:
        return dialog.max4_buttons;
    }
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

    QVERIFY(dialog.numbers3_radio->isChecked());
    QVERIFY(!dialog.numbers4_radio->isEnabled());
    QVERIFY(dialog.random_radio->isChecked());
    QVERIFY(!dialog.self_radio->isChecked());
    QCOMPARE(dialog.random_radio->toolTip(), QStringLiteral("Rundom mode"));
    QCOMPARE(dialog.mode_group->title(), QStringLiteral("mode"));
    QCOMPARE(dialog.type_group->title(), QStringLiteral("type"));

    const QStringList labels{"9", "8", "7", "6", "5", "4", "3", "2", "1", "0", "#", "*"};
    for (int group = 1; group <= 4; ++group) {
        QRadioButton **buttons = groupButtons(dialog, group);
        for (int i = 0; i < Setup_config::DigitButtons; ++i) {
            QCOMPARE(buttons[i]->text(), labels[i]);
            QCOMPARE(buttons[i]->isChecked(), i == 0);
            QCOMPARE(buttons[i]->isEnabled(), i < 10);
        }
    }

    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.max1_group->isVisible());
    QVERIFY(dialog.max2_group->isVisible());
    QVERIFY(dialog.max3_group->isVisible());
    QVERIFY(!dialog.max4_group->isVisible());
    QCOMPARE(dialog.max3_group->toolTip(), QStringLiteral("3 digdit"));
    QVERIFY(dialog.max1_group->x() < dialog.max2_group->x());
    QVERIFY(dialog.max2_group->x() < dialog.max3_group->x());

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
    auto *rows = qobject_cast<QVBoxLayout *>(dialog.layout());
    QVERIFY(rows);
    QCOMPARE(rows->count(), 3);

    auto widgetsOf = [](QLayout *row) {
        QList<QWidget *> widgets;
        for (int i = 0; i < row->count(); ++i)
            widgets << row->itemAt(i)->widget();
        return widgets;
    };
    QCOMPARE(widgetsOf(rows->itemAt(0)->layout()),
             (QList<QWidget *>{dialog.mode_group, dialog.type_group}));
    QCOMPARE(widgetsOf(rows->itemAt(1)->layout()),
             (QList<QWidget *>{dialog.max1_group, dialog.max2_group, dialog.max3_group,
                               dialog.max4_group}));

    QStringList buttonRow;
    for (QWidget *widget : widgetsOf(rows->itemAt(2)->layout()))
        buttonRow << qobject_cast<QPushButton *>(widget)->text();
    QCOMPARE(buttonRow, (QStringList{"ok", "Version", "serch", "help"}));

    // Each digit group is a keypad: 9 8 7 / 6 5 4 / 3 2 1 / # * 0.
    QStringList keypad;
    QLayout *column = dialog.max2_group->layout();
    for (int row = 0; row < column->count(); ++row)
        for (QWidget *key : widgetsOf(column->itemAt(row)->layout()))
            keypad << qobject_cast<QRadioButton *>(key)->text();
    QCOMPARE(keypad.join(QString()), QStringLiteral("987654321#*0"));
}

void tst_SetupConfig::limitCodes_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<bool>("selfMode");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("trace");

    for (int group = 1; group <= 3; ++group) {
        for (bool self : {false, true}) {
            for (int index = 0; index < Setup_config::DigitButtons; ++index) {
                int code = 0;
                if (index == 9)
                    code = self ? 20 : 10;
                else if (index < 9)
                    code = (self ? 19 : 9) - index;
                QString trace;
                if (code != 0) {
                    const bool method = self && (code == 20 || group == 3);
                    trace =
                        (method ? QStringLiteral("method=%1\n") : QStringLiteral("%1\n")).arg(code);
                }
                QTest::addRow("Max_%d %s button %d", group, self ? "self" : "random", index)
                    << group << self << index << code << trace;
            }
        }
    }
}

void tst_SetupConfig::limitCodes()
{
    QFETCH(int, group);
    QFETCH(bool, selfMode);
    QFETCH(int, index);
    QFETCH(int, code);
    QFETCH(QString, trace);

    Setup_config dialog;
    (selfMode ? dialog.self_radio : dialog.random_radio)->setChecked(true);
    groupButtons(dialog, group)[index]->setChecked(true);
    // "Max_4" steers nothing.
    dialog.max4_buttons[5]->setChecked(true);

    int result = -1;
    const QString output = captureStdout([&] {
        result = group == 1   ? dialog.check_ok()
                 : group == 2 ? dialog.check_ok2()
                              : dialog.check_ok3();
    });
    QCOMPARE(result, code);
    QCOMPARE(output, trace);
}

void tst_SetupConfig::digitClickRunsItsQueryOnce()
{
    Setup_config dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    for (int group = 1; group <= 3; ++group) {
        QRadioButton **buttons = groupButtons(dialog, group);
        for (int index = 0; index <= 9; ++index) {
            const QString output =
                captureStdout([&] { QTest::mouseClick(buttons[index], Qt::LeftButton); });
            QVERIFY(buttons[index]->isChecked());
            const QString expected = QStringLiteral("%1\n").arg(index == 9 ? 10 : 9 - index);
            QCOMPARE(output, expected);
        }
    }

    // Disabled keys, the hidden group and the mode buttons run no query.
    const QString quiet = captureStdout([&] {
        QTest::mouseClick(dialog.max1_buttons[10], Qt::LeftButton);
        dialog.max4_buttons[3]->click();
        QTest::mouseClick(dialog.self_radio, Qt::LeftButton);
    });
    QCOMPARE(quiet, QString());
    QVERIFY(dialog.max1_buttons[9]->isChecked());
}

void tst_SetupConfig::modeSwitchShiftsEveryCodeByTen()
{
    Setup_config dialog;
    dialog.max1_buttons[2]->setChecked(true);
    dialog.max2_buttons[9]->setChecked(true);
    QList<int> codes;
    captureStdout([&] {
        codes << dialog.check_ok() << dialog.check_ok2() << dialog.check_ok3();
        dialog.self_radio->setChecked(true);
        codes << dialog.check_ok() << dialog.check_ok2() << dialog.check_ok3();
    });
    QCOMPARE(codes, (QList<int>{7, 10, 9, 17, 20, 19}));
    QVERIFY(dialog.max1_buttons[2]->isChecked());
}

void tst_SetupConfig::okHidesAndKeepsChoices()
{
    Setup_config dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.max3_buttons[4]->setChecked(true);
    dialog.self_radio->setChecked(true);

    QPushButton *ok = nullptr;
    for (QPushButton *button : dialog.findChildren<QPushButton *>())
        if (button->text() == QLatin1String("ok"))
            ok = button;
    QVERIFY(ok);
    QCOMPARE(ok->toolTip(), QStringLiteral("OK and close"));
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), 0);

    dialog.show();
    QVERIFY(dialog.max3_buttons[4]->isChecked());
    QVERIFY(dialog.self_radio->isChecked());
    int code = 0;
    captureStdout([&] { code = dialog.check_ok3(); });
    QCOMPARE(code, 15);
}

void tst_SetupConfig::versionBox()
{
    Setup_config dialog;
    QPushButton *version = nullptr;
    for (QPushButton *button : dialog.findChildren<QPushButton *>())
        if (button->text() == QLatin1String("Version"))
            version = button;
    QVERIFY(version);

    ModalBoxCloser closer;
    version->click();
    QCOMPARE(closer.boxes.size(), 1);
    const ShownBox box = closer.boxes.first();
    QCOMPARE(box.title, QStringLiteral("Version"));
    QCOMPARE(box.parentClass, QStringLiteral("Setup_config"));
    const QStringList lines = box.text.split(QStringLiteral("\n\n"));
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[0], QStringLiteral("Version:Lukimo " LUKIMO_VERSION));
    QCOMPARE(QStringLiteral(LUKIMO_VERSION), QStringLiteral("1.1.1a"));
}

QTEST_MAIN(tst_SetupConfig)
#include "tst_setupconfig.moc"
