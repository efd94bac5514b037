// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/safefile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>

class tst_SafeFile : public QObject
{
    Q_OBJECT

private slots:
    void plausibleFilesHaveALimit();
};

// A file of exactly the limit is read; one byte more is not.
void tst_SafeFile::plausibleFilesHaveALimit()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("file"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(QByteArray(1000, 'x')), 1000);
    file.close();
    errno = EINTR; // left over from an earlier call: it means nothing now
    QCOMPARE(readPlausibleFile(path, 1000).value_or(QByteArray()).size(), 1000);
    QVERIFY(!readPlausibleFile(path, 999));
    QVERIFY(!readPlausibleFile(dir.filePath(QStringLiteral("missing")), 1000));
}

QTEST_GUILESS_MAIN(tst_SafeFile)
#include "tst_safefile.moc"
