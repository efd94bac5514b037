// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/trace.h"
#include "platform/platform.h"

#include <QFile>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

// Puts a pipe in the place of standard output while it lives.
class PipedStdout
{
public:
    PipedStdout()
    {
        if (::pipe(ends) != 0)
            qFatal("no pipe");
        saved = ::dup(STDOUT_FILENO);
        ::dup2(ends[1], STDOUT_FILENO);
    }
    ~PipedStdout()
    {
        ::dup2(saved, STDOUT_FILENO);
        ::close(saved);
        ::close(ends[1]);
        closeReader();
    }
    // Fills the pipe until it takes no more, as a reader that stopped reading
    // leaves it.
    void fill()
    {
        const int flags = ::fcntl(ends[1], F_GETFL);
        ::fcntl(ends[1], F_SETFL, flags | O_NONBLOCK);
        const QByteArray block(4096, 'x');
        while (::write(ends[1], block.constData(), size_t(block.size())) > 0) {
        }
        ::fcntl(ends[1], F_SETFL, flags);
    }
    // Reads everything the pipe holds now.
    QByteArray drain()
    {
        const int flags = ::fcntl(ends[0], F_GETFL);
        ::fcntl(ends[0], F_SETFL, flags | O_NONBLOCK);
        QByteArray all;
        char buffer[4096];
        ssize_t got;
        while ((got = ::read(ends[0], buffer, sizeof buffer)) > 0)
            all.append(buffer, got);
        ::fcntl(ends[0], F_SETFL, flags);
        return all;
    }
    void closeReader()
    {
        if (ends[0] >= 0)
            ::close(ends[0]);
        ends[0] = -1;
    }

private:
    int ends[2] = {-1, -1};
    int saved = -1;
};

class tst_Streams : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void linesGoOutWholeAndInOrder();
    void aLongLineIsCutNotSplit();
    void anOutputThatFailsQuietensTheTrace_data();
    void anOutputThatFailsQuietensTheTrace();
    void aFullOutputDropsLinesWithoutWaiting();
    void aWriteTakenInPartIsNoLongerRetried();
    void aReaderThatWentAwayQuietensTheTrace_data();
    void aReaderThatWentAwayQuietensTheTrace();
    void closedDescriptorsAreOpenedOnDevNull();
};

void tst_Streams::initTestCase()
{
    platform::prepareStandardStreams();
}

void tst_Streams::linesGoOutWholeAndInOrder()
{
    PipedStdout out;
    errno = EINTR; // left over from an earlier call: it means nothing now
    trace("method=%d\n", 20);
    trace("%d\n", 7);
    trace("pattern %s\nr3=%d\nr2=%d\nr=%d\n", "7-1", 1, 2, 3);
    QCOMPARE(out.drain(), QByteArray("method=20\n7\npattern 7-1\nr3=1\nr2=2\nr=3\n"));
}

void tst_Streams::aLongLineIsCutNotSplit()
{
    PipedStdout out;
    const QByteArray text(300, 'n');
    trace("%s\n", text.constData());
    trace("%d\n", 5);
    QCOMPARE(out.drain(), QByteArray(255, 'n') + "5\n");
}

void tst_Streams::anOutputThatFailsQuietensTheTrace_data()
{
    QTest::addColumn<QString>("output");
    QTest::newRow("a full disk (/dev/full)") << "full";
    QTest::newRow("a closed descriptor") << "closed";
}

namespace {

// Runs body in a child process and returns how the child ended, as waitpid()
// tells it: a quiet trace stays quiet for the rest of its process, and a
// fault may end the process. A child that never ends is killed after a
// generous wait, a guard and not a time limit.
int runInChild(const std::function<int()> &body)
{
    std::fflush(stdout);
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(body());
    int status = -1;
    if (child < 0)
        return status;
    if (!QTest::qWaitFor([&] { return ::waitpid(child, &status, WNOHANG) == child; }, 60000)) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
    }
    return status;
}

} // namespace

// The first line fails, nothing is counted as dropped, and later lines go
// nowhere even when the output is fine again. A trace that kept retrying
// would hang the child.
void tst_Streams::anOutputThatFailsQuietensTheTrace()
{
    QFETCH(QString, output);
    const int status = runInChild([&] {
        int ends[2];
        if (::pipe(ends) != 0)
            return 3;
        if (output == QLatin1String("full"))
            ::dup2(::open("/dev/full", O_WRONLY), STDOUT_FILENO);
        else
            ::close(STDOUT_FILENO);
        const qint64 dropped = droppedTraceLines();
        trace("%d\n", 1);
        trace("%d\n", 2);
        if (::dup2(ends[1], STDOUT_FILENO) < 0)
            return 3;
        trace("%d\n", 3);
        char buffer[8];
        ::fcntl(ends[0], F_SETFL, O_NONBLOCK);
        const bool silent = ::read(ends[0], buffer, sizeof buffer) < 0;
        return silent && droppedTraceLines() == dropped ? 0 : 1;
    });
    QVERIFY2(WIFEXITED(status), "the child hung or was killed");
    QCOMPARE(WEXITSTATUS(status), 0);
}

