// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef PLACEMENT_H
#define PLACEMENT_H

#include <QList>
#include <QMargins>
#include <QRect>
#include <QSize>

#include <optional>

class QGridLayout;
class QLayout;
class QWidget;

// A window with a narrower layout for a screen that has no room for its
// usual one.
class FitsScreen
{
public:
    // Lays the window out for the room it may take (its screen's work area
    // less its frame): the usual layout where that has room, else one narrow
    // enough for it, as far as the window can narrow. Where the usual layout
    // has room, changes nothing that is already so.
    virtual void fitInto(const QSize &room) = 0;

protected:
    ~FitsScreen() = default;
};

// The rows of a window's layout whose widgets stand side by side where the
// screen has room, and wrap onto further lines where it has not.
class WrappingRows
{
public:
    // A row of the widgets, in reading order (the order of Tab), which may
    // stand so many to a line: the first count is the usual layout, each
    // next one narrower. Returns the row's layout, for the window's own.
    QGridLayout *add(const QList<QWidget *> &widgets, const QList<int> &columnCounts);

    // Lays out the window, whose layout holds the rows, for the room (see
    // FitsScreen): its usual layout, margins and size where that fits;
    // otherwise the rows wrapped the way that fits the room with the fewest
    // wraps, with narrow margins where the usual ones do not fit, or failing
    // that the way that leaves least of the window outside the room; the
    // window then no wider than the room.
    void fitInto(QWidget *window, const QSize &room);

private:
    struct Row
    {
        QGridLayout *grid = nullptr;
        QList<QWidget *> widgets;
        QList<int> columnCounts;
        int columns = 0;
    };

    static void wrap(Row &row, int columns);

    QList<Row> rows;
    bool narrow = false;
    // What the window had in its usual layout, to go back to.
    std::optional<QMargins> usualMargins;
    QSize usualSize;
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
//
// A window that scrolls inside itself (scrollMinimum, its least size then,
// is valid) and fits on no side of the anchor whole, clear of the others,
// is fitted instead into the part of the area that shows most of it: clear
// of the anchor and the others, else clear of the anchor and the others'
// parts to keep (their buttons, othersKeep).
QRect placeBeside(const QRect &anchor, const QSize &frame, const QRect &available,
                  const QSize &minimum = QSize(), const QList<QRect> &others = {},
                  const QRect &keep = QRect(), const QSize &scrollMinimum = QSize(),
                  const QList<QRect> &othersKeep = {});

// Lays the window's contents out with layout inside a scroll area that
// fills the window, so that a window fitted to less room than they take
// scrolls inside itself, by finger too; where there is room it looks as it
// would with the layout as its own, margins included.
void setScrollingLayout(QWidget *window, QLayout *layout);

// Lays out a window that is about to be shown for the anchor's screen, then
// moves it beside the anchor, clear of the other windows shown where there is
// room, and sizes it to fit, unless the platform places windows itself
// (Wayland). A window with a scrolling body may be fitted to less room.
void moveBeside(QWidget *window, const QWidget *anchor);

// Shows the window, placed beside the anchor when it was hidden. A window
// that is open already is brought back from an icon, raised and activated.
// While it is shown, it is laid out again for each screen it is dragged to,
// and kept inside its screen's work area when that changes (a phone turned);
// should it then cover the anchor or another window's buttons, it is placed
// beside the anchor anew.
void showBeside(QWidget *window, const QWidget *anchor);

#endif
