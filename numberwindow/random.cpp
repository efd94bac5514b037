// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "numberwindow/random.h"

#include "common/announcer.h"
#include "common/placement.h"
#include "common/reportbox.h"
#include "common/trace.h"
#include "numberwindow/numberaccessible.h"
#include "platform/platform.h"
#include "settings/setup_config.h"

#include <QAccessible>
#include <QApplication>
#include <QGesture>
#include <QKeyEvent>
#include <QLineF>
#include <QMouseEvent>
#include <QTimer>
#include <QTouchEvent>

#include <cstdlib>
#include <utility>

// rand() is never seeded: every run replays the same sequence of numbers.

namespace {

// A limit code from 1 to 9 lets its digit range over 0 to the code; 10 (the
// digit "0" in random mode) holds it at 0. A code of 0 also gives 0.
int limitedDigit(int code)
{
    return code == 10 ? 0 : std::rand() % (code + 1);
}

// Self-mode codes: 11 to 19 are the digits 1 to 9, 20 is the digit 0.
int selfDigit(int code)
{
    return code == 20 ? 0 : code - 10;
}

int compose(int hundreds, int tens, int ones)
{
    return hundreds * 100 + tens * 10 + ones;
}

// How far a finger may wander and still tap or hold, as in Qt's own tap
// gestures: a finger never stays quite still, but one that slides is not
// pressing.
constexpr qreal tapRadius = 40;

} // namespace

Random::Random(QWidget *parent) : QLCDNumber(parent)
{
    setSegmentStyle(QLCDNumber::Flat);
    setWindowFlags(Qt::Window | Qt::WindowSystemMenuHint);
    setWindowTitle(tr("Lukimo"));
    setToolTip(tr("Left Button click:Nuber Stop.\nRight Button click:Settei menu."));
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Lukimo number"));
    setAccessibleDescription(tr("Three rolling digits. Space or Return stops and restarts "
                                "them, the Menu key opens the settings, F1 the help."));
    config = std::make_unique<Setup_config>();
    config->setNumberWindow(this);
    if (platform::announcesStops())
        stopAnnouncer = new Announcer(this);

    timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &Random::showRand3);
    timer->start(100);

    // A phone has no right button: there a finger held down opens the
    // settings, so a touch is decided only when it is lifted or has been
    // held as long as the platform's long press.
    setAttribute(Qt::WA_AcceptTouchEvents);
    holdTimer = new QTimer(this);
    holdTimer->setSingleShot(true);
    connect(holdTimer, &QTimer::timeout, this, &Random::touchHeld);

    showRand3();
    resize(200, 60);
}

Random::~Random() = default;

void Random::showRand3()
{
    if (rightPresses != 0) {
        drawLimited();
        return;
    }
    r = std::rand() % 10;
    r2 = std::rand() % 10;
    r3 = std::rand() % 10;
    number = compose(r3, r2, r);
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

// Draws under the settings' limits. While self mode is chosen (any code above
// 10) the display keeps its number.
void Random::drawLimited()
{
    const int hundredsCode = config->check_ok3();
    if (hundredsCode > 10)
        return;
    const int tensCode = config->check_ok2();
    if (tensCode > 10)
        return;
    const int onesCode = config->check_ok();
    if (onesCode > 10)
        return;

    r3 = limitedDigit(hundredsCode);
    r2 = limitedDigit(tensCode);
    r = limitedDigit(onesCode);
    number = compose(r3, r2, r);
    display(number);
}

bool Random::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
        touch(static_cast<QTouchEvent *>(event));
        return true;
    default:
        return QLCDNumber::event(event);
    }
}

void Random::touch(QTouchEvent *event)
{
    event->accept();
    switch (event->type()) {
    case QEvent::TouchBegin:
        if (event->pointCount() == 1) {
            touchState = Touch::Undecided;
            touchStart = event->point(0).globalPosition();
            holdTimer->start(QTapAndHoldGesture::timeout());
        } else {
            touchState = Touch::Ignored;
        }
        break;
    case QEvent::TouchUpdate:
        // A second finger (a pinch) or one that slides (a swipe) is no press.
        if (touchState == Touch::Undecided &&
            (event->pointCount() > 1 ||
             QLineF(touchStart, event->point(0).globalPosition()).length() > tapRadius))
            touchState = Touch::Ignored;
        break;
    case QEvent::TouchEnd:
        if (std::exchange(touchState, Touch::None) == Touch::Undecided)
            leftPress();
        break;
    default:
        touchState = Touch::None;
        break;
    }
}

void Random::touchHeld()
{
    // The timer of a touch already decided runs out to no effect.
    if (touchState != Touch::Undecided)
        return;
    // A report opened from the keyboard meanwhile holds the window, and the
    // finger on it with it.
    if (QApplication::activeModalWidget()) {
        touchState = Touch::Ignored;
        return;
    }
    touchState = Touch::Held;
    rightPress();
}

