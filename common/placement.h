// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef PLACEMENT_H
#define PLACEMENT_H

#include <QList>
#include <QRect>
#include <QSize>

class QWidget;

// A window with a narrower layout for a screen that has no room for its
// usual one.
class FitsScreen
{
public:
    // Lays the window out for the room it may take (its screen's work area
    // less its frame): the usual layout where that has room, else one narrow
    // enough for it, as far as the window can narrow. Changes nothing when
    // the layout it would pick is the one it has.
    virtual void fitInto(const QSize &room) = 0;

protected:
    ~FitsScreen() = default;
};

// Where a window opened from another one goes, in frame geometry: beside the
// anchor (to its right, else below, else to its left, else above), wholly
// inside the available area and clear of the anchor. Where the area has room
// it is also clear of the other windows shown, else beside one of them where
// it covers least of them. A window larger than the area is cut down to it,
// but not below its minimum; one still larger shows the part keep (in its own
// coordinates, its buttons) rather than its top left corner. One that fits on
// no side of the anchor is shrunk, but not below its minimum, into the free
// side where it keeps the most room; failing that it goes to the side where
// it covers least of the anchor.
QRect placeBeside(const QRect &anchor, const QSize &frame, const QRect &available,
                  const QSize &minimum = QSize(), const QList<QRect> &others = {},
                  const QRect &keep = QRect());

// Lays out a window that is about to be shown for the anchor's screen, then
// moves it beside the anchor, clear of the other windows shown where there is
// room, and sizes it to fit, unless the platform places windows itself
// (Wayland).
void moveBeside(QWidget *window, const QWidget *anchor);

// Shows the window, placed beside the anchor when it was hidden. A window
// that is open already is brought back from an icon, raised and activated.
// While it is shown, it is laid out again and kept on its screen when it
// moves to another screen or its screen's work area changes.
void showBeside(QWidget *window, const QWidget *anchor);

#endif
