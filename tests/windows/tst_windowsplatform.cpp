// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The Windows side of the platform layer: the trace through a pipe that
// nobody reads or that is read while the program ends, standard streams that
// were never opened, and files that are not plausible. Its counterpart on
// Linux drives POSIX pipes and FIFOs.

#include "app/startup.h"
#include "common/trace.h"
#include "numberwindow/random.h"
#include "platform/platform.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <fcntl.h>
#include <io.h>
#include <thread>
#include <windows.h>

namespace {

// The program run as a child, which traces lines enough to fill a pipe
// several times over as its last act, once its window has closed. It ends
// with the number of lines it counted as dropped.
constexpr char traceChildSwitch[] = "--trace-then-end";
constexpr int tracedLines = 60;

QByteArray tracedLine(int number)
{
    return QByteArray::number(number) + ' ' + QByteArray(240, 'x');
}

int traceThenEnd()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    char name[] = "lukimo";
    char *argv[] = {name, nullptr};
    const int status = runLukimo(1, argv, [](Random &window) {
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] {
            for (int i = 0; i < tracedLines; ++i)
                trace("%s\n", tracedLine(i).constData());
        });
        QTimer::singleShot(0, &window, &QWidget::close);
    });
    return status == 0 ? int(droppedTraceLines()) : 255;
}

} // namespace

class tst_WindowsPlatform : public QObject
{
    Q_OBJECT

private slots:
    void implausibleFilesCountAsMissing_data();
    void implausibleFilesCountAsMissing();
    void aClosedStreamBecomesNul();
    void linesOnTheirWayWhenTheProgramEnds_data();
    void linesOnTheirWayWhenTheProgramEnds();
    // Last: the pipe it leaves behind may quieten the trace for good.
    void aPipeNobodyReadsNeverHoldsTheTraceUp();
};

void tst_WindowsPlatform::implausibleFilesCountAsMissing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<bool>("read");
    QTest::newRow("a file at the limit") << "file" << qint64(1000) << true;
    QTest::newRow("a file a byte over") << "file" << qint64(999) << false;
    QTest::newRow("a folder") << "folder" << qint64(1000) << false;
    QTest::newRow("a missing file") << "missing" << qint64(1000) << false;
    QTest::newRow("a device name, which every folder has") << "NUL" << qint64(1000) << false;
    QTest::newRow("a named pipe") << "pipe" << qint64(1000) << false;
}

void tst_WindowsPlatform::implausibleFilesCountAsMissing()
{
    QFETCH(QString, kind);
    QFETCH(qint64, limit);
    QFETCH(bool, read);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString path = dir.filePath(kind);
    HANDLE server = INVALID_HANDLE_VALUE;
    if (kind == QLatin1String("file")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(1000, 'x'));
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir(dir.path()).mkdir(kind));
    } else if (kind == QLatin1String("pipe")) {
        // A server that never writes: a reader that waited would wait for
        // ever.
        path = QStringLiteral("\\\\.\\pipe\\lukimo-test-%1").arg(GetCurrentProcessId());
        server = CreateNamedPipeW(reinterpret_cast<const wchar_t *>(path.utf16()),
                                  PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, 4096, 4096, 0, nullptr);
        QVERIFY(server != INVALID_HANDLE_VALUE);
    }
    const std::optional<QByteArray> content = platform::readPlausibleFile(path, limit);
    if (server != INVALID_HANDLE_VALUE)
        CloseHandle(server);
    QCOMPARE(content.has_value(), read);
    if (read)
        QCOMPARE(*content, QByteArray(1000, 'x'));
}

void tst_WindowsPlatform::aClosedStreamBecomesNul()
{
    const int saved = _dup(2);
    _close(2);
    SetStdHandle(STD_ERROR_HANDLE, nullptr);
    platform::prepareStandardStreams();
    // A file opened next must not take standard error's number and receive
    // what is written there.
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("data")));
    const int file = _open(path.constData(), _O_CREAT | _O_WRONLY | _O_BINARY, 0600);
    const bool ownNumber = file != 2;
    const DWORD type = GetFileType(GetStdHandle(STD_ERROR_HANDLE));
    const int written = _write(2, "x", 1);
    _close(file);
    _dup2(saved, 2);
    _close(saved);
    SetStdHandle(STD_ERROR_HANDLE, HANDLE(_get_osfhandle(2)));
    QVERIFY(ownNumber);
    QCOMPARE(type, DWORD(FILE_TYPE_CHAR));
    QCOMPARE(written, 1);
    QCOMPARE(QFileInfo(QFile::decodeName(path)).size(), 0);
}

void tst_WindowsPlatform::linesOnTheirWayWhenTheProgramEnds_data()
{
    QTest::addColumn<bool>("reading");
    QTest::newRow("a reader that reads slowly") << true;
    QTest::newRow("a reader that stopped reading") << false;
}

