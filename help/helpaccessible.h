// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef HELPACCESSIBLE_H
#define HELPACCESSIBLE_H

#include <QAccessibleWidget>
#include <QList>

class HelpLinkAccessible;
class HelpWindow;

// The help window as a screen reader finds it: a read-only document whose
// text it reads at the caret, with the page's links as children. Qt's own
// view of a text browser is a label, which a screen reader announces by its
// title and never reads.
class HelpAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit HelpAccessible(HelpWindow *window);
    ~HelpAccessible() override;

    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *focusChild() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(QAccessible::Text kind) const override;
    QString text(int startOffset, int endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                         int *endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

private:
    HelpWindow *help() const;
    // The page's links, found afresh on each look, since the page is loaded
    // only when first shown; a link keeps its interface while it stays.
    QList<HelpLinkAccessible *> links() const;
    void tellLinkFocused();

    // Held by id: the toolkit owns the interfaces, and may have let them go.
    mutable QList<QAccessible::Id> linkIds;
    QAccessible::Id focusedLink = 0;
    QMetaObject::Connection followCursor;
};

#endif
