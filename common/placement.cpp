// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/placement.h"

#include "platform/platform.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QGridLayout>
#include <QLayout>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>

#include <map>
#include <numeric>
#include <tuple>
#include <utility>

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

// The largest rectangles of the area that none of the obstacles overlaps.
QList<QRect> freeRooms(const QRect &available, const QList<QRect> &obstacles)
{
    QList<QRect> rooms{available};
    for (const QRect &obstacle : obstacles) {
        QList<QRect> left;
        for (const QRect &room : std::as_const(rooms)) {
            if (!room.intersects(obstacle)) {
                left.append(room);
                continue;
            }
            const QRect parts[] = {
                QRect(room.topLeft(), QPoint(obstacle.left() - 1, room.bottom())),
                QRect(QPoint(obstacle.right() + 1, room.top()), room.bottomRight()),
                QRect(room.topLeft(), QPoint(room.right(), obstacle.top() - 1)),
                QRect(QPoint(room.left(), obstacle.bottom() + 1), room.bottomRight())};
            for (const QRect &part : parts) {
                if (part.isValid())
                    left.append(part);
            }
        }
        rooms = left;
    }
    return rooms;
}

// The window of the given size fitted into the room that shows most of it,
// lined up with the anchor as far as the room lets it; null where no room
// holds it at its least size.
QRect fitIntoRoom(const QRect &anchor, const QSize &size, const QSize &least,
                  const QList<QRect> &rooms)
{
    QRect best;
    for (const QRect &room : rooms) {
        const QSize fitted = size.boundedTo(room.size());
        if (fitted.width() < least.width() || fitted.height() < least.height() ||
            area(QRect(QPoint(), fitted)) <= area(best))
            continue;
        best = QRect(QPoint(qBound(room.left(), anchor.left(), room.right() - fitted.width() + 1),
                            qBound(room.top(), anchor.top(), room.bottom() - fitted.height() + 1)),
                     fitted);
    }
    return best;
}

// The other windows of the program that a new one should keep clear of.
QList<const QWidget *> shownWindows(const QWidget *window, const QWidget *anchor)
{
    QList<const QWidget *> shown;
    for (const QWidget *other : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = other->windowType();
        if (other != window && other != anchor && other->isVisible() && !other->isMinimized() &&
            (type == Qt::Window || type == Qt::Dialog))
            shown.append(other);
    }
    return shown;
}

QList<QRect> framesOf(const QList<const QWidget *> &windows)
{
    QList<QRect> frames;
    for (const QWidget *window : windows)
        frames.append(window->frameGeometry());
    return frames;
}

const QLatin1String bodyName("lukimo_scrolling_body");

// The scroll area that holds a window's contents. Until the window is
// fitted to less room than they take, it asks for all of their least size,
// as they did without it: the window grows with them (a row shown), rather
// than scrolling where the screen has room.
class ScrollingBody : public QScrollArea
{
public:
    explicit ScrollingBody(QWidget *window) : QScrollArea(window) {}

    void setFitted(bool fitted)
    {
        if (fitted == isFitted)
            return;
        isFitted = fitted;
        updateGeometry();
    }

    QSize minimumSizeHint() const override
    {
        const QWidget *contents = widget();
        if (isFitted || !contents)
            return QScrollArea::minimumSizeHint();
        return contents->minimumSizeHint().expandedTo(contents->minimumSize());
    }

protected:
    // The contents' own layout tells them, not the area, when it changes.
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == widget() && event->type() == QEvent::LayoutRequest && !isFitted)
            updateGeometry();
        return QScrollArea::eventFilter(watched, event);
    }

private:
    bool isFitted = false;
};

ScrollingBody *bodyOf(const QWidget *window)
{
    return static_cast<ScrollingBody *>(
        window->findChild<QScrollArea *>(bodyName, Qt::FindDirectChildrenOnly));
}

