// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/safefile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool plausible(const struct stat &status, qint64 maxSize)
{
    return S_ISREG(status.st_mode) && status.st_size <= maxSize;
}

} // namespace

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
