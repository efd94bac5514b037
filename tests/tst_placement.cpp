// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/placement.h"
#include "help/helpwindow.h"
#include "numberwindow/random.h"
#include "pastdata/input_serch.h"
#include "settings/setup_config.h"

#include "support/settingskeys.h"

#include <QPushButton>
#include <QScreen>
#include <QtTest>

// The rule itself is checked with rectangles; the windows are checked on
// whatever screen the test runs on (ctest runs it twice: on the default
// offscreen screen, and at twice the scale on a 1280 x 800 one).

class tst_Placement : public QObject
{
    Q_OBJECT

private slots:
    void rule_data();
    void rule();
    void windowsOpenBesideTheNumberWindow_data();
    void windowsOpenBesideTheNumberWindow();
    void placedAgainOnlyWhenShownFromHidden();

private:
    template <typename Window> static Window *topLevel();
};

template <typename Window> Window *tst_Placement::topLevel()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *window = qobject_cast<Window *>(widget))
            return window;
    return nullptr;
}

namespace {

// Empty when the window lies inside the work area and clear of the number
// window; otherwise what is wrong.
QByteArray misplaced(const QWidget *window, const QWidget *numberWindow)
{
    const QRect frame = window->frameGeometry();
    const QRect available = numberWindow->screen()->availableGeometry();
    QString wrong;
    QDebug(&wrong) << window->metaObject()->className() << frame;
    if (!window->isVisible())
        wrong += QLatin1String("is not shown");
    else if (!available.contains(frame))
        QDebug(&wrong) << "is not inside the work area" << available;
    else if (frame.intersects(numberWindow->frameGeometry()))
        QDebug(&wrong) << "covers the number window" << numberWindow->frameGeometry();
    else
        return QByteArray();
    return wrong.toUtf8();
}

} // namespace

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
    // Too big for every side of a number window that fills the screen's
    // height or width: shrunk into the one free strip, whichever side it is.
    const QRect wide(0, 0, 1000, 600);
    QTest::newRow("shrunk into the strip to the right")
        << QRect(0, 0, 300, 600) << QSize(800, 500) << wide << QSize(100, 500)
        << QRect(300, 0, 700, 500);
    QTest::newRow("shrunk to exactly its minimum")
        << QRect(0, 0, 300, 600) << QSize(800, 500) << wide << QSize(700, 500)
        << QRect(300, 0, 700, 500);
    QTest::newRow("shrunk into the strip to the left")
        << QRect(700, 0, 300, 600) << QSize(800, 500) << wide << QSize() << QRect(0, 0, 700, 500);
    QTest::newRow("shrunk into the strip above")
        << QRect(0, 400, 1000, 200) << QSize(800, 500) << wide << QSize() << QRect(0, 0, 800, 400);
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

void tst_Placement::windowsOpenBesideTheNumberWindow_data()
{
    // Where the number window stands, as a fraction of the free room on the
    // screen across and down. At twice the scale the screen is 640 x 400 and
    // the settings dialog at least 540 x 282: beside a number window that
    // stands away from the corners there is no room for it, and it may only
    // keep inside the screen.
    QTest::addColumn<QPointF>("at");
    QTest::addColumn<bool>("settingsCrowdedWhenScaled");
    QTest::newRow("top left") << QPointF(0, 0) << false;
    QTest::newRow("centre") << QPointF(0.5, 0.5) << true;
    QTest::newRow("right edge") << QPointF(1, 0.2) << true;
    QTest::newRow("bottom right") << QPointF(1, 1) << false;
    QTest::newRow("bottom left") << QPointF(0, 1) << false;
}

void tst_Placement::windowsOpenBesideTheNumberWindow()
{
    QFETCH(QPointF, at);
    QFETCH(bool, settingsCrowdedWhenScaled);

    Random window;
    const QRect available = window.screen()->availableGeometry();
    const QSize room = available.size() - QSize(220, 80);
    window.move(available.topLeft() +
                QPoint(int(at.x() * room.width()), int(at.y() * room.height())));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QTest::mousePress(&window, Qt::RightButton);
    Setup_config *dialog = settingsDialog();
    QVERIFY(dialog);
    QTest::mouseClick(pushButton(dialog, QStringLiteral("help")), Qt::LeftButton);
    auto *help = topLevel<HelpWindow>();
    QTest::mouseClick(pushButton(dialog, QStringLiteral("serch")), Qt::LeftButton);
    auto *pastData = topLevel<Input_Serch>();

    QVERIFY2(misplaced(help, &window).isEmpty(), misplaced(help, &window));
    QVERIFY2(misplaced(pastData, &window).isEmpty(), misplaced(pastData, &window));
    if (settingsCrowdedWhenScaled && window.devicePixelRatio() > 1)
        QVERIFY(available.contains(dialog->frameGeometry()));
    else
        QVERIFY2(misplaced(dialog, &window).isEmpty(), misplaced(dialog, &window));
}

void tst_Placement::placedAgainOnlyWhenShownFromHidden()
{
    Random window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mousePress(&window, Qt::RightButton);
    Setup_config *dialog = settingsDialog();
    QVERIFY(dialog);

    // Moved by the user, it stays while it is open...
    dialog->move(window.pos());
    const QPoint moved = dialog->pos();
    QTest::mousePress(&window, Qt::RightButton);
    QCOMPARE(dialog->pos(), moved);

    // ...and comes back beside the number window once hidden and shown.
    QTest::mouseClick(pushButton(dialog, QStringLiteral("ok")), Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
    QTest::mousePress(&window, Qt::RightButton);
    QVERIFY2(misplaced(dialog, &window).isEmpty(), misplaced(dialog, &window));
}

QTEST_MAIN(tst_Placement)
#include "tst_placement.moc"
