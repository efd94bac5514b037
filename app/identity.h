// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef IDENTITY_H
#define IDENTITY_H

// Tells the desktop who the program is: every window shows the program's
// icon, and the desktop entry's id ties the running windows to the launcher
// in docks and task bars. Call it once the application object exists.
void presentApplication();

#endif
