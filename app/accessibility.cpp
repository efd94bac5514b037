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

// The toolkit asks once for each class the object derives from, so the casts
// alone decide.
QAccessibleInterface *accessibleFor(const QString &, QObject *object)
{
    if (auto *window = qobject_cast<Random *>(object))
        return new NumberAccessible(window);
    if (auto *help = qobject_cast<HelpWindow *>(object))
        return new HelpAccessible(help);
    if (auto *announcer = qobject_cast<Announcer *>(object))
        return new QAccessibleWidget(announcer, QAccessible::Notification);
    return nullptr;
}

} // namespace

void installAccessibility()
{
    // Installing it again, as each start-up in the tests does, adds nothing.
    QAccessible::installFactory(accessibleFor);
}