// A reader that stopped reading, or a terminal paused with Ctrl-S, must
// never hold the window up: the line is dropped and counted. Once there is
// room again, lines go out whole and in order.
void tst_Streams::aFullOutputDropsLinesWithoutWaiting()
{
    PipedStdout out;
    out.fill();
    const qint64 droppedBefore = droppedTraceLines();
    // A trace that waited for room would hang here.
    for (int i = 0; i < 100; ++i)
        trace("bought_no[%d]=%d,d=%d,o=%d\n", i, 5, 0, 5);
    QCOMPARE(droppedTraceLines() - droppedBefore, 100);

    QVERIFY(out.drain().count('x') > 0);
    trace("data to times=1\n");
    trace("times to data=2\n");
    QCOMPARE(out.drain(), QByteArray("data to times=1\ntimes to data=2\n"));
    QCOMPARE(droppedTraceLines() - droppedBefore, 100);
}

// An output that another program made non-blocking can take part of a write
// and then no more; the rest must not follow later, glued to other lines.
void tst_Streams::aWriteTakenInPartIsNoLongerRetried()
{
    int ends[2];
    QCOMPARE(::socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
    ::fcntl(ends[0], F_SETFL, ::fcntl(ends[0], F_GETFL) | O_NONBLOCK);
    const int saved = ::dup(STDOUT_FILENO);
    ::dup2(ends[0], STDOUT_FILENO);
    const QByteArray line(4 << 20, 'n');
    const platform::OutputWrite result = platform::writeToOutputNow(line.constData(), line.size());
    ::dup2(saved, STDOUT_FILENO);
    for (int fd : {saved, ends[0], ends[1]})
        ::close(fd);
    QCOMPARE(result, platform::OutputWrite::Broken);
}

void tst_Streams::aReaderThatWentAwayQuietensTheTrace_data()
{
    QTest::addColumn<bool>("socket");
    QTest::newRow("a pipe") << false;
    // A socket whose peer has gone still reports room, so the line is
    // written, and the write raises SIGPIPE.
    QTest::newRow("a socket") << true;
}

// The program goes on; the trace goes quiet without counting the lines as
// dropped.
void tst_Streams::aReaderThatWentAwayQuietensTheTrace()
{
    QFETCH(bool, socket);
    const int status = runInChild([&] {
        std::signal(SIGPIPE, SIG_DFL);
        platform::prepareStandardStreams();
        int ends[2];
        if ((socket ? ::socketpair(AF_UNIX, SOCK_STREAM, 0, ends) : ::pipe(ends)) != 0)
            return 3;
        const int writer = socket ? ends[0] : ends[1];
        ::dup2(writer, STDOUT_FILENO);
        ::close(ends[0]);
        ::close(ends[1]);
        const qint64 dropped = droppedTraceLines();
        trace("%d\n", 1);
        trace("%d\n", 2);
        if (droppedTraceLines() != dropped)
            return 1;
        PipedStdout again;
        trace("%d\n", 3);
        return again.drain().isEmpty() ? 0 : 2;
    });
    QVERIFY2(!WIFSIGNALED(status) || WTERMSIG(status) != SIGPIPE, "SIGPIPE ended the program");
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
}

void tst_Streams::closedDescriptorsAreOpenedOnDevNull()
{
    const int savedOut = ::dup(STDOUT_FILENO);
    const int savedErr = ::dup(STDERR_FILENO);
    ::close(STDOUT_FILENO);
    ::close(STDERR_FILENO);
    platform::prepareStandardStreams();
    // A file opened now must not take number 1 or 2.
    QFile file(QStringLiteral("probe"));
    const bool opened = file.open(QIODevice::WriteOnly);
    const int number = file.handle();
    const QString out = QFile::symLinkTarget(QStringLiteral("/proc/self/fd/1"));
    const QString err = QFile::symLinkTarget(QStringLiteral("/proc/self/fd/2"));
    // Opened for writing, as a trace line or a warning needs them.
    const bool writable =
        ::write(STDOUT_FILENO, "x", 1) == 1 && ::write(STDERR_FILENO, "x", 1) == 1;
    file.close();
    ::dup2(savedOut, STDOUT_FILENO);
    ::dup2(savedErr, STDERR_FILENO);
    ::close(savedOut);
    ::close(savedErr);

    QVERIFY(opened);
    QVERIFY(number > STDERR_FILENO);
    QVERIFY(writable);
    QCOMPARE(out, QStringLiteral("/dev/null"));
    QCOMPARE(err, QStringLiteral("/dev/null"));
}

QTEST_GUILESS_MAIN(tst_Streams)
#include "tst_streams.moc"
