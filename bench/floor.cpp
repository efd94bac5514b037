// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The floor: the toolkit alone. A bare QLCDNumber of the number window's size
// that shows a number and redraws a new one every 100 ms.
//   floor first-paint     ends right after the first paint
//   floor roll TICKS      rolls for TICKS ticks, then ends

#include "benchclock.h"

#include <QApplication>
#include <QLCDNumber>
#include <QTimer>

#include <cstdlib>
#include <cstring>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const bool firstPaint = argc > 1 && std::strcmp(argv[1], "first-paint") == 0;
    bench::TickCounter counter(argc > 2 ? std::atoi(argv[2]) : 0);

    // Same face as the number window, so that both draw the same segments.
    QLCDNumber display;
    display.setSegmentStyle(QLCDNumber::Flat);
    display.resize(200, 60);
    display.display(std::rand() % 1000);

    bench::FirstPaintProbe probe;
    if (firstPaint)
        display.installEventFilter(&probe);

    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        display.display(std::rand() % 1000);
        if (!firstPaint)
            counter.tick();
    });
    timer.start(100);
    display.show();
    return app.exec();
}
