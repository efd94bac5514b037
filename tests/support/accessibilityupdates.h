// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef ACCESSIBILITYUPDATES_H
#define ACCESSIBILITYUPDATES_H

class QAccessibleEvent;

// The toolkit passes an accessibility event on (to a screen reader, or to a
// handler set with installUpdateHandler()) only while a screen reader is
// active, which it never is on the offscreen platform. This takes the
// toolkit's entry point itself, for the program's calls and the widgets'
// alike, and hands every event to handler instead. Only a test program built
// with accessibilityupdates_posix.cpp or accessibilityupdates_windows.cpp
// has it: it changes the toolkit for the whole process.
void interceptAccessibilityUpdates(void (*handler)(QAccessibleEvent *));

#endif