// Where a window's buttons of that kind are, in its own coordinates.
template <typename Button> QRect buttonsIn(const QWidget *window)
{
    QRect buttons;
    for (const Button *button : window->findChildren<Button *>()) {
        if (button->isVisibleTo(window))
            buttons |= QRect(button->mapTo(window, QPoint()), button->size());
    }
    return buttons;
}

// What another window must keep in sight, on the screen: its push buttons;
// all of it where it scrolls, since scrolling may bring them anywhere.
QList<QRect> keptOf(const QList<const QWidget *> &windows)
{
    QList<QRect> kept;
    for (const QWidget *window : windows) {
        const QScrollArea *body = bodyOf(window);
        if (body && body->widget() &&
            !body->viewport()->rect().contains(QRect(QPoint(), body->widget()->size()))) {
            kept.append(window->frameGeometry());
            continue;
        }
        const QRect buttons = buttonsIn<QPushButton>(window);
        if (!buttons.isEmpty())
            kept.append(buttons.translated(window->mapToGlobal(QPoint()))
                            .intersected(window->frameGeometry()));
    }
    return kept;
}

// The least size of a window's contents: where they scroll, what they take
// without scrolling.
QSize contentsMinimum(const QWidget *window)
{
    const QScrollArea *body = bodyOf(window);
    const QWidget *contents = body ? body->widget() : window;
    return contents->minimumSizeHint()
        .expandedTo(contents->minimumSize())
        .expandedTo(window->minimumSize());
}

// The least a window that scrolls inside itself is shrunk to.
constexpr QSize scrollingLeast(120, 100);

// What a window's frame adds to its size, and where its contents start in
// it. A window that has never been shown has no frame yet; it will get the
// same decoration as the anchor.
struct Decoration
{
    QSize size;
    QPoint contents;
    // Where the widget does not know its frame yet, it takes a move of its
    // frame for one of its contents: what such a move must add.
    QPoint unknown;
};

Decoration decorationOf(const QWidget *window, const QWidget *anchor)
{
    const QWidget *framed =
        !anchor || window->frameGeometry() != window->geometry() ? window : anchor;
    return {framed->frameGeometry().size() - framed->size(),
            framed->geometry().topLeft() - framed->frameGeometry().topLeft(), QPoint()};
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
    return contentsMinimum(window);
}

// Should the window not fit the screen, its buttons are the part to see: in
// its frame's coordinates.
QRect buttonsOf(const QWidget *window, const QPoint &contents)
{
    const QRect buttons = buttonsIn<QAbstractButton>(window);
    return buttons.isEmpty() ? buttons : buttons.translated(contents);
}

// A shown window is laid out again for the screen it is dragged to: only
// its layout and so its size change, since the user places it. One whose
// screen's work area changes under it (a phone turned, a panel added) is
// also kept inside that area, where it stands as far as it goes.
class ScreenWatch : public QObject
{
public:
    ScreenWatch(QWidget *window, const QWidget *anchor)
        : QObject(window), window(window), anchor(anchor)
    {
        setObjectName(name());
        // Queued: the screen changes in the middle of a move, and the window
        // is laid out again once the move is done, not inside it.
        if (QWindow *handle = window->windowHandle())
            connect(handle, &QWindow::screenChanged, this, &ScreenWatch::follow,
                    Qt::QueuedConnection);
        watch(window->screen());
    }

    // Found by its name, since the class has no meta-object of its own.
    static QString name() { return QStringLiteral("lukimo_screen_watch"); }

private:
    void watch(QScreen *screen)
    {
        disconnect(areaChanged);
        if (screen)
            areaChanged = connect(screen, &QScreen::availableGeometryChanged, this,
                                  &ScreenWatch::keepInside, Qt::QueuedConnection);
    }

    void follow(QScreen *screen)
    {
        watch(screen);
        if (window->isVisible() && !window->isMinimized())
            fitLayout(window, room(window->screen()->availableGeometry()));
    }

