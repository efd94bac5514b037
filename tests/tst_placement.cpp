// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/placement.h"
#include "common/reportbox.h"
#include "help/helpwindow.h"
#include "numberwindow/random.h"
#include "pastdata/input_serch.h"
#include "settings/setup_config.h"

#include "support/modalboxcloser.h"
#include "support/settingskeys.h"
#include "support/stdoutcapture.h"

#include <QPushButton>
#include <QRadioButton>
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
    void placedAtTheSizeItIsShownAt();
    void shrunkNoSmallerThanItsMinimum();
    void anIconTakesNoRoom();
    void ruleAmongOtherWindows_data();
    void ruleAmongOtherWindows();
    void scrollingWindowTakesTheRoomLeft_data();
    void scrollingWindowTakesTheRoomLeft();
    void askedAgainComesBack_data();
    void askedAgainComesBack();
    void boxesShowTheirWholeTitle_data();
    void boxesShowTheirWholeTitle();

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

    // A self-mode stop's report leaves the number it reports in sight.
    dialog->findChild<QRadioButton *>(QStringLiteral("self_radio"))->setChecked(true);
    ModalBoxCloser closer;
    captureStdout([&] { QTest::mousePress(&window, Qt::LeftButton); });
    closer.waitUntilClosed();
    QCOMPARE(closer.boxes.size(), 1);
    QVERIFY(available.contains(closer.boxes.first().frame));
    QVERIFY(!closer.boxes.first().frame.intersects(window.frameGeometry()));

    if (settingsCrowdedWhenScaled && window.devicePixelRatio() > 1)
        QVERIFY(available.contains(dialog->frameGeometry()));
    else
        QVERIFY2(misplaced(dialog, &window).isEmpty(), misplaced(dialog, &window));

    // Where the screen has room for them all (1280 x 800 at the normal scale,
    // the number window in its corner), none covers one opened before it.
    if (available.width() < 1280 || window.devicePixelRatio() > 1 || !at.isNull())
        return;
    const QRect opened[] = {dialog->frameGeometry(), help->frameGeometry(),
                            pastData->frameGeometry(), closer.boxes.first().frame};
    for (int later = 1; later < 4; ++later)
        for (int earlier = 0; earlier < later; ++earlier)
            QVERIFY2(
                !opened[later].intersects(opened[earlier]),
                qPrintable(QStringLiteral("window %1 covers window %2").arg(later).arg(earlier)));
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

// A window that sizes itself for its texts only when it is polished, as the
// past-data window does.
class GrowsWhenPolished : public QWidget
{
public:
    explicit GrowsWhenPolished(int width) : width(width) { resize(100, 100); }

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::Polish)
            setMinimumWidth(width);
        return QWidget::event(event);
    }

private:
    int width;
};

void tst_Placement::placedAtTheSizeItIsShownAt()
{
    Random window;
    const QRect available = window.screen()->availableGeometry();
    window.move(available.topLeft() + QPoint(available.width() / 3, 0));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // Too wide, once polished, for the room right of the number window.
    GrowsWhenPolished grown(available.width() / 2);
    showBeside(&grown, &window);
    QVERIFY(QTest::qWaitForWindowExposed(&grown));
    QVERIFY2(misplaced(&grown, &window).isEmpty(), misplaced(&grown, &window));
}

// A window too big for any place clear of the number window, whose minimum
// misses the room to its right by one pixel once the frame is counted: it
// may cover the number window, but it stays whole on the screen.
void tst_Placement::shrunkNoSmallerThanItsMinimum()
{
    Random window;
    const QRect available = window.screen()->availableGeometry();
    window.move(available.topLeft());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect anchor = window.frameGeometry();
    const QSize decoration = anchor.size() - window.size();

    QWidget big;
    big.setMinimumSize(available.right() - anchor.right() - decoration.width() + 1,
                       available.bottom() - anchor.bottom() - decoration.height() + 1);
    big.resize(available.size());
    showBeside(&big, &window);
    QVERIFY(QTest::qWaitForWindowExposed(&big));
    QVERIFY2(available.contains(big.frameGeometry()), misplaced(&big, &window));
}

