// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef HELPOPENER_H
#define HELPOPENER_H

#include <memory>

class HelpWindow;

// A help window built in the run directory, so that it finds the real help
// page, and shown; null when it never appears.
std::unique_ptr<HelpWindow> openHelpOnThePage();

#endif