    QSize room(const QRect &available) const
    {
        return available.size() - decorationOf(window, nullptr).size;
    }

    void keepInside()
    {
        if (!window->isVisible() || window->isMinimized())
            return;
        // Where the window stands by the user's choice or its placement:
        // what this left it at, unless it has been moved or sized since.
        // Until then, a screen of a size it was kept on before gets it back
        // where it was kept then.
        const bool returns = platform::windowsReturnAfterScreenChanges();
        if (!returns || window->frameGeometry() != keptAt) {
            home = {window->frameGeometry().topLeft(), window->size()};
            keptOn.clear();
        }
        const Decoration decoration = decorationOf(window, nullptr);
        const QRect available = window->screen()->availableGeometry();
        const QSize minimum = fitLayout(window, room(available));
        const auto screenSize = std::make_pair(available.width(), available.height());
        if (const auto before = keptOn.find(screenSize); returns && before != keptOn.end()) {
            const QSize size = before->second.size() - decoration.size;
            // Kept there smaller than its layout, it scrolls inside itself
            // again.
            if (ScrollingBody *body = bodyOf(window)) {
                body->setFitted(size.width() < minimum.width() || size.height() < minimum.height());
                window->layout()->activate();
            }
            window->resize(size);
            window->move(before->second.topLeft());
            keptAt = window->frameGeometry();
            return;
        }
        keepFrom(available, minimum, decoration);
        keptAt = window->frameGeometry();
        if (returns)
            keptOn[screenSize] = keptAt;
    }

    void keepFrom(const QRect &available, const QSize &minimum, const Decoration &decoration)
    {
        window->resize(home.size().boundedTo(room(available)).expandedTo(minimum));
        if (window->layout())
            window->layout()->activate();
        const QSize frame = window->size() + decoration.size;
        const QRect keep = buttonsOf(window, decoration.contents);
        const QRect shown = keep.isEmpty() ? QRect(QPoint(), frame) : keep;
        const QPoint at = home.topLeft();
        window->move(pushInside(at.x(), frame.width(), available.left(), available.right(),
                                shown.left(), shown.right()),
                     pushInside(at.y(), frame.height(), available.top(), available.bottom(),
                                shown.top(), shown.bottom()));
        // Turned, a phone may have no room for it where it was.
        if (!anchor || !anchor->isVisible())
            return;
        QList<QRect> kept = keptOf(shownWindows(window, anchor));
        kept.append(anchor->frameGeometry());
        for (const QRect &other : std::as_const(kept)) {
            if (other.intersects(window->frameGeometry())) {
                moveBeside(window, anchor);
                return;
            }
        }
    }

    QWidget *window;
    QPointer<const QWidget> anchor;
    QMetaObject::Connection areaChanged;
    // The frame's top left and the window's size it goes back to, the
    // frame it was last kept at, and where it was kept on each size of
    // screen since it last stood by choice.
    QRect home;
    QRect keptAt;
    std::map<std::pair<int, int>, QRect> keptOn;
};

} // namespace

QGridLayout *WrappingRows::add(const QList<QWidget *> &widgets, const QList<int> &columnCounts)
{
    Row row{new QGridLayout, widgets, columnCounts};
    wrap(row, columnCounts.first());
    rows.append(row);
    return row.grid;
}

void WrappingRows::wrap(Row &row, int columns)
{
    if (row.columns == columns)
        return;
    row.columns = columns;
    for (QWidget *widget : row.widgets)
        row.grid->removeWidget(widget);
    for (int i = 0; i < row.widgets.size(); ++i)
        row.grid->addWidget(row.widgets[i], i / columns, i % columns);
}

