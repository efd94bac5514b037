// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef IDENTITY_H
#define IDENTITY_H

// Gives every window the program's icon, ties the running windows to the
// desktop entry's launcher in docks and task bars, and pins the names the
// user's data folder is found by. Call it once the application object
// exists.
void setApplicationIdentity();

#endif
