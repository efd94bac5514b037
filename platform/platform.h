// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef PLATFORM_H
#define PLATFORM_H

#include <QString>
#include <QtGlobal>

// What POSIX systems and Windows do differently, so that the windows and the
// logic never need to ask which one they run on. The build takes one of
// posix.cpp and windows.cpp. Each side also implements
// prepareStandardStreams() (app/streams.h) and readPlausibleFile()
// (common/safefile.h), whose promises are the same on both.
namespace platform {

// What became of one attempt to write to standard output.
enum class OutputWrite {
    Written, // taken whole
    NoRoom,  // the output cannot take it now; nothing of it was written
    Broken,  // the output failed for good (or there is none)
};

// Hands size bytes to standard output without ever waiting for a reader.
OutputWrite writeToOutputNow(const char *data, qsizetype size);

// The file name of the sound plugin, as the build makes it.
QString soundPluginFileName();

// Ends the process with status at once, without the exit handlers of the
// libraries it loaded: a thread left stuck in one of them would hold them up
// for ever.
[[noreturn]] void exitAbandoningThreads(int status);

} // namespace platform

#endif
