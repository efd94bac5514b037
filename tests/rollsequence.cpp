// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Prints the numbers a fresh number window shows over a fixed run of draws,
// so that a test can compare two processes.

#include "numberwindow/random.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Random window(nullptr);
    std::printf("%d\n", window.intValue());
    for (int tick = 0; tick < 40; ++tick) {
        window.showRand3();
        std::printf("%d\n", window.intValue());
    }
    return 0;
}
