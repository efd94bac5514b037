// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/accessibility.h"

#include "common/announcer.h"
#include "help/helpaccessible.h"
#include "help/helpwindow.h"
#include "numberwindow/numberaccessible.h"
#include "numberwindow/random.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace {

QAccessibleInterface *accessibleFor(const QString &className, QObject *object)
{
    if (className == QLatin1String("Random"))
        if (auto *window = qobject_cast<Random *>(object))
            return new NumberAccessible(window);
    if (className == QLatin1String("HelpWindow"))
        if (auto *help = qobject_cast<HelpWindow *>(object))
            return new HelpAccessible(help);
    if (className == QLatin1String("Announcer"))
        if (auto *announcer = qobject_cast<Announcer *>(object))
            return new QAccessibleWidget(announcer, QAccessible::Notification);
    return nullptr;
}

bool installed = false;

} // namespace

void installAccessibility()
{
    // The toolkit keeps every factory it is given, and asks each in turn.
    if (installed)
        return;
    QAccessible::installFactory(accessibleFor);
    installed = true;
}
