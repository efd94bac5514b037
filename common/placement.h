// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef PLACEMENT_H
#define PLACEMENT_H

#include <QRect>
#include <QSize>

class QWidget;

// Where a window opened from another one goes, in frame geometry: beside the
// anchor (to its right, else below, else to its left, else above), wholly
// inside the available area and clear of the anchor. A window larger than the
// area is cut down to it. One that fits on no side is shrunk, but not below
// its minimum, into the free side where it keeps the most room; failing that
// it stays as close to the anchor's right as the area allows.
QRect placeBeside(const QRect &anchor, const QSize &frame, const QRect &available,
                  const QSize &minimum = QSize());

// Shows the window. A hidden one is first placed beside the anchor on the
// anchor's screen, unless the platform places windows itself (Wayland).
void showBeside(QWidget *window, const QWidget *anchor);

#endif