// A line the trace has taken reaches a reader that reads, even when the
// program ends right after it; one that cannot reach it is counted as
// dropped, and a reader that stopped holds the end up only briefly.
void tst_WindowsPlatform::linesOnTheirWayWhenTheProgramEnds()
{
    QFETCH(bool, reading);
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE reader, writer;
    QVERIFY(CreatePipe(&reader, &writer, &inherited, 4096));
    SetHandleInformation(reader, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writer;
    std::wstring command = L"\"" + QCoreApplication::applicationFilePath().toStdWString() + L"\" " +
                           QString::fromLatin1(traceChildSwitch).toStdWString();
    PROCESS_INFORMATION child = {};
    const bool started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &child);
    CloseHandle(writer);
    if (!started)
        CloseHandle(reader);
    QVERIFY(started);
    CloseHandle(child.hThread);

    QByteArray received;
    const auto readToEnd = [&received, reader, reading] {
        char chunk[1024];
        DWORD got = 0;
        while (ReadFile(reader, chunk, sizeof chunk, &got, nullptr) && got > 0) {
            received.append(chunk, got);
            if (reading)
                Sleep(10);
        }
    };
    std::thread readerThread;
    if (reading)
        readerThread = std::thread(readToEnd);
    // A guard, not a time limit: the end waits a fraction of a second.
    const bool ended = WaitForSingleObject(child.hProcess, 60000) == WAIT_OBJECT_0;
    if (!ended)
        TerminateProcess(child.hProcess, 254);
    if (reading)
        readerThread.join();
    else
        readToEnd();
    DWORD dropped = 255;
    GetExitCodeProcess(child.hProcess, &dropped);
    CloseHandle(child.hProcess);
    CloseHandle(reader);
    QVERIFY2(ended, "the program's end waited for the reader");
    QVERIFY2(dropped < 255, "the program did not run");

    // Whole and in order, up to the last full line.
    QByteArrayList lines = received.split('\n');
    lines.removeLast();
    for (int i = 0; i < lines.size(); ++i)
        QCOMPARE(lines[i], tracedLine(i));
    if (reading) {
        QCOMPARE(lines.size(), tracedLines);
        QCOMPARE(int(dropped), 0);
    } else {
        // The line the writer was in the middle of may still have arrived;
        // it is counted all the same.
        QVERIFY2(int(dropped) >= tracedLines - lines.size() &&
                     int(dropped) <= tracedLines - lines.size() + 1,
                 qPrintable(QStringLiteral("%1 arrived, %2 counted as dropped")
                                .arg(lines.size())
                                .arg(dropped)));
        QVERIFY(dropped > 0);
    }
}

void tst_WindowsPlatform::aPipeNobodyReadsNeverHoldsTheTraceUp()
{
    HANDLE reader, writer;
    QVERIFY(CreatePipe(&reader, &writer, nullptr, 4096));
    const int saved = _dup(1);
    QVERIFY(_dup2(_open_osfhandle(intptr_t(writer), _O_WRONLY), 1) == 0);

    // Far more than the pipe holds, while nobody reads: a trace that waited
    // for room would hang here.
    const qint64 droppedBefore = droppedTraceLines();
    constexpr int lines = 2000;
    for (int i = 0; i < lines; ++i)
        trace("line %d\n", i);
    const qint64 dropped = droppedTraceLines() - droppedBefore;

    // Every line that was not dropped arrives once the reader reads, whole
    // and in order.
    QByteArray received;
    const auto wholeLines = [&] {
        DWORD waiting = 0;
        while (PeekNamedPipe(reader, nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0) {
            QByteArray chunk(int(waiting), Qt::Uninitialized);
            DWORD got = 0;
            if (!ReadFile(reader, chunk.data(), waiting, &got, nullptr))
                break;
            received += chunk.left(int(got));
        }
        return received.count('\n');
    };
    QTRY_COMPARE(wholeLines(), lines - dropped);
    _dup2(saved, 1);
    _close(saved);
    CloseHandle(reader);

    QVERIFY(dropped > 0);
    int previous = -1;
    for (const QByteArray &line : received.split('\n')) {
        if (line.isEmpty())
            continue;
        QVERIFY2(line.startsWith("line "), line.constData());
        const int number = line.mid(5).toInt();
        QVERIFY2(number > previous, line.constData());
        previous = number;
    }
}

int main(int argc, char **argv)
{
    if (argc == 2 && qstrcmp(argv[1], traceChildSwitch) == 0)
        return traceThenEnd();
    QCoreApplication app(argc, argv);
    tst_WindowsPlatform test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_windowsplatform.moc"
