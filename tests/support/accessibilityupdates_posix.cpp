// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/accessibilityupdates.h"

#include <QAccessible>

namespace {

void (*interceptor)(QAccessibleEvent *) = nullptr;

} // namespace

void interceptAccessibilityUpdates(void (*handler)(QAccessibleEvent *))
{
    interceptor = handler;
}

// Defined in the program, it takes the place of the toolkit's own for every
// caller in the process, the toolkit's libraries included.
void QAccessible::updateAccessibility(QAccessibleEvent *event)
{
    if (interceptor)
        interceptor(event);
}
