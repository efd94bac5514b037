// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef TRACE_H
#define TRACE_H

// Writes one diagnostic line to standard output and flushes it, so that a
// reader on a pipe sees each event as it happens.
void trace(const char *format, ...) __attribute__((format(printf, 1, 2)));

#endif
