// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef HELPLINKACCESSIBLE_H
#define HELPLINKACCESSIBLE_H

#include <QAccessibleInterface>
#include <QPointer>
#include <QString>

class HelpWindow;

// One link of the help page as a screen reader finds it: a child of the help
// window's text with the link's words as its name, focused while the text's
// selection is the link (where Tab leaves it), and followed by its action.
class HelpLinkAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    HelpLinkAccessible(HelpWindow *window, int start, int end, const QString &href);

    bool isSameLink(int otherStart, int otherEnd, const QString &otherHref) const;
    bool isSelected() const;

    bool isValid() const override;
    QObject *object() const override;
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QString text(QAccessible::Text kind) const override;
    void setText(QAccessible::Text kind, const QString &text) override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString &action) override;
    QStringList keyBindingsForAction(const QString &action) const override;

private:
    QPointer<HelpWindow> help;
    int start;
    int end;
    QString href;
};

#endif