// A window put away as an icon leaves its place free: the past-data window
// opened from the iconified settings takes the first place beside the number
// window, whether or not the settings stood there.
void tst_Placement::anIconTakesNoRoom()
{
    Random window;
    window.move(window.screen()->availableGeometry().topLeft());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mousePress(&window, Qt::RightButton);
    Setup_config *dialog = settingsDialog();
    QVERIFY(dialog);
    dialog->showMinimized();
    QTest::mouseClick(pushButton(dialog, QStringLiteral("serch")), Qt::LeftButton);
    const QRect anchor = window.frameGeometry();
    QCOMPARE(topLevel<Input_Serch>()->frameGeometry().topLeft(),
             QPoint(anchor.right() + 1, anchor.top()));
}

void tst_Placement::ruleAmongOtherWindows_data()
{
    QTest::addColumn<QRect>("anchor");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QSize>("minimum");
    QTest::addColumn<QList<QRect>>("others");
    QTest::addColumn<QRect>("buttons");
    QTest::addColumn<QRect>("expected");

    const QRect numberWindow(0, 0, 204, 64);
    const QRect settings(204, 0, 544, 286);
    const QRect help(204, 286, 754, 404);
    const QRect wide(0, 0, 1280, 800);
    QTest::newRow("help below the settings, not over them")
        << numberWindow << QSize(754, 404) << wide << QSize() << QList<QRect>{settings} << QRect()
        << help;
    QTest::newRow("past data right of the settings, clear of the help")
        << numberWindow << QSize(304, 184) << wide << QSize() << QList<QRect>{settings, help}
        << QRect() << QRect(748, 0, 304, 184);
    QTest::newRow("no room clear of all: beside the number window, covering least")
        << QRect(0, 0, 200, 60) << QSize(300, 180) << QRect(0, 0, 640, 400) << QSize()
        << QList<QRect>{QRect(200, 0, 440, 300)} << QRect() << QRect(0, 60, 300, 180);
    QTest::newRow("taller than the screen: the buttons at its foot stay on it")
        << QRect(0, 0, 200, 60) << QSize(540, 400) << QRect(0, 0, 1024, 300) << QSize(540, 400)
        << QList<QRect>{} << QRect(10, 360, 520, 30) << QRect(200, -90, 540, 400);
    // The settings at twice the scale on 1024 x 768, two pixels too tall
    // for the room below the number window.
    QTest::newRow("nowhere clear: covering least of the number window")
        << QRect(14, 14, 206, 75) << QSize(512, 297) << QRect(0, 0, 512, 384) << QSize(448, 297)
        << QList<QRect>{} << QRect() << QRect(0, 87, 512, 297);
    QTest::newRow("full-width number window at the foot: above it, not beside another")
        << QRect(0, 700, 1280, 60) << QSize(300, 200) << wide << QSize()
        << QList<QRect>{QRect(0, 0, 300, 200)} << QRect() << QRect(0, 500, 300, 200);
    QTest::newRow("wider than the screen: the first buttons stay on it")
        << QRect(0, 0, 200, 60) << QSize(540, 300) << QRect(0, 0, 480, 800) << QSize(540, 300)
        << QList<QRect>{} << QRect(10, 260, 520, 30) << QRect(-10, 60, 540, 300);
}

void tst_Placement::ruleAmongOtherWindows()
{
    QFETCH(QRect, anchor);
    QFETCH(QSize, frame);
    QFETCH(QRect, available);
    QFETCH(QSize, minimum);
    QFETCH(QList<QRect>, others);
    QFETCH(QRect, buttons);
    QFETCH(QRect, expected);

    QCOMPARE(placeBeside(anchor, frame, available, minimum, others, buttons), expected);
}

void tst_Placement::scrollingWindowTakesTheRoomLeft_data()
{
    QTest::addColumn<QRect>("anchor");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QList<QRect>>("others");
    QTest::addColumn<QList<QRect>>("othersKeep");
    QTest::addColumn<QRect>("expected");

    // A phone turned on its side: no side of the number holds the
    // settings; below it they show most, and scroll.
    QTest::newRow("landscape: below the number, fitted to the room")
        << QRect(182, 16, 480, 144) << QSize(548, 357) << QRect(0, 0, 844, 390) << QList<QRect>{}
        << QList<QRect>{} << QRect(182, 160, 548, 230);
    // The settings below the number fill the rest of the screen: the past
    // data goes over their groups, whole, but not over their buttons.
    QTest::newRow("portrait: over the settings, clear of their buttons")
        << QRect(16, 16, 328, 98) << QSize(300, 330) << QRect(0, 0, 360, 640)
        << QList<QRect>{QRect(0, 114, 360, 513)} << QList<QRect>{QRect(8, 580, 344, 40)}
        << QRect(16, 114, 300, 330);
    QTest::newRow("room for it whole below the settings: there, as before")
        << QRect(16, 16, 328, 98) << QSize(300, 200) << QRect(0, 0, 360, 900)
        << QList<QRect>{QRect(0, 114, 360, 513)} << QList<QRect>{QRect(8, 580, 344, 40)}
        << QRect(0, 627, 300, 200);
}

