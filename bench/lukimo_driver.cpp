// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Lukimo's start-up and roll, driven for measurement.
//   lukimo_driver first-paint         start-up as the program does it, ends
//                                     right after the number window's first paint
//   lukimo_driver roll free TICKS     rolls TICKS ticks with free draws
//   lukimo_driver roll limited TICKS  the same after a right press, with the
//                                     settings dialog closed again
//
// The start-up and the ending are the program's own (runLukimo), with the
// probes added.

#include "benchclock.h"

#include "app/startup.h"
#include "numberwindow/random.h"

#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QTimer>

#include <cstdlib>
#include <cstring>

int main(int argc, char **argv)
{
    const bool firstPaint = argc > 1 && std::strcmp(argv[1], "first-paint") == 0;
    const bool limited = argc > 2 && std::strcmp(argv[2], "limited") == 0;
    bench::TickCounter counter(argc > 3 ? std::atoi(argv[3]) : 0);
    bench::FirstPaintProbe probe;

    return runLukimo(argc, argv, [&](Random &window) {
        if (firstPaint) {
            window.installEventFilter(&probe);
            return;
        }
        // Once the window is shown: a limited draw needs a right press, with
        // the settings dialog put away again.
        QTimer::singleShot(0, &window, [&window, limited] {
            if (!limited)
                return;
            const QPointF at(100, 30);
            QMouseEvent press(QEvent::MouseButtonPress, at, window.mapToGlobal(at), Qt::RightButton,
                              Qt::RightButton, Qt::NoModifier);
            QApplication::sendEvent(&window, &press);
            for (QWidget *top : QApplication::topLevelWidgets())
                if (auto *dialog = qobject_cast<QDialog *>(top))
                    dialog->hide();
        });
        auto *roll = window.findChild<QTimer *>();
        QObject::connect(roll, &QTimer::timeout, qApp, [&counter] { counter.tick(); });
    });
}
