// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef SETTINGSKEYS_H
#define SETTINGSKEYS_H

#include <QString>

class QPushButton;
class QRadioButton;
class QWidget;
class Setup_config;

// Finds the settings dialog's controls the way a user does: a digit key by
// its group ("max1_group" .. "max4_group") and its label, a push button by
// its text. Each returns null when there is no such control.
QRadioButton *digitKey(QWidget *dialog, const char *group, const QString &label);
QPushButton *pushButton(QWidget *dialog, const QString &text);

// The one settings dialog among the top-level windows (a number window
// makes its own), or null.
Setup_config *settingsDialog();

#endif
