// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/translation.h"
#include "numberwindow/random.h"

#include <QDir>
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

    QTranslator translator;
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
    QTranslator fromRunDir;
    installTranslation(fromRunDir, QLocale::Japanese);
    QVERIFY(!fromRunDir.isEmpty());
    QCoreApplication::removeTranslator(&fromRunDir);

    QTemporaryDir elsewhere;
    QVERIFY(QDir::setCurrent(elsewhere.path()));
    QTranslator fromElsewhere;
    installTranslation(fromElsewhere, QLocale::Japanese);
    QVERIFY(fromElsewhere.isEmpty());
    QCoreApplication::removeTranslator(&fromElsewhere);

    QDir::setCurrent(previous);
}

QTEST_MAIN(tst_Translation)
#include "tst_translation.moc"
