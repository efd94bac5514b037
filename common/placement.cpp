// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

enum class Side { Right, Below, Left, Above };
constexpr Side sides[] = {Side::Right, Side::Below, Side::Left, Side::Above};

qint64 area(const QRect &rect)
{
    return rect.isEmpty() ? 0 : qint64(rect.width()) * rect.height();
}

// A window of the given size against one side of the anchor, lined up with
// the anchor's top or left edge, then pushed inside the given bounds.
QRect nextTo(Side side, const QRect &anchor, const QSize &size, const QRect &bounds)
{
    QRect placed(QPoint(), size);
    switch (side) {
    case Side::Right:
        placed.moveTopLeft(QPoint(anchor.right() + 1, anchor.top()));
        break;
    case Side::Below:
        placed.moveTopLeft(QPoint(anchor.left(), anchor.bottom() + 1));
        break;
    case Side::Left:
        placed.moveTopRight(QPoint(anchor.left() - 1, anchor.top()));
        break;
    case Side::Above:
        placed.moveBottomLeft(QPoint(anchor.left(), anchor.top() - 1));
        break;
    }
    placed.moveLeft(qBound(bounds.left(), placed.left(), bounds.right() - size.width() + 1));
    placed.moveTop(qBound(bounds.top(), placed.top(), bounds.bottom() - size.height() + 1));
    return placed;
}

// The part of the available area that lies wholly on one side of the anchor.
QRect freeSide(Side side, const QRect &anchor, const QRect &available)
{
    QRect free = available;
    switch (side) {
    case Side::Right:
        free.setLeft(anchor.right() + 1);
        break;
    case Side::Below:
        free.setTop(anchor.bottom() + 1);
        break;
    case Side::Left:
        free.setRight(anchor.left() - 1);
        break;
    case Side::Above:
        free.setBottom(anchor.top() - 1);
        break;
    }
    return free.intersected(available);
}

} // namespace

QRect placeBeside(const QRect &anchor, const QSize &frame, const QRect &available,
                  const QSize &minimum)
{
    const QSize size = frame.boundedTo(available.size());
    for (Side side : sides) {
        const QRect placed = nextTo(side, anchor, size, available);
        if (!placed.intersects(anchor))
            return placed;
    }

    QRect roomiest;
    for (Side side : sides) {
        const QRect free = freeSide(side, anchor, available);
        const QSize shrunk = size.boundedTo(free.size());
        if (shrunk.isEmpty() || shrunk.width() < minimum.width() ||
            shrunk.height() < minimum.height())
            continue;
        const QRect placed = nextTo(side, anchor, shrunk, free);
        if (area(placed) > area(roomiest))
            roomiest = placed;
    }
    if (!roomiest.isEmpty())
        return roomiest;
    return nextTo(Side::Right, anchor, size, available);
}

void showBeside(QWidget *window, const QWidget *anchor)
{
    const bool placedByPlatform =
        QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    if (window->isHidden() && anchor && anchor->isVisible() && !placedByPlatform) {
        // A window that has never been shown has no frame yet; it will get
        // the same decoration as the anchor.
        QSize decoration = window->frameGeometry().size() - window->size();
        if (decoration.isNull())
            decoration = anchor->frameGeometry().size() - anchor->size();
        // Before its first show a window with a layout may still be smaller
        // than the layout will make it, and one that sizes itself for its
        // texts does so when it is polished.
        window->ensurePolished();
        const QSize minimum = window->minimumSizeHint().expandedTo(window->minimumSize());
        const QRect frame =
            placeBeside(anchor->frameGeometry(), window->size().expandedTo(minimum) + decoration,
                        anchor->screen()->availableGeometry(), minimum + decoration);
        window->resize(frame.size() - decoration);
        window->move(frame.topLeft());
    }
    window->show();
}
