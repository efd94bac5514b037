// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "numberwindow/random.h"

#include <QTimer>

#include <cstdlib>

// rand() is never seeded: every run replays the same sequence of numbers.

Random::Random(QWidget *parent) : QLCDNumber(parent)
{
    leftPresses = 1;
    rightPresses = 0;
    setSegmentStyle(QLCDNumber::Flat);
    setWindowFlags(Qt::Window | Qt::WindowSystemMenuHint);
    setWindowTitle(tr("Lukimo"));
    setToolTip(tr("Left Button click:Nuber Stop.\nRight Button click:Settei menu."));

    timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &Random::showRand3);
    timer->start(100);

    showRand3();
    resize(200, 60);
}

Random::~Random() = default;

void Random::showRand3()
{
    r = std::rand() % 10;
    r2 = std::rand() % 10;
    r3 = std::rand() % 10;
    number = r3 * 100 + r2 * 10 + r;
    display(number);
}

void Random::showRand4()
{
    rightPresses = 0;
    ones4 = std::rand() % 10;
    tens4 = std::rand() % 10;
    hundreds4 = std::rand() % 10;
    thousands4 = std::rand() % 10;
    number = thousands4 * 1000 + hundreds4 * 100 + tens4 * 10 + ones4;
    display(number);
}
