// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/platform.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

void prepareStandardStreams()
{
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        // open() takes the lowest free number, which is this one.
        const int opened = ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (opened >= 0 && opened != fd)
            ::close(opened);
    }
    std::signal(SIGPIPE, SIG_IGN);
}

} // namespace platform

namespace {

bool plausible(const struct stat &status, qint64 maxSize)
{
    return S_ISREG(status.st_mode) && status.st_size <= maxSize;
}

// Whether standard output can take a short line without waiting; false with
// broken set when it never will. A pipe that reports room takes a write of
// up to PIPE_BUF bytes whole, and a terminal reports room only while it is
// not stopped.
bool outputReady(bool &broken)
{
    pollfd output = {STDOUT_FILENO, POLLOUT, 0};
    int ready;
    do
        ready = ::poll(&output, 1, 0);
    while (ready < 0 && errno == EINTR);
    broken = ready < 0 || (output.revents & (POLLERR | POLLNVAL));
    return !broken && ready > 0 && (output.revents & POLLOUT);
}

} // namespace

namespace platform {

std::optional<QByteArray> readPlausibleFile(const QString &path, qint64 maxSize)
{
    // O_NONBLOCK keeps open() itself from waiting for a writer when a FIFO
    // has been put in the file's place since anyone last looked.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::optional<QByteArray> content;
    struct stat status;
    if (::fstat(fd, &status) == 0 && plausible(status, maxSize)) {
        QByteArray bytes(qsizetype(status.st_size), Qt::Uninitialized);
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            done += got;
        }
        // A file that shrank or grew while it was read is not the file that
        // was checked.
        char extra;
        if (done == bytes.size() && ::read(fd, &extra, 1) == 0)
            content = bytes;
    }
    ::close(fd);
    return content;
}

OutputWrite writeToOutputNow(const char *data, qsizetype size)
{
    bool broken;
    if (!outputReady(broken))
        return broken ? OutputWrite::Broken : OutputWrite::NoRoom;
    qsizetype written = 0;
    while (written < size) {
        const ssize_t n = ::write(STDOUT_FILENO, data + written, size_t(size - written));
        if (n > 0)
            written += n;
        else if (n < 0 && errno == EINTR)
            continue;
        else if (n < 0 && errno == EAGAIN && written == 0)
            return OutputWrite::NoRoom;
        else
            return OutputWrite::Broken;
    }
    return OutputWrite::Written;
}

qsizetype finishOutput(int)
{
    // writeToOutputNow() leaves nothing on its way.
    return 0;
}

QString soundPluginFileName()
{
    return QStringLiteral("lukimosound.so");
}

void exitAbandoningThreads(int status)
{
    std::_Exit(status);
}

} // namespace platform