void WrappingRows::fitInto(QWidget *window, const QSize &room)
{
    ScrollingBody *body = bodyOf(window);
    QLayout *layout = body ? body->widget()->layout() : window->layout();
    if (!usualMargins)
        usualMargins = layout->contentsMargins();
    // A screen without room for the window may have none for wide margins.
    constexpr int least = 4;
    const QMargins narrowMargins(
        qMin(usualMargins->left(), least), qMin(usualMargins->top(), least),
        qMin(usualMargins->right(), least), qMin(usualMargins->bottom(), least));
    // The margins, then how many columns of its counts each row takes.
    auto arrangement = [this, layout] {
        QList<qsizetype> choice{layout->contentsMargins() != *usualMargins};
        for (const Row &row : std::as_const(rows))
            choice << row.columnCounts.indexOf(row.columns);
        return choice;
    };
    auto arrange = [this, layout, &narrowMargins](const QList<qsizetype> &choice) {
        layout->setContentsMargins(choice.first() ? narrowMargins : *usualMargins);
        for (qsizetype i = 0; i < rows.size(); ++i)
            wrap(rows[i], rows[i].columnCounts[choice[i + 1]]);
        // The window's layout keeps what it measured of its rows until told.
        layout->invalidate();
        return layout->totalMinimumSize();
    };
    const QList<qsizetype> arranged = arrangement();
    const bool wasNarrow = narrow;
    const QSize before = window->size();

    // Of every arrangement, the one that fits the room with the fewest rows
    // wrapped, and with the usual margins where they fit as well; should none
    // fit, the one that leaves least of the window outside the room. Where
    // the usual layout fits, that is the one.
    QList<qsizetype> choice(rows.size() + 1, 0), best;
    std::tuple<qint64, qsizetype, qsizetype> bestKey;
    for (;;) {
        const QSize size = arrange(choice);
        const qint64 outside =
            qint64(size.width()) * size.height() -
            qint64(qMin(size.width(), room.width())) * qMin(size.height(), room.height());
        const qsizetype wraps = std::accumulate(choice.begin() + 1, choice.end(), qsizetype(0));
        const std::tuple<qint64, qsizetype, qsizetype> key{outside, wraps, choice.first()};
        if (best.isEmpty() || key < bestKey) {
            best = choice;
            bestKey = key;
        }
        qsizetype next = 0;
        while (next < choice.size() &&
               ++choice[next] == (next ? rows[next - 1].columnCounts.size() : 2))
            choice[next++] = 0;
        if (next == choice.size())
            break;
    }
    arrange(best);
    narrow = best != QList<qsizetype>(best.size(), 0);
    // The new least size first, so that the window may shrink to it.
    layout->activate();
    if (body) {
        body->updateGeometry();
        window->layout()->activate();
    }
    if (!narrow) {
        if (wasNarrow)
            window->resize(usualSize);
        return;
    }
    if (!wasNarrow)
        usualSize = before;
    // Narrow, it is no wider than the room, and as short as its layout lets
    // it be: a narrow screen is short of room.
    window->resize(qMin(before.width(), room.width()),
                   arrangement() == arranged ? before.height() : contentsMinimum(window).height());
}

