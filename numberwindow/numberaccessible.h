// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef NUMBERACCESSIBLE_H
#define NUMBERACCESSIBLE_H

#include <QAccessibleWidget>

class Random;

// What a screen reader finds in the number window. Qt's own view of a
// seven-segment display makes the number its name, so the name would change
// ten times a second. Ours is a label whose name the window sets itself
// (with the number once the roll stops), and whose value is the number at a
// stop.
class NumberAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit NumberAccessible(Random *window);

    // The number at a stop; while the digits roll, not a number at all, so
    // that no stop (not even on 0) looks like the roll.
    static QVariant valueOf(const Random &window);
    // The number at a stop as a draw is read, every digit of it: "002", not
    // "2".
    static QString digitsOf(const Random &window);

    QString text(QAccessible::Text kind) const override;
    void *interface_cast(QAccessible::InterfaceType type) override;
    // Where the number is a button, pressing it stops or restarts the roll.
    QStringList actionNames() const override;
    void doAction(const QString &action) override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant &value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    Random *numberWindow() const;
};

#endif
