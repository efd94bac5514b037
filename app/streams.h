// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef STREAMS_H
#define STREAMS_H

// Makes standard input, output and error safe to use before anything else
// opens a file: a descriptor among 0, 1 and 2 that the caller left closed is
// opened on /dev/null, so that the display connection or a data file can
// never take its number and receive the trace or the toolkit's warnings.
// SIGPIPE is ignored, so that a reader that goes away ends only the trace,
// never the program. Call it first thing in main.
void prepareStandardStreams();

#endif
