// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef STARTUP_H
#define STARTUP_H

#include <functional>

class Random;

// Lukimo's whole run, from the raw command line to the exit status: the
// standard streams made safe, the application object on a display it can
// paint on, the program's icon and translation, the number window shown and
// the event loop run. Returns the event loop's status; a display that cannot
// be opened or painted on ends the run with one line on standard error and
// status 1. beforeShow, when given, sees the number window just before it is
// first shown (the benchmarks and tests watch it there).
int runLukimo(int argc, char **argv, const std::function<void(Random &)> &beforeShow = {});

#endif
