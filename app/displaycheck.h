// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef DISPLAYCHECK_H
#define DISPLAYCHECK_H

#include <QString>

// Watches the application object open its display. Qt ends a program whose
// display cannot be opened with an abort, a core dump and advice to
// reinstall; under this watch it ends instead with one line on standard
// error that names the display, and exit status 1. Create it just before
// the application object and ask usable() just after it.
class DisplayCheck
{
public:
    DisplayCheck(int argc, char **argv);
    ~DisplayCheck();
    DisplayCheck(const DisplayCheck &) = delete;
    DisplayCheck &operator=(const DisplayCheck &) = delete;

    // Ends the watch, passing on what the toolkit said while it opened the
    // display. False, with a line on standard error, when the display has
    // too few colours to paint the program's windows on.
    bool usable();

    // The display the command line (-platform) and the environment ask for,
    // as a user would name it: X display ":1", Wayland display "wayland-0",
    // or the platform's name.
    static QString describe(int argc, char **argv);

private:
    bool watching = true;
};

#endif
