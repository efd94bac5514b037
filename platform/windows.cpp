// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/platform.h"

#include <QDir>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <fcntl.h>
#include <io.h>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <windows.h>

namespace {

bool usable(HANDLE handle)
{
    DWORD flags;
    return handle && handle != INVALID_HANDLE_VALUE && GetHandleInformation(handle, &flags);
}

bool writeAll(HANDLE handle, const char *data, qsizetype size)
{
    while (size > 0) {
        DWORD written = 0;
        if (!WriteFile(handle, data, DWORD(size), &written, nullptr) || written == 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

// Lines on their way to a pipe or a console. Windows has no way to ask a
// pipe whether it has room, and a console stops taking output while the
// user selects text in it, so a thread of the trace's own does the writing
// and may wait; the caller only queues. A queue that is full means a reader
// that stopped reading.
struct Pending
{
    std::mutex lock;
    std::condition_variable wake;
    std::condition_variable lineDone;
    std::deque<std::pair<HANDLE, std::string>> lines;
    bool broken = false;
    bool writing = false;
    // The writer holds a line it has not finished writing.
    bool busy = false;
};

constexpr std::size_t maxPendingLines = 64;

// Never destroyed: the writer may still be waiting on a stalled reader while
// the process ends.
Pending &pending()
{
    static auto *lines = new Pending;
    return *lines;
}

void writeQueuedLines()
{
    Pending &queue = pending();
    std::unique_lock<std::mutex> hold(queue.lock);
    for (;;) {
        queue.wake.wait(hold, [&queue] { return !queue.lines.empty(); });
        const std::pair<HANDLE, std::string> line = std::move(queue.lines.front());
        queue.lines.pop_front();
        queue.busy = true;
        hold.unlock();
        const bool written =
            writeAll(line.first, line.second.data(), qsizetype(line.second.size()));
        hold.lock();
        queue.busy = false;
        if (!written) {
            queue.broken = true;
            queue.lines.clear();
        }
        queue.lineDone.notify_all();
        if (queue.broken)
            return;
    }
}

platform::OutputWrite queueLine(HANDLE handle, const char *data, qsizetype size)
{
    Pending &queue = pending();
    const std::lock_guard<std::mutex> hold(queue.lock);
    if (queue.broken)
        return platform::OutputWrite::Broken;
    if (queue.lines.size() >= maxPendingLines)
        return platform::OutputWrite::NoRoom;
    if (!queue.writing) {
        std::thread(writeQueuedLines).detach();
        queue.writing = true;
    }
    queue.lines.emplace_back(handle, std::string(data, std::size_t(size)));
    queue.wake.notify_one();
    return platform::OutputWrite::Written;
}

} // namespace

namespace platform {

void prepareStandardStreams()
{
    // A program started from the desktop has no standard streams at all,
    // and a parent may pass a handle value that names nothing open here,
    // which a file this program opens later could come to name. Each such
    // stream, in the C runtime and in the process's table, is NUL instead.
    const DWORD streams[] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
    for (int fd = 0; fd <= 2; ++fd) {
        if (usable(GetStdHandle(streams[fd])) && usable(HANDLE(_get_osfhandle(fd))))
            continue;
        const int opened = _open("NUL", fd == 0 ? _O_RDONLY : _O_WRONLY);
        if (opened < 0)
            continue;
        if (opened != fd) {
            _dup2(opened, fd);
            _close(opened);
        }
        SetStdHandle(streams[fd], HANDLE(_get_osfhandle(fd)));
    }
}

std::optional<QByteArray> readPlausibleFile(const QString &path, qint64 maxSize)
{
    // A directory does not open without FILE_FLAG_BACKUP_SEMANTICS, and
    // opening a pipe or a device never waits; a device name (NUL, CON, COM1
    // exist in every folder) or a pipe is then turned away by its type.
    // Sharing every access keeps others free to replace the file meanwhile.
    const QString native = QDir::toNativeSeparators(path);
    const HANDLE file = CreateFileW(reinterpret_cast<const wchar_t *>(native.utf16()), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::optional<QByteArray> content;
    LARGE_INTEGER size;
    if (GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size) &&
        size.QuadPart <= maxSize) {
        QByteArray bytes(qsizetype(size.QuadPart), Qt::Uninitialized);
        qsizetype done = 0;
        while (done < bytes.size()) {
            DWORD got = 0;
            if (!ReadFile(file, bytes.data() + done, DWORD(bytes.size() - done), &got, nullptr) ||
                got == 0)
                break;
            done += got;
        }
        // A file that shrank or grew while it was read is not the file that
        // was checked.
        char extra;
        DWORD got = 1;
        if (done == bytes.size() && ReadFile(file, &extra, 1, &got, nullptr) && got == 0)
            content = bytes;
    }
    CloseHandle(file);
    return content;
}

OutputWrite writeToOutputNow(const char *data, qsizetype size)
{
    const auto output = HANDLE(_get_osfhandle(1));
    if (!usable(output))
        return OutputWrite::Broken;
    switch (GetFileType(output)) {
    case FILE_TYPE_DISK:
        // A file takes a short line at once.
        return writeAll(output, data, size) ? OutputWrite::Written : OutputWrite::Broken;
    case FILE_TYPE_PIPE:
    case FILE_TYPE_CHAR:
        return queueLine(output, data, size);
    default:
        return OutputWrite::Broken;
    }
}

qsizetype finishOutput(int msecs)
{
    Pending &queue = pending();
    std::unique_lock<std::mutex> hold(queue.lock);
    queue.lineDone.wait_for(hold, std::chrono::milliseconds(msecs), [&queue] {
        return queue.broken || (queue.lines.empty() && !queue.busy);
    });
    // Lines to an output that failed are lost the way they are where the
    // write itself fails: not counted.
    if (queue.broken)
        return 0;
    // The line in the writer's hands counts too: the end of the process may
    // cut it off.
    const qsizetype left = qsizetype(queue.lines.size()) + (queue.busy ? 1 : 0);
    queue.lines.clear();
    return left;
}

QString soundPluginFileName()
{
    return QStringLiteral("lukimosound.dll");
}

void exitAbandoningThreads(int status)
{
    // ExitProcess would still run every DLL's detach code, Qt Multimedia's
    // among them, which is what the abandoned thread blocks.
    TerminateProcess(GetCurrentProcess(), UINT(status));
    for (;;)
        Sleep(INFINITE);
}

} // namespace platform
