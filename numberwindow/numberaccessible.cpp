// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "numberwindow/numberaccessible.h"

#include "numberwindow/random.h"

NumberAccessible::NumberAccessible(Random *window)
    : QAccessibleWidget(window, QAccessible::StaticText)
{
}

QString NumberAccessible::text(QAccessible::Text kind) const
{
    if (kind == QAccessible::Value)
        return numberWindow()->isRolling() ? QString()
                                           : QString::number(numberWindow()->intValue());
    return QAccessibleWidget::text(kind);
}

void *NumberAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QVariant NumberAccessible::valueOf(const Random &window)
{
    return window.isRolling() ? QVariant(qQNaN()) : QVariant(window.intValue());
}

QVariant NumberAccessible::currentValue() const
{
    return valueOf(*numberWindow());
}

void NumberAccessible::setCurrentValue(const QVariant &) {}

QVariant NumberAccessible::maximumValue() const
{
    return 9999;
}

QVariant NumberAccessible::minimumValue() const
{
    return 0;
}

QVariant NumberAccessible::minimumStepSize() const
{
    return 1;
}

Random *NumberAccessible::numberWindow() const
{
    return static_cast<Random *>(widget());
}
