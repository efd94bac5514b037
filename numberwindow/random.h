// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef RANDOM_H
#define RANDOM_H

#include <QLCDNumber>
#include <QPointF>
#include <QString>

#include <memory>

class QKeyEvent;
class QMouseEvent;
class Announcer;
class QTimer;
class QTouchEvent;
class Setup_config;

// The rolling number window: a seven-segment display that draws and shows a
// new three-digit number every 100 ms.
class Random : public QLCDNumber
{
    Q_OBJECT

public:
    explicit Random(QWidget *parent = nullptr);
    ~Random() override;

    // Whether the digits roll, or stand still after a stop.
    bool isRolling() const;

public slots:
    void showRand3();
    void showRand4();

protected:
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Its press action is a click's.
    friend class NumberAccessible;

    // Where a finger on the window stands: nothing decided yet (a tap if it
    // is lifted now), held long enough to have opened the settings, or no
    // press at all (it slid away, a second finger came).
    enum class Touch { None, Undecided, Held, Ignored };

    void touch(QTouchEvent *event);
    void touchHeld();
    void drawLimited();
    void leftPress();
    void rightPress();
    void announceNumber();
    void reportSelfPick(int hundredsCode, int tensCode, int onesCode);

    int leftPresses = 1;
    int rightPresses = 0;
    QTimer *timer = nullptr;
    QTimer *holdTimer = nullptr;
    // Tells a stop wherever the focus is, where the platform needs it.
    Announcer *stopAnnouncer = nullptr;
    Touch touchState = Touch::None;
    QPointF touchStart;
    int r = 0;
    int r2 = 0;
    int r3 = 0;
    int ones4 = 0;
    int tens4 = 0;
    int hundreds4 = 0;
    int thousands4 = 0;
    int number = 0;
    int straight = 0;
    int box1 = 0;
    int box2 = 0;
    int box3 = 0;
    int box4 = 0;
    int box5 = 0;
    std::unique_ptr<Setup_config> config;
    QString message;
};

#endif
