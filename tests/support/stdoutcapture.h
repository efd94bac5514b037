// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef STDOUTCAPTURE_H
#define STDOUTCAPTURE_H

#include <QString>

#include <functional>

// Runs the action with standard output sent to a temporary file and returns
// what the action wrote there. Assertions belong outside the action, so that
// test failures are never swallowed with the trace.
QString captureStdout(const std::function<void()> &action);

#endif
