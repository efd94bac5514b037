// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/translation.h"
#include "numberwindow/random.h"
#include "pastdata/pastsearch.h"
#include "settings/setup_config.h"

#include "support/modalboxcloser.h"

#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

class tst_Translation : public QObject
{
    Q_OBJECT

private slots:
    void decision_data();
    void decision();
    void lookupIsRelativeToWorkingDirectory();
    void literalsBypassTheCatalogue();
};

void tst_Translation::decision_data()
{
    QTest::addColumn<QLocale::Language>("language");
    QTest::addColumn<bool>("catalogueThere");
    QTest::addColumn<bool>("translated");

    QTest::newRow("japanese, catalogue there") << QLocale::Japanese << true << true;
    QTest::newRow("japanese, no catalogue") << QLocale::Japanese << false << false;
    QTest::newRow("english, catalogue there") << QLocale::English << true << false;
    QTest::newRow("german, catalogue there") << QLocale::German << true << false;
}

void tst_Translation::decision()
{
    QFETCH(QLocale::Language, language);
    QFETCH(bool, catalogueThere);
    QFETCH(bool, translated);

    QTemporaryDir empty;
    const QString directory = catalogueThere ? QStringLiteral(LUKIMO_RUN_DIR) : empty.path();

    Translator translator;
    const bool installed = installTranslation(translator, language, directory);
    QCOMPARE(installed, translated);

    {
        Random window;
        QCOMPARE(window.windowTitle() != QStringLiteral("Lukimo"), translated);
        QCOMPARE(window.toolTip().startsWith(QStringLiteral("Left Button")), !translated);
    }
    QCoreApplication::removeTranslator(&translator);
}

void tst_Translation::lookupIsRelativeToWorkingDirectory()
{
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QStringLiteral(LUKIMO_RUN_DIR)));
    Translator fromRunDir;
    installTranslation(fromRunDir, QLocale::Japanese);
    QVERIFY(!fromRunDir.isEmpty());
    QCoreApplication::removeTranslator(&fromRunDir);

    QTemporaryDir elsewhere;
    QVERIFY(QDir::setCurrent(elsewhere.path()));
    Translator fromElsewhere;
    installTranslation(fromElsewhere, QLocale::Japanese);
    QVERIFY(fromElsewhere.isEmpty());
    QCoreApplication::removeTranslator(&fromElsewhere);

    QDir::setCurrent(previous);
}

// Under Japanese, the texts the program shows as written stay as written,
// and the ones next to them are translated.
void tst_Translation::literalsBypassTheCatalogue()
{
    Translator translator;
    QVERIFY(installTranslation(translator, QLocale::Japanese, QStringLiteral(LUKIMO_RUN_DIR)));

    {
        Setup_config dialog;
        QVERIFY(dialog.windowTitle() != QStringLiteral("settei menu numbers3"));
        QStringList buttons;
        for (QPushButton *button : dialog.findChildren<QPushButton *>()) {
            buttons << button->text();
            if (button->text() == QLatin1String("ok"))
                QVERIFY(button->toolTip() != QStringLiteral("OK and close"));
        }
        QVERIFY(buttons.contains(QStringLiteral("ok")));
        QVERIFY(!buttons.contains(QStringLiteral("Version")));
        QStringList digits;
        for (QRadioButton *radio : dialog.findChildren<QRadioButton *>())
            digits << radio->text();
        QCOMPARE(digits.count(QStringLiteral("9")), 4);
        QCOMPARE(digits.count(QStringLiteral("#")), 4);
    }

    QWidget parent;
    ModalBoxCloser closer;
    Data_to_times(&parent, 512);
    Times_to_data(&parent, 0);
    QCOMPARE(closer.boxes.size(), 2);
    QCOMPARE(closer.boxes[0].title, QStringLiteral("information"));
    QVERIFY(!closer.boxes[0].text.startsWith(QStringLiteral("There")));
    QVERIFY(closer.boxes[0].text.contains(QStringLiteral("4")));
    QVERIFY(closer.boxes[1].title != QStringLiteral("Error"));

    QCoreApplication::removeTranslator(&translator);
}

QTEST_MAIN(tst_Translation)
#include "tst_translation.moc"