// A window that scrolls inside itself never covers the number window or the
// buttons of another window where the screen has any room for it.
void tst_Placement::scrollingWindowTakesTheRoomLeft()
{
    QFETCH(QRect, anchor);
    QFETCH(QSize, frame);
    QFETCH(QRect, available);
    QFETCH(QList<QRect>, others);
    QFETCH(QList<QRect>, othersKeep);
    QFETCH(QRect, expected);

    QCOMPARE(
        placeBeside(anchor, frame, available, frame, others, QRect(), QSize(120, 100), othersKeep),
        expected);
}

// A window asked for again while it is open under another one or as an icon
// comes back: shown, no longer an icon, raised and active.
void tst_Placement::askedAgainComesBack_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("iconified");
    QTest::newRow("right click, settings an icon") << "right click"
                                                   << "Setup_config" << true;
    QTest::newRow("Shift+F10, settings covered") << "Shift+F10"
                                                 << "Setup_config" << false;
    QTest::newRow("F1, help an icon") << "F1"
                                      << "HelpWindow" << true;
    QTest::newRow("help, help covered") << "help"
                                        << "HelpWindow" << false;
    QTest::newRow("serch, past data an icon") << "serch"
                                              << "Input_Serch" << true;
}

void tst_Placement::askedAgainComesBack()
{
    QFETCH(QString, how);
    QFETCH(QString, window);
    QFETCH(bool, iconified);

    Random numberWindow;
    numberWindow.show();
    QVERIFY(QTest::qWaitForWindowExposed(&numberWindow));
    QTest::mousePress(&numberWindow, Qt::RightButton);
    Setup_config *dialog = settingsDialog();
    QTest::mouseClick(pushButton(dialog, QStringLiteral("help")), Qt::LeftButton);
    QTest::mouseClick(pushButton(dialog, QStringLiteral("serch")), Qt::LeftButton);
    QWidget *asked = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (window == QLatin1String(widget->metaObject()->className()))
            asked = widget;
    QVERIFY(asked);

    if (iconified)
        asked->showMinimized();
    // Another window on top, holding the keyboard.
    QWidget *other = asked == dialog ? static_cast<QWidget *>(&numberWindow) : dialog;
    other->raise();
    other->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), other);

    if (how == QLatin1String("right click"))
        QTest::mousePress(&numberWindow, Qt::RightButton);
    else if (how == QLatin1String("Shift+F10"))
        QTest::keyClick(&numberWindow, Qt::Key_F10, Qt::ShiftModifier);
    else if (how == QLatin1String("F1"))
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    else
        QTest::mouseClick(pushButton(dialog, how), Qt::LeftButton);

    QVERIFY(asked->isVisible());
    QVERIFY(!asked->isMinimized());
    QTRY_COMPARE(QApplication::activeWindow(), asked);
}

void tst_Placement::boxesShowTheirWholeTitle_data()
{
    QTest::addColumn<QString>("title");
    QTest::newRow("Error") << "Error";
    QTest::newRow("Box Pattern") << "Box Pattern";
    QTest::newRow("in Japanese") << QString::fromUtf8("検索結果");
    QTest::newRow("information") << "information";
}

// A title bar gives the title what its icon and buttons leave: on common
// window managers up to four squares of 28 pixels, and the title is bold.
void tst_Placement::boxesShowTheirWholeTitle()
{
    QFETCH(QString, title);

    QWidget parent;
    parent.show();
    ModalBoxCloser closer;
    ReportBox::inform(&parent, title, QStringLiteral("No Data"));
    closer.waitUntilClosed();
    QCOMPARE(closer.boxes.size(), 1);
    QFont bold = QApplication::font();
    bold.setBold(true);
    const int needed = QFontMetrics(bold).horizontalAdvance(title) + 4 * 28;
    QVERIFY2(
        closer.boxes.first().frame.width() >= needed,
        qPrintable(QStringLiteral("%1 < %2").arg(closer.boxes.first().frame.width()).arg(needed)));
}

QTEST_MAIN(tst_Placement)
#include "tst_placement.moc"
