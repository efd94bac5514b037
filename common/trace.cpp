// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/trace.h"

#include "platform/platform.h"

#include <cstdarg>
#include <cstdio>

namespace {

qint64 dropped = 0;
bool quiet = false;

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

    switch (platform::writeToOutputNow(line, size)) {
    case platform::OutputWrite::Written:
        break;
    case platform::OutputWrite::NoRoom:
        ++dropped;
        break;
    case platform::OutputWrite::Broken:
        quiet = true;
        break;
    }
}

qint64 droppedTraceLines()
{
    return dropped;
}

void finishTrace()
{
    // Ample for a reader that reads; and a reader that stopped holds the
    // end of the program up no longer than this.
    dropped += platform::finishOutput(400);
}
