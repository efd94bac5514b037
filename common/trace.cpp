// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/trace.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <poll.h>
#include <unistd.h>

namespace {

qint64 dropped = 0;
bool quiet = false;

// Whether standard output can take a short line without waiting. A pipe
// that reports room takes a write of up to PIPE_BUF bytes whole, and a
// terminal reports room only while it is not stopped.
bool outputReady()
{
    pollfd output = {STDOUT_FILENO, POLLOUT, 0};
    int ready;
    do
        ready = ::poll(&output, 1, 0);
    while (ready < 0 && errno == EINTR);
    if (ready < 0 || (output.revents & (POLLERR | POLLNVAL)))
        quiet = true;
    return !quiet && ready > 0 && (output.revents & POLLOUT);
}

} // namespace

void trace(const char *format, ...)
{
    if (quiet)
        return;
    char line[256];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    // Every trace format is one short line; a longer one is cut rather than
    // split across two writes.
    const qsizetype size = qBound(0, length, int(sizeof line) - 1);

    if (!outputReady()) {
        if (!quiet)
            ++dropped;
        return;
    }
    qsizetype written = 0;
    while (written < size) {
        const ssize_t n = ::write(STDOUT_FILENO, line + written, size_t(size - written));
        if (n > 0) {
            written += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN && written == 0) {
            ++dropped;
            return;
        } else {
            quiet = true;
            return;
        }
    }
}

qint64 droppedTraceLines()
{
    return dropped;
}
