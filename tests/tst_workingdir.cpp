// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/workingdir.h"
#include "help/helpwindow.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

// The help page, the click sound and the catalogue are read relative to the
// working directory; once that directory is gone they count as missing, and
// nothing is read from the root of the file system in their place.
class tst_WorkingDir : public QObject
{
    Q_OBJECT

private slots:
    void dataFilesOfAVanishedDirectoryAreMissing()
    {
        const QString start = QDir::currentPath();
        {
            QTemporaryDir gone;
            QVERIFY(QDir::setCurrent(gone.path()));
            QCOMPARE(workingDirectoryFile(QStringLiteral("html/index.html")),
                     gone.path() + QStringLiteral("/html/index.html"));
        }
        HelpWindow help;
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        const QString found = workingDirectoryFile(QStringLiteral("wav/check.wav"));
        const QUrl shown = help.source();
        QVERIFY(QDir::setCurrent(start));
        QCOMPARE(found, QString());
        QVERIFY2(shown.isEmpty(), qPrintable(shown.toString()));
    }
};

QTEST_MAIN(tst_WorkingDir)
#include "tst_workingdir.moc"
