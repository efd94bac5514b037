// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/helplinkaccessible.h"

#include "help/helpwindow.h"

#include <QTextCursor>
#include <QTextDocument>

HelpLinkAccessible::HelpLinkAccessible(HelpWindow *window, int start, int end, const QString &href)
    : help(window), start(start), end(end), href(href)
{
}

bool HelpLinkAccessible::isSameLink(int otherStart, int otherEnd, const QString &otherHref) const
{
    return start == otherStart && end == otherEnd && href == otherHref;
}

bool HelpLinkAccessible::isSelected() const
{
    const QTextCursor cursor = help->textCursor();
    return cursor.selectionStart() == start && cursor.selectionEnd() == end;
}

bool HelpLinkAccessible::isValid() const
{
    return help;
}

QObject *HelpLinkAccessible::object() const
{
    return nullptr;
}

QWindow *HelpLinkAccessible::window() const
{
    return help ? help->windowHandle() : nullptr;
}

QAccessibleInterface *HelpLinkAccessible::parent() const
{
    return QAccessible::queryAccessibleInterface(help);
}

QAccessibleInterface *HelpLinkAccessible::child(int) const
{
    return nullptr;
}

int HelpLinkAccessible::childCount() const
{
    return 0;
}

int HelpLinkAccessible::indexOfChild(const QAccessibleInterface *) const
{
    return -1;
}

QAccessibleInterface *HelpLinkAccessible::childAt(int, int) const
{
    return nullptr;
}

QString HelpLinkAccessible::text(QAccessible::Text kind) const
{
    if (!help)
        return QString();
    if (kind == QAccessible::Name)
        return help->toPlainText().mid(start, end - start);
    if (kind == QAccessible::Value)
        return href;
    return QString();
}

void HelpLinkAccessible::setText(QAccessible::Text, const QString &) {}

QRect HelpLinkAccessible::rect() const
{
    if (!help)
        return QRect();
    QTextCursor cursor(help->document());
    cursor.setPosition(start);
    QRect area = help->cursorRect(cursor);
    cursor.setPosition(end);
    area = area.united(help->cursorRect(cursor));
    return QRect(help->viewport()->mapToGlobal(area.topLeft()), area.size());
}

QAccessible::Role HelpLinkAccessible::role() const
{
    return QAccessible::Link;
}

QAccessible::State HelpLinkAccessible::state() const
{
    QAccessible::State state;
    state.focusable = true;
    state.linked = true;
    state.focused = help && help->hasFocus() && isSelected();
    return state;
}

void *HelpLinkAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ActionInterface)
        return static_cast<QAccessibleActionInterface *>(this);
    return nullptr;
}

QStringList HelpLinkAccessible::actionNames() const
{
    return {pressAction()};
}

void HelpLinkAccessible::doAction(const QString &action)
{
    if (help && action == pressAction())
        help->setSource(help->source().resolved(QUrl(href)));
}

QStringList HelpLinkAccessible::keyBindingsForAction(const QString &) const
{
    return {};
}
