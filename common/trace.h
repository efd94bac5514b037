// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef TRACE_H
#define TRACE_H

#include <QtGlobal>

// Writes one diagnostic line to standard output at once, so that a reader on
// a pipe sees each event as it happens. Writing never blocks the caller: a
// line that the output cannot take now (a reader that stopped reading, a
// terminal paused with Ctrl-S) is dropped whole and counted, and once the
// output has failed (a reader that went away) the trace stays quiet. Every
// line that is written keeps its text and its place in the order.
void trace(const char *format, ...) Q_ATTRIBUTE_FORMAT_PRINTF(1, 2);

// How many lines have been dropped since start because the output was full
// (or, after finishTrace(), had still not reached it).
qint64 droppedTraceLines();

// At the end of the program: gives the lines still on their way to the
// output a short while to get there, and counts those that do not as
// dropped.
void finishTrace();

#endif
