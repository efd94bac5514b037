// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/platform.h"

#include "support/hostsystem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>

class tst_SafeFile : public QObject
{
    Q_OBJECT

private slots:
    void plausibleFilesHaveALimit();
    void aFileThatChangesWhileReadIsRefused_data();
    void aFileThatChangesWhileReadIsRefused();
    void everyReadGivesItsDescriptorBack();
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
    QCOMPARE(platform::readPlausibleFile(path, 1000).value_or(QByteArray()).size(), 1000);
    QVERIFY(!platform::readPlausibleFile(path, 999));
    QVERIFY(!platform::readPlausibleFile(dir.filePath(QStringLiteral("missing")), 1000));
}

void tst_SafeFile::aFileThatChangesWhileReadIsRefused_data()
{
    QTest::addColumn<QString>("path");
    // The kernel's own files hold, every time, more or fewer bytes than
    // their size says, as a file does that another program makes longer or
    // shorter while it is read. Under wine they are on drive Z:.
    QTest::newRow("longer than its size: a /proc file") << "/proc/version";
    QTest::newRow("shorter than its size: a /sys file") << "/sys/devices/system/cpu/online";
}

// What was read is not the file whose size was checked: nothing is taken,
// neither the bytes up to the old size nor a tail of bytes never read.
void tst_SafeFile::aFileThatChangesWhileReadIsRefused()
{
    QFETCH(QString, path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        QSKIP("no such file on this system");
    const QByteArray content = file.readAll();
    QVERIFY(!content.isEmpty());
    QVERIFY(content.size() != QFileInfo(path).size());
    QVERIFY(!platform::readPlausibleFile(path, 1 << 20));
}

// Read, refused as too large, a directory, a FIFO or missing: the file is
// never left open.
void tst_SafeFile::everyReadGivesItsDescriptorBack()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("file"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write("a few bytes"), 11);
    file.close();
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    if (fifosInFolders())
        QVERIFY(makeFifo(fifo));
    const QStringList before = openFiles();
    QVERIFY(!before.isEmpty());

    QVERIFY(platform::readPlausibleFile(path, 100));
    QVERIFY(!platform::readPlausibleFile(path, 5));
    QVERIFY(!platform::readPlausibleFile(dir.path(), 100));
    QVERIFY(!platform::readPlausibleFile(fifo, 100));
    QVERIFY(!platform::readPlausibleFile(dir.filePath(QStringLiteral("missing")), 100));
    QCOMPARE(openFiles(), before);
}

QTEST_GUILESS_MAIN(tst_SafeFile)
#include "tst_safefile.moc"
