// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/displaycheck.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList passedOn;

void capture(QtMsgType, const QMessageLogContext &, const QString &text)
{
    passedOn << text;
}

} // namespace

// A display that cannot be opened is named in the one line the program
// writes; while the display opens, the toolkit's messages wait, and they are
// passed on once it is open.
class tst_DisplayCheck : public QObject
{
    Q_OBJECT

private slots:
    void namesTheDisplayAsked_data();
    void namesTheDisplayAsked();
    void passesOnWhatWasHeldOnceTheDisplayIsOpen();
    void aDisplayThatDoesNotOpenEndsInOneLine();
};

void tst_DisplayCheck::namesTheDisplayAsked_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("platform");
    QTest::addColumn<QString>("named");
    const QStringList none;
    QTest::newRow("X by default") << none << QByteArray() << "X display \":7\"";
    QTest::newRow("X with options") << none << QByteArray("xcb:x=1") << "X display \":7\"";
    QTest::newRow("Wayland first of two")
        << none << QByteArray("wayland;xcb") << "Wayland display \"wayland-3\"";
    QTest::newRow("X first of two") << none << QByteArray("xcb;wayland") << "X display \":7\"";
    QTest::newRow("unknown platform") << none << QByteArray("nosuch") << "platform \"nosuch\"";
    QTest::newRow("-platform wins")
        << QStringList{"-platform", "nosuch"} << QByteArray("xcb") << "platform \"nosuch\"";
    QTest::newRow("--platform too")
        << QStringList{"--platform", "wayland"} << QByteArray() << "Wayland display \"wayland-3\"";
    QTest::newRow("a last -platform names nothing")
        << QStringList{"-platform"} << QByteArray() << "X display \":7\"";
}

void tst_DisplayCheck::namesTheDisplayAsked()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, platform);
    QFETCH(QString, named);
    qputenv("DISPLAY", ":7");
    qputenv("WAYLAND_DISPLAY", "wayland-3");
    qputenv("QT_QPA_PLATFORM", platform);
    QList<QByteArray> bytes{"lukimo"};
    for (const QString &argument : arguments)
        bytes << argument.toLocal8Bit();
    QList<char *> argv;
    for (QByteArray &argument : bytes)
        argv << argument.data();
    QCOMPARE(DisplayCheck::describe(int(argv.size()), argv.data()), named);
    qputenv("QT_QPA_PLATFORM", "offscreen");
}

void tst_DisplayCheck::passesOnWhatWasHeldOnceTheDisplayIsOpen()
{
    char name[] = "lukimo";
    char *argv[] = {name, nullptr};
    const QtMessageHandler previous = qInstallMessageHandler(capture);
    {
        DisplayCheck check(1, argv);
        qWarning("said while opening");
        QVERIFY(passedOn.isEmpty());
        QVERIFY(check.usable());
        QCOMPARE(passedOn, QStringList{"said while opening"});
    }
    {
        // Put away without asking: the watch ends all the same.
        DisplayCheck check(1, argv);
        qWarning("held");
    }
    qWarning("said afterwards");
    qInstallMessageHandler(previous);
    QCOMPARE(passedOn, (QStringList{"said while opening", "held", "said afterwards"}));
}

// The toolkit's fatal message when the display does not open ends the program
// with status 1 and the one line, not an abort. A second copy of this test
// program plays the program.
void tst_DisplayCheck::aDisplayThatDoesNotOpenEndsInOneLine()
{
    if (qEnvironmentVariableIsSet("LUKIMO_DISPLAY_FAILS")) {
        char name[] = "lukimo";
        char *argv[] = {name, nullptr};
        qputenv("QT_QPA_PLATFORM", "xcb");
        qputenv("DISPLAY", ":7");
        DisplayCheck check(1, argv);
        qFatal("could not connect to display :7");
    }
    QProcess copy;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LUKIMO_DISPLAY_FAILS"), QStringLiteral("1"));
    // The toolkit's own start-up of the copy has nothing to say either.
    const QTemporaryDir runtime;
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    copy.setProcessEnvironment(environment);
    copy.start(QCoreApplication::applicationFilePath(),
               {QString::fromLatin1(QTest::currentTestFunction())});
    QVERIFY(copy.waitForFinished(60000));
    QCOMPARE(copy.exitStatus(), QProcess::NormalExit);
    QCOMPARE(copy.exitCode(), 1);
    const QString said = QString::fromLocal8Bit(copy.readAllStandardError());
    QCOMPARE(said.count(QLatin1Char('\n')), 1);
    QCOMPARE(said.trimmed(),
             QStringLiteral("Lukimo: no display could be opened (X display \":7\")."));
}

QTEST_MAIN(tst_DisplayCheck)
#include "tst_displaycheck.moc"
