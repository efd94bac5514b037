// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/settingskeys.h"

#include "settings/setup_config.h"

#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

QRadioButton *digitKey(QWidget *dialog, const char *group, const QString &label)
{
    auto *box = dialog->findChild<QGroupBox *>(QLatin1String(group));
    if (!box)
        return nullptr;
    for (QRadioButton *key : box->findChildren<QRadioButton *>())
        if (key->text() == label)
            return key;
    return nullptr;
}

QPushButton *pushButton(QWidget *dialog, const QString &text)
{
    for (QPushButton *button : dialog->findChildren<QPushButton *>())
        if (button->text() == text)
            return button;
    return nullptr;
}

Setup_config *settingsDialog()
{
    Setup_config *found = nullptr;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<Setup_config *>(window)) {
            if (found)
                return nullptr;
            found = dialog;
        }
    }
    return found;
}
