// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "numberwindow/numberaccessible.h"

#include "numberwindow/random.h"
#include "platform/platform.h"

NumberAccessible::NumberAccessible(Random *window)
    : QAccessibleWidget(window,
                        platform::numberIsAButton() ? QAccessible::Button : QAccessible::StaticText)
{
}

QStringList NumberAccessible::actionNames() const
{
    QStringList names = QAccessibleWidget::actionNames();
    if (role() == QAccessible::Button)
        names.prepend(pressAction());
    return names;
}

void NumberAccessible::doAction(const QString &action)
{
    if (action == pressAction() && role() == QAccessible::Button)
        numberWindow()->leftPress();
    else
        QAccessibleWidget::doAction(action);
}

QString NumberAccessible::text(QAccessible::Text kind) const
{
    if (kind == QAccessible::Value)
        return numberWindow()->isRolling() ? QString() : digitsOf(*numberWindow());
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

QString NumberAccessible::digitsOf(const Random &window)
{
    return QStringLiteral("%1").arg(window.intValue(), 3, 10, QLatin1Char('0'));
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
