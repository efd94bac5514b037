// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Lukimo's start-up and roll, driven for measurement.
//   lukimo_driver first-paint         start-up as the program does it, ends
//                                     right after the number window's first paint
//   lukimo_driver roll free TICKS     rolls TICKS ticks with free draws
//   lukimo_driver roll limited TICKS  the same after a right press, with the
//                                     settings dialog closed again
//
// The start-up and the ending below are app/main.cpp's, call for call, with
// the probes added; when main gains a step, add the same call here.

#include "benchclock.h"

#include "app/identity.h"
#include "app/streams.h"
#include "app/translation.h"
#include "numberwindow/random.h"
#include "sound/clicksound.h"

#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QTimer>

#include <cstdlib>
#include <cstring>

int main(int argc, char **argv)
{
    prepareStandardStreams();
    QApplication app(argc, argv);
    presentApplication();
    Translator translator;
    installTranslation(translator, QLocale::system().language());

    const bool firstPaint = argc > 1 && std::strcmp(argv[1], "first-paint") == 0;
    const bool limited = argc > 2 && std::strcmp(argv[2], "limited") == 0;
    bench::TickCounter counter(argc > 3 ? std::atoi(argv[3]) : 0);

    int status;
    {
        Random window(nullptr);
        bench::FirstPaintProbe probe;
        if (firstPaint)
            window.installEventFilter(&probe);
        window.show();

        if (!firstPaint) {
            if (limited) {
                const QPointF at(100, 30);
                QMouseEvent press(QEvent::MouseButtonPress, at, window.mapToGlobal(at),
                                  Qt::RightButton, Qt::RightButton, Qt::NoModifier);
                QApplication::sendEvent(&window, &press);
                for (QWidget *top : QApplication::topLevelWidgets())
                    if (auto *dialog = qobject_cast<QDialog *>(top))
                        dialog->hide();
            }
            auto *roll = window.findChild<QTimer *>();
            QObject::connect(roll, &QTimer::timeout, &app, [&counter] { counter.tick(); });
        }
        status = app.exec();
    }
    if (ClickSound::threadAbandoned())
        std::_Exit(status);
    return status;
}