void Random::mousePressEvent(QMouseEvent *event)
{
    // A touch comes as a touch event, above, and then may come again as a
    // press that Qt or the platform made of it: that one is not a click.
    const QPointingDevice *device = event->pointingDevice();
    if (device && device->type() == QInputDevice::DeviceType::TouchScreen)
        return;
    switch (event->button()) {
    case Qt::LeftButton:
        leftPress();
        break;
    case Qt::RightButton:
        rightPress();
        break;
    default:
        break;
    }
}

// The keyboard does what the mouse does: Space and Return click, the Menu key
// and Shift+F10 right-click; holding a key down does not click again and
// again. Help and quit are the settings' actions, shared by every window.
void Random::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    const bool plain = modifiers == Qt::NoModifier;
    if (plain && (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
        if (!event->isAutoRepeat())
            leftPress();
    } else if ((plain && key == Qt::Key_Menu) ||
               (modifiers == Qt::ShiftModifier && key == Qt::Key_F10)) {
        if (!event->isAutoRepeat())
            rightPress();
    } else {
        QLCDNumber::keyPressEvent(event);
    }
}

void Random::rightPress()
{
    ++rightPresses;
    showBeside(config.get(), this);
}

void Random::leftPress()
{
    ++leftPresses;
    if (isRolling()) {
        timer->start(100);
        showRand3();
        announceNumber();
        return;
    }

    const int hundredsCode = config->check_ok3();
    const int tensCode = hundredsCode > 10 ? config->check_ok2() : 0;
    const int onesCode = tensCode > 10 ? config->check_ok() : 0;
    timer->stop();
    if (onesCode <= 10) {
        showRand3();
        announceNumber();
        return;
    }
    reportSelfPick(hundredsCode, tensCode, onesCode);
}

bool Random::isRolling() const
{
    return leftPresses % 2 != 0;
}

// What a screen reader says of the focused number window once the roll stops
// and once it restarts. The name carries the number as the display shows it;
// the value change is what makes a screen reader read the object again (name
// changes of a label are dropped as noise, and this toolkit sends them
// without the new name). The ticks change nothing a screen reader reads.
void Random::announceNumber()
{
    setAccessibleName(isRolling() ? tr("Lukimo number")
                                  : tr("Lukimo number %1").arg(NumberAccessible::digitsOf(*this)));
    QAccessibleValueChangeEvent event(this, NumberAccessible::valueOf(*this));
    QAccessible::updateAccessibility(&event);
    if (stopAnnouncer && !isRolling())
        stopAnnouncer->announce(accessibleName());
}

// A stop in self mode shows the user's own number and lists it as a straight
// pick together with every other order of its digits as box picks.
void Random::reportSelfPick(int hundredsCode, int tensCode, int onesCode)
{
    r3 = selfDigit(hundredsCode);
    r2 = selfDigit(tensCode);
    r = selfDigit(onesCode);

    const bool zeroHundreds = hundredsCode == 20;
    const bool zeroTens = tensCode == 20;
    const bool zeroOnes = onesCode == 20;
    const char *pattern = "7-1";
    if (zeroHundreds + zeroTens + zeroOnes == 1)
        pattern = zeroHundreds ? "10" : zeroTens ? "9" : "8";
    trace("pattern %s\nr3=%d\nr2=%d\nr=%d\n", pattern, r3, r2, r);

    straight = compose(r3, r2, r);
    QString title = tr("Box Pattern");
    if (r == r2 && r3 == r2) {
        message = tr("Strate & box pattern:%1").arg(straight);
    } else if (r != r2 && r != r3 && r2 != r3) {
        box1 = compose(r3, r, r2);
        box2 = compose(r2, r3, r);
        box3 = compose(r2, r, r3);
        box4 = compose(r, r2, r3);
        box5 = compose(r, r3, r2);
        message = tr("Strate:%1\nBox No1:%2\nBox No2:%3\nBox No3:%4\nBox No4:%5\nBox No5:%6\n")
                      .arg(straight)
                      .arg(box1)
                      .arg(box2)
                      .arg(box3)
                      .arg(box4)
                      .arg(box5);
        title = QStringLiteral("Box Pattern");
    } else {
        // Two equal digits: the odd one out decides the two other orders and
        // the separator before "Box No1".
        QString text;
        if (r == r2) {
            box1 = compose(r2, r3, r);
            box2 = compose(r, r2, r3);
            text = tr("Strate & box pattern:%1\nBox No1:%2\nBox No2:%3");
        } else if (r == r3) {
            box1 = compose(r2, r3, r);
            box2 = compose(r, r3, r2);
            text = tr("Strate & box pattern:%1 Box No1:%2\nBox No2:%3");
        } else {
            box1 = compose(r2, r, r3);
            box2 = compose(r, r3, r2);
            text = tr("Strate & box pattern:%1Box No1:%2\nBox No2:%3");
        }
        message = text.arg(straight).arg(box1).arg(box2);
    }

    display(straight);
    announceNumber();
    // Beside the number window, not over the number it reports.
    ReportBox::inform(this, title, message, this);
}