QRect placeBeside(const QRect &anchor, const QSize &frame, const QRect &available,
                  const QSize &minimum, const QList<QRect> &others, const QRect &keep,
                  const QSize &scrollMinimum, const QList<QRect> &othersKeep)
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
    if (scrollMinimum.isValid()) {
        const QSize least = scrollMinimum.boundedTo(size);
        QList<QRect> obstacles{anchor};
        obstacles.append(others);
        const QRect whole = fitIntoRoom(anchor, size, size, freeRooms(available, obstacles));
        if (!whole.isNull())
            return whole;
        obstacles = {anchor};
        obstacles.append(othersKeep);
        const QRect fitted = fitIntoRoom(anchor, size, least, freeRooms(available, obstacles));
        if (!fitted.isNull())
            return fitted;
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

namespace {

// A shown widget keeps the frame it had at its last move, which in the
// browser may be from before the page framed it; its window knows the frame
// now.
Decoration shownDecorationOf(const QWidget *window, const QWidget *anchor)
{
    const QWindow *handle = window->windowHandle();
    if (window->isVisible() && handle && window->frameGeometry() == window->geometry()) {
        const QMargins frame = handle->frameMargins();
        if (!frame.isNull())
            return {QSize(frame.left() + frame.right(), frame.top() + frame.bottom()),
                    QPoint(frame.left(), frame.top()), QPoint(frame.left(), frame.top())};
    }
    return decorationOf(window, anchor);
}

} // namespace

void moveBeside(QWidget *window, const QWidget *anchor)
{
    if (!anchor || !anchor->isVisible())
        return;
    const Decoration decoration = shownDecorationOf(window, anchor);
    const QRect available = anchor->screen()->availableGeometry();
    // Laid out for the screen wherever it goes, since a platform that places
    // windows itself still shows them on a screen.
    const QSize minimum = fitLayout(window, available.size() - decoration.size);
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return;
    window->resize(window->size().expandedTo(minimum));
    if (window->layout())
        window->layout()->activate();
    const QList<const QWidget *> others = shownWindows(window, anchor);
    const bool scrolls = bodyOf(window) || qobject_cast<const QAbstractScrollArea *>(window);
    const QSize scrollMinimum =
        scrolls ? scrollingLeast.boundedTo(minimum) + decoration.size : QSize();
    const QRect frame =
        placeBeside(anchor->frameGeometry(), window->size() + decoration.size, available,
                    minimum + decoration.size, framesOf(others),
                    buttonsOf(window, decoration.contents), scrollMinimum, keptOf(others));
    if (ScrollingBody *body = bodyOf(window)) {
        const QSize size = frame.size() - decoration.size;
        body->setFitted(size.width() < minimum.width() || size.height() < minimum.height());
        window->layout()->activate();
    }
    window->resize(frame.size() - decoration.size);
    window->move(frame.topLeft() + decoration.unknown);
}

void showBeside(QWidget *window, const QWidget *anchor)
{
    const bool placing = window->isHidden();
    if (placing)
        platform::prepareWindow(window);
    const QSize assumed = placing ? decorationOf(window, anchor).size : QSize();
    if (placing)
        moveBeside(window, anchor);
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    // A window framed only once shown may get another frame than the anchor
    // (in the browser the number's window has none): placed again for its
    // own, so that the frame too is on the screen.
    if (placing && window->frameGeometry() != window->geometry() &&
        decorationOf(window, anchor).size != assumed)
        moveBeside(window, anchor);
    window->raise();
    window->activateWindow();
    if (!window->findChild<QObject *>(ScreenWatch::name(), Qt::FindDirectChildrenOnly))
        new ScreenWatch(window, anchor);
}

void setScrollingLayout(QWidget *window, QLayout *layout)
{
    auto *area = new ScrollingBody(window);
    area->setObjectName(bodyName);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    // The contents take Tab, not the area that holds them.
    area->setFocusPolicy(Qt::NoFocus);
    auto *contents = new QWidget;
    // A window's own layout has wider margins than one inside it.
    const QStyle *style = window->style();
    layout->setContentsMargins(style->pixelMetric(QStyle::PM_LayoutLeftMargin, nullptr, window),
                               style->pixelMetric(QStyle::PM_LayoutTopMargin, nullptr, window),
                               style->pixelMetric(QStyle::PM_LayoutRightMargin, nullptr, window),
                               style->pixelMetric(QStyle::PM_LayoutBottomMargin, nullptr, window));
    // setWidget() makes the area the contents' event filter.
    area->setWidget(contents);
    contents->setLayout(layout);
    // The window's own background shows through, as it did without it.
    area->viewport()->setAutoFillBackground(false);
    contents->setAutoFillBackground(false);
    auto *outer = new QVBoxLayout(window);
    outer->setContentsMargins(QMargins());
    outer->addWidget(area);
    platform::scrollsByTouch(area);
}
