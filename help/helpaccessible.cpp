// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/helpaccessible.h"

#include "help/helplinkaccessible.h"
#include "help/helpwindow.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

HelpAccessible::HelpAccessible(HelpWindow *window)
    : QAccessibleWidget(window, QAccessible::Document)
{
    // Tab puts the selection on the next link, the arrows take it off again:
    // the screen reader's focus follows.
    followCursor = QObject::connect(window, &QTextEdit::cursorPositionChanged, window,
                                    [this] { tellLinkFocused(); });
}

HelpAccessible::~HelpAccessible()
{
    QObject::disconnect(followCursor);
    for (QAccessible::Id id : std::as_const(linkIds))
        QAccessible::deleteAccessibleInterface(id);
}

HelpWindow *HelpAccessible::help() const
{
    return static_cast<HelpWindow *>(widget());
}

QAccessible::Role HelpAccessible::role() const
{
    return QAccessible::Document;
}

QAccessible::State HelpAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    state.multiLine = true;
    state.selectableText = true;
    state.focusable = true;
    return state;
}

QList<HelpLinkAccessible *> HelpAccessible::links() const
{
    struct Found
    {
        int start;
        int end;
        QString href;
    };
    QList<Found> found;
    for (QTextBlock block = help()->document()->begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextCharFormat format = fragment.fragment().charFormat();
            if (!format.isAnchor() || format.anchorHref().isEmpty())
                continue;
            const int start = fragment.fragment().position();
            const int end = start + fragment.fragment().length();
            // One link may run over pieces of differing format.
            if (!found.isEmpty() && found.last().end == start &&
                found.last().href == format.anchorHref())
                found.last().end = end;
            else
                found.append({start, end, format.anchorHref()});
        }
    }

    QList<HelpLinkAccessible *> faces;
    QList<QAccessible::Id> kept;
    for (const Found &link : found) {
        HelpLinkAccessible *face = nullptr;
        for (QAccessible::Id id : std::as_const(linkIds)) {
            auto *old = static_cast<HelpLinkAccessible *>(QAccessible::accessibleInterface(id));
            if (old && old->isSameLink(link.start, link.end, link.href)) {
                face = old;
                kept.append(id);
            }
        }
        if (!face) {
            face = new HelpLinkAccessible(help(), link.start, link.end, link.href);
            kept.append(QAccessible::registerAccessibleInterface(face));
        }
        faces.append(face);
    }
    for (QAccessible::Id id : std::as_const(linkIds))
        if (!kept.contains(id))
            QAccessible::deleteAccessibleInterface(id);
    linkIds = kept;
    return faces;
}

void HelpAccessible::tellLinkFocused()
{
    if (!help()->hasFocus())
        return;
    QAccessibleInterface *focused = nullptr;
    for (HelpLinkAccessible *link : links())
        if (link->isSelected())
            focused = link;
    const QAccessible::Id id = focused ? QAccessible::uniqueId(focused) : 0;
    if (id == focusedLink)
        return;
    focusedLink = id;
    QAccessibleEvent event(focused ? focused : this, QAccessible::Focus);
    QAccessible::updateAccessibility(&event);
}

int HelpAccessible::childCount() const
{
    return QAccessibleWidget::childCount() + links().size();
}

QAccessibleInterface *HelpAccessible::child(int index) const
{
    const int widgets = QAccessibleWidget::childCount();
    if (index < widgets)
        return QAccessibleWidget::child(index);
    const QList<HelpLinkAccessible *> all = links();
    return index - widgets < all.size() ? all.at(index - widgets) : nullptr;
}

int HelpAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const int link =
        linkIds.indexOf(QAccessible::uniqueId(const_cast<QAccessibleInterface *>(child)));
    if (link >= 0)
        return QAccessibleWidget::childCount() + link;
    return QAccessibleWidget::indexOfChild(child);
}

QAccessibleInterface *HelpAccessible::focusChild() const
{
    for (HelpLinkAccessible *link : links())
        if (link->state().focused)
            return link;
    return QAccessibleWidget::focusChild();
}

void *HelpAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

void HelpAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    const QTextCursor cursor = help()->textCursor();
    *startOffset = *endOffset = 0;
    if (selectionIndex == 0 && cursor.hasSelection()) {
        *startOffset = cursor.selectionStart();
        *endOffset = cursor.selectionEnd();
    }
}

int HelpAccessible::selectionCount() const
{
    return help()->textCursor().hasSelection() ? 1 : 0;
}

void HelpAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void HelpAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex != 0)
        return;
    QTextCursor cursor = help()->textCursor();
    cursor.clearSelection();
    help()->setTextCursor(cursor);
}

void HelpAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex != 0)
        return;
    QTextCursor cursor = help()->textCursor();
    cursor.setPosition(qBound(0, startOffset, characterCount()));
    cursor.setPosition(qBound(0, endOffset, characterCount()), QTextCursor::KeepAnchor);
    help()->setTextCursor(cursor);
}

int HelpAccessible::cursorPosition() const
{
    return help()->textCursor().position();
}

void HelpAccessible::setCursorPosition(int position)
{
    QTextCursor cursor = help()->textCursor();
    cursor.setPosition(qBound(0, position, characterCount()));
    help()->setTextCursor(cursor);
}

QString HelpAccessible::text(QAccessible::Text kind) const
{
    return QAccessibleWidget::text(kind);
}

QString HelpAccessible::text(int startOffset, int endOffset) const
{
    return help()->toPlainText().mid(startOffset, endOffset - startOffset);
}

// Lines as the window shows them, wrapped; the rest as the toolkit finds it
// in the plain text.
QString HelpAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                     int *startOffset, int *endOffset) const
{
    if (boundaryType != QAccessible::LineBoundary || offset < 0 || offset > characterCount())
        return QAccessibleTextInterface::textAtOffset(offset, boundaryType, startOffset, endOffset);
    QTextCursor cursor(help()->document());
    cursor.setPosition(offset);
    cursor.movePosition(QTextCursor::StartOfLine);
    *startOffset = cursor.position();
    cursor.movePosition(QTextCursor::EndOfLine);
    // The line takes its break along, as a screen reader expects.
    *endOffset = qMin(cursor.position() + 1, characterCount());
    return text(*startOffset, *endOffset);
}

int HelpAccessible::characterCount() const
{
    return help()->document()->characterCount() - 1;
}

QRect HelpAccessible::characterRect(int offset) const
{
    QTextCursor cursor(help()->document());
    cursor.setPosition(qBound(0, offset, characterCount()));
    QRect area = help()->cursorRect(cursor);
    const QString character = text(offset, offset + 1);
    area.setWidth(help()->fontMetrics().horizontalAdvance(character));
    return QRect(help()->viewport()->mapToGlobal(area.topLeft()), area.size());
}

int HelpAccessible::offsetAtPoint(const QPoint &point) const
{
    return help()->cursorForPosition(help()->viewport()->mapFromGlobal(point)).position();
}

void HelpAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    setSelection(0, startIndex, endIndex);
    help()->ensureCursorVisible();
}

QString HelpAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    *startOffset = 0;
    *endOffset = characterCount();
    Q_UNUSED(offset);
    return QString();
}
