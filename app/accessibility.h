// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef ACCESSIBILITY_H
#define ACCESSIBILITY_H

// Gives the widgets whose toolkit view tells a screen reader too little (the
// number window, the help window, the announcements) views of their own. Call it once the
// application object exists and before any window is shown; calling it again
// changes nothing.
void installAccessibility();

#endif
