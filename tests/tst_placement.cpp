// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/placement.h"

#include <QtTest>

class tst_Placement : public QObject
{
    Q_OBJECT

private slots:
    void rule_data();
    void rule();
};

void tst_Placement::rule_data()
{
    QTest::addColumn<QRect>("anchor");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QSize>("minimum");
    QTest::addColumn<QRect>("expected");

    const QRect screen(0, 0, 800, 600);
    QTest::newRow("to the right, top edges level")
        << QRect(100, 100, 200, 60) << QSize(300, 200) << screen << QSize()
        << QRect(300, 100, 300, 200);
    QTest::newRow("to the right, lifted off the bottom edge")
        << QRect(100, 500, 200, 60) << QSize(300, 200) << screen << QSize()
        << QRect(300, 400, 300, 200);
    QTest::newRow("no room to the right: below, pulled in from the right edge")
        << QRect(500, 100, 200, 60) << QSize(300, 200) << screen << QSize()
        << QRect(500, 160, 300, 200);
    QTest::newRow("bottom right corner: to the left")
        << QRect(500, 450, 200, 60) << QSize(300, 200) << screen << QSize()
        << QRect(200, 400, 300, 200);
    QTest::newRow("wide anchor at the bottom: above")
        << QRect(0, 450, 700, 60) << QSize(300, 200) << screen << QSize()
        << QRect(0, 250, 300, 200);
    QTest::newRow("work area beside a panel, on a second screen")
        << QRect(1300, 50, 200, 60) << QSize(300, 200) << QRect(1280, 30, 1024, 738) << QSize()
        << QRect(1500, 50, 300, 200);
    // The help window at twice the scale on a 1280 x 800 screen: 750 x 400
    // does not fit 640 x 400 anywhere, so it takes the roomier strip below.
    QTest::newRow("larger than the screen, number window in the middle")
        << QRect(220, 170, 200, 60) << QSize(750, 400) << QRect(0, 0, 640, 400) << QSize()
        << QRect(0, 230, 640, 170);
    QTest::newRow("larger than the screen, number window in the corner")
        << QRect(0, 0, 200, 60) << QSize(750, 400) << QRect(0, 0, 640, 400) << QSize()
        << QRect(0, 60, 640, 340);
    QTest::newRow("shrunk, but not below the minimum")
        << QRect(0, 0, 200, 60) << QSize(540, 380) << QRect(0, 0, 640, 400) << QSize(400, 300)
        << QRect(0, 60, 540, 340);
    QTest::newRow("too big to keep clear: inside the screen, right of the anchor")
        << QRect(220, 170, 200, 60) << QSize(540, 280) << QRect(0, 0, 640, 400) << QSize(500, 250)
        << QRect(100, 120, 540, 280);
}

void tst_Placement::rule()
{
    QFETCH(QRect, anchor);
    QFETCH(QSize, frame);
    QFETCH(QRect, available);
    QFETCH(QSize, minimum);
    QFETCH(QRect, expected);

    QCOMPARE(placeBeside(anchor, frame, available, minimum), expected);
}

QTEST_MAIN(tst_Placement)
#include "tst_placement.moc"
