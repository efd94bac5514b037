// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/placement.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLayout>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {

enum class Side { Right, Below, Left, Above };
constexpr Side sides[] = {Side::Right, Side::Below, Side::Left, Side::Above};

qint64 area(const QRect &rect)
{
    return rect.isEmpty() ? 0 : qint64(rect.width()) * rect.height();
}

// The start of a span of the given length inside [low, high], as near the
// wanted start as it goes. A span longer than the room shows its part from
// keepStart to keepEnd, or as much of that part's start as fits.
int pushInside(int wanted, int length, int low, int high, int keepStart, int keepEnd)
{
    if (length <= high - low + 1)
        return qBound(low, wanted, high - length + 1);
    if (low + keepEnd <= high)
        return low;
    return qMax(high - keepEnd, low - keepStart);
}

// A window of the given size against one side of the anchor, lined up with
// the anchor's top or left edge, then pushed inside the given bounds.
QRect nextTo(Side side, const QRect &anchor, const QSize &size, const QRect &bounds,
             const QRect &keep)
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
    const QRect shown = keep.isEmpty() ? QRect(QPoint(), size) : keep;
    placed.moveLeft(pushInside(placed.left(), size.width(), bounds.left(), bounds.right(),
                               shown.left(), shown.right()));
    placed.moveTop(pushInside(placed.top(), size.height(), bounds.top(), bounds.bottom(),
                              shown.top(), shown.bottom()));
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

qint64 covered(const QRect &placed, const QList<QRect> &others)
{
    qint64 total = 0;
    for (const QRect &other : others)
        total += area(placed.intersected(other));
    return total;
}

// The other windows of the program that a new one should keep clear of.
QList<QRect> shownWindows(const QWidget *window, const QWidget *anchor)
{
    QList<QRect> shown;
    for (const QWidget *other : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = other->windowType();
        if (other != window && other != anchor && other->isVisible() && !other->isMinimized() &&
            (type == Qt::Window || type == Qt::Dialog))
            shown.append(other->frameGeometry());
    }
    return shown;
}

// What a window's frame adds to its size, and where its contents start in
// it. A window that has never been shown has no frame yet; it will get the
// same decoration as the anchor.
struct Decoration
{
    QSize size;
    QPoint contents;
};

Decoration decorationOf(const QWidget *window, const QWidget *anchor)
{
    const QWidget *framed =
        !anchor || window->frameGeometry() != window->geometry() ? window : anchor;
    return {framed->frameGeometry().size() - framed->size(),
            framed->geometry().topLeft() - framed->frameGeometry().topLeft()};
}

// Lays the window out for the room it may take and returns the least size
// it then needs.
QSize fitLayout(QWidget *window, const QSize &room)
{
    // Before its first show a window with a layout may still be smaller than
    // the layout will make it, and its children not yet where they will be;
    // one that sizes itself for its texts does so when it is polished.
    window->ensurePolished();
    if (auto *fits = dynamic_cast<FitsScreen *>(window))
        fits->fitInto(room);
    return window->minimumSizeHint().expandedTo(window->minimumSize());
}

// Should the window not fit the screen, its buttons are the part to see: in
// its frame's coordinates.
QRect buttonsOf(const QWidget *window, const QPoint &contents)
{
    QRect buttons;
    for (const QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        if (button->isVisibleTo(window))
            buttons |= QRect(button->mapTo(window, QPoint()) + contents, button->size());
    }
    return buttons;
}

// A shown window whose screen changes under it (it is dragged to another
// one, the phone is turned, a panel appears) is laid out for its new room
// and kept inside the work area, where it stands as far as it goes.
class ScreenWatch : public QObject
{
public:
    explicit ScreenWatch(QWidget *window) : QObject(window), window(window)
    {
        setObjectName(name());
        if (QWindow *handle = window->windowHandle())
            connect(handle, &QWindow::screenChanged, this, &ScreenWatch::follow);
        watch(window->screen());
    }

    // Found by its name, since the class has no meta-object of its own.
    static QString name() { return QStringLiteral("lukimo_screen_watch"); }

private:
    void watch(QScreen *screen)
    {
        disconnect(areaChanged);
        if (screen)
            areaChanged =
                connect(screen, &QScreen::availableGeometryChanged, this, &ScreenWatch::refit);
    }

    void follow(QScreen *screen)
    {
        watch(screen);
        refit();
    }

    void refit()
    {
        if (!window->isVisible() || window->isMinimized())
            return;
        const Decoration decoration = decorationOf(window, nullptr);
        const QRect available = window->screen()->availableGeometry();
        const QSize minimum = fitLayout(window, available.size() - decoration.size);
        window->resize(
            window->size().boundedTo(available.size() - decoration.size).expandedTo(minimum));
        if (window->layout())
            window->layout()->activate();
        const QSize frame = window->size() + decoration.size;
        const QRect keep = buttonsOf(window, decoration.contents);
        const QRect shown = keep.isEmpty() ? QRect(QPoint(), frame) : keep;
        const QPoint at = window->frameGeometry().topLeft();
        window->move(pushInside(at.x(), frame.width(), available.left(), available.right(),
                                shown.left(), shown.right()),
                     pushInside(at.y(), frame.height(), available.top(), available.bottom(),
                                shown.top(), shown.bottom()));
    }

    QWidget *window;
    QMetaObject::Connection areaChanged;
};

} // namespace

QRect placeBeside(const QRect &anchor, const QSize &frame, const QRect &available,
                  const QSize &minimum, const QList<QRect> &others, const QRect &keep)
{
    const QSize size = frame.boundedTo(available.size()).expandedTo(minimum);

    // Beside the anchor first, then beside each other window; the first
    // place that covers nothing wins, else the one that covers least.
    QList<QRect> neighbours{anchor};
    neighbours.append(others);
    QRect best;
    qint64 bestCovered = 0;
    for (const QRect &neighbour : neighbours) {
        for (Side side : sides) {
            const QRect placed = nextTo(side, neighbour, size, available, keep);
            if (placed.intersects(anchor))
                continue;
            const qint64 cover = covered(placed, others);
            if (best.isNull() || cover < bestCovered) {
                best = placed;
                bestCovered = cover;
            }
            if (cover == 0)
                return best;
        }
    }
    if (!best.isNull())
        return best;

    QRect roomiest;
    for (Side side : sides) {
        const QRect free = freeSide(side, anchor, available);
        const QSize shrunk = size.boundedTo(free.size());
        if (shrunk.isEmpty() || shrunk.width() < minimum.width() ||
            shrunk.height() < minimum.height())
            continue;
        const QRect placed = nextTo(side, anchor, shrunk, free, QRect());
        if (area(placed) > area(roomiest))
            roomiest = placed;
    }
    if (!roomiest.isEmpty())
        return roomiest;

    // Nowhere clear of the anchor: the side where it covers least of it.
    QRect least;
    for (Side side : sides) {
        const QRect placed = nextTo(side, anchor, size, available, keep);
        if (least.isNull() || area(placed.intersected(anchor)) < area(least.intersected(anchor)))
            least = placed;
    }
    return least;
}

void moveBeside(QWidget *window, const QWidget *anchor)
{
    if (!anchor || !anchor->isVisible())
        return;
    const Decoration decoration = decorationOf(window, anchor);
    const QRect available = anchor->screen()->availableGeometry();
    // Laid out for the screen wherever it goes, since a platform that places
    // windows itself still shows them on a screen.
    const QSize minimum = fitLayout(window, available.size() - decoration.size);
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return;
    window->resize(window->size().expandedTo(minimum));
    if (window->layout())
        window->layout()->activate();
    const QRect frame =
        placeBeside(anchor->frameGeometry(), window->size() + decoration.size, available,
                    minimum + decoration.size, shownWindows(window, anchor),
                    buttonsOf(window, decoration.contents));
    window->resize(frame.size() - decoration.size);
    window->move(frame.topLeft());
}

void showBeside(QWidget *window, const QWidget *anchor)
{
    if (window->isHidden())
        moveBeside(window, anchor);
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
    if (!window->findChild<QObject *>(ScreenWatch::name(), Qt::FindDirectChildrenOnly))
        new ScreenWatch(window);
}
