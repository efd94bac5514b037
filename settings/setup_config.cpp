// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/setup_config.h"

#include "common/placement.h"
#include "common/radiogroupfocus.h"
#include "common/trace.h"
#include "help/helpwindow.h"
#include "pastdata/input_serch.h"
#include "platform/platform.h"

#include <QAction>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const char *const digitLabels[Setup_config::DigitButtons] = {"9", "8", "7", "6", "5", "4",
                                                             "3", "2", "1", "0", "#", "*"};
// Each digit group shows its buttons as a keypad: 9 8 7 / 6 5 4 / 3 2 1 / # * 0.
const int keypadRows[4][3] = {{0, 1, 2}, {3, 4, 5}, {6, 7, 8}, {10, 11, 9}};
const int zeroIndex = 9;

} // namespace

Setup_config::Setup_config()
{
    resize(540, 250);
    setWindowTitle(tr("settei menu numbers3"));
    setToolTip(tr("Settei menu numbers3"));
    // Tooltips that only repeat a name would be read twice by a screen reader
    // (it reads a tooltip as the description when there is no other), so
    // those widgets say what they are for instead.
    setAccessibleDescription(
        tr("Limits or picks each digit of the number; opens the help and the past data"));
    help_window = std::make_unique<HelpWindow>();
    serch_dialog = std::make_unique<Input_Serch>();

    mode_group = new QGroupBox(tr("mode"), this);
    mode_group->setObjectName(QStringLiteral("mode_group"));
    type_group = new QGroupBox(tr("type"), this);
    type_group->setObjectName(QStringLiteral("type_group"));
    numbers3_radio = new QRadioButton(tr("Numbers3"), type_group);
    numbers3_radio->setObjectName(QStringLiteral("numbers3_radio"));
    numbers3_radio->setToolTip(tr("Numbers3"));
    numbers3_radio->setAccessibleDescription(tr("Three-digit numbers"));
    numbers3_radio->setChecked(true);
    numbers4_radio = new QRadioButton(tr("Numbers4"), type_group);
    numbers4_radio->setObjectName(QStringLiteral("numbers4_radio"));
    numbers4_radio->setToolTip(tr("Numbers4"));
    numbers4_radio->setAccessibleDescription(tr("Four-digit numbers"));
    numbers4_radio->setEnabled(false);
    random_radio = new QRadioButton(tr("Random mode"), mode_group);
    random_radio->setObjectName(QStringLiteral("random_radio"));
    random_radio->setToolTip(tr("Rundom mode"));
    random_radio->setChecked(true);
    random_radio->setAccessibleDescription(
        tr("Each digit is drawn at random, up to the key chosen for its position"));
    self_radio = new QRadioButton(tr("self mode"), mode_group);
    self_radio->setObjectName(QStringLiteral("self_radio"));
    self_radio->setToolTip(tr("self mode"));
    self_radio->setAccessibleDescription(tr("Each digit is the key chosen for its position"));

    max4_group = createDigitGroup(tr("Max_4"), tr("%1, thousands digit"), max4_buttons);
    max4_group->setObjectName(QStringLiteral("max4_group"));
    max4_group->setVisible(false);
    max3_group = createDigitGroup(tr("Max_3"), tr("%1, hundreds digit"), max3_buttons);
    max3_group->setObjectName(QStringLiteral("max3_group"));
    max3_group->setToolTip(tr("3 digdit"));
    max2_group = createDigitGroup(tr("Max_2"), tr("%1, tens digit"), max2_buttons);
    max2_group->setObjectName(QStringLiteral("max2_group"));
    max2_group->setToolTip(tr("2 digdit"));
    max1_group = createDigitGroup(tr("Max_1"), tr("%1, ones digit"), max1_buttons);
    max1_group->setObjectName(QStringLiteral("max1_group"));
    max1_group->setToolTip(tr("1 digdit"));

    auto *ok_button = new QPushButton(QStringLiteral("ok"), this);
    ok_button->setToolTip(tr("OK and close"));
    auto *version_button = new QPushButton(tr("Version"), this);
    version_button->setToolTip(tr("Version"));
    version_button->setAccessibleDescription(tr("Shows the version and the licence"));
    help_button = new QPushButton(tr("help"), this);
    help_button->setToolTip(tr("Help"));
    help_button->setAccessibleDescription(tr("Shows how to use Lukimo"));
    auto *serch_button = new QPushButton(tr("serch"), this);
    serch_button->setToolTip(tr("Past Data Serch menu"));

    auto *modeLayout = new QVBoxLayout;
    modeLayout->addWidget(random_radio);
    modeLayout->addWidget(self_radio);
    mode_group->setLayout(modeLayout);
    auto *typeLayout = new QVBoxLayout;
    typeLayout->addWidget(numbers3_radio);
    typeLayout->addWidget(numbers4_radio);
    type_group->setLayout(typeLayout);

    // Each row stands on one line, as on a desktop, until fitInto() wraps it.
    auto *mainLayout = new QVBoxLayout;
    mainLayout->addLayout(wrapping_rows.add({mode_group, type_group}, {2, 1}));
    mainLayout->addLayout(
        wrapping_rows.add({max1_group, max2_group, max3_group, max4_group}, {4, 2, 1}));
    mainLayout->addLayout(
        wrapping_rows.add({ok_button, version_button, serch_button, help_button}, {4, 2, 1}));
    setScrollingLayout(this, mainLayout);

    // Tab reads the dialog as the eye does, row by row from the left; Qt
    // itself makes each group of buttons one stop, at its checked button.
    QList<QWidget *> tabStops = {random_radio, self_radio, numbers3_radio, numbers4_radio};
    for (QRadioButton *const *keys : {max1_buttons, max2_buttons, max3_buttons, max4_buttons}) {
        for (const auto &row : keypadRows)
            for (int index : row)
                tabStops.append(keys[index]);
    }
    tabStops << ok_button << version_button << serch_button << help_button;
    for (qsizetype i = 1; i < tabStops.size(); ++i)
        setTabOrder(tabStops[i - 1], tabStops[i]);
    // Coming back to the window, Qt returns the focus to the button it left,
    // which may no longer be the checked one (a screen reader checked
    // another, or a press was let go beside its button).
    for (QWidget *group : {mode_group, type_group, max1_group, max2_group, max3_group, max4_group})
        RadioGroupFocus::install(group);

    connect(ok_button, &QPushButton::clicked, this, &Setup_config::Push_button);
    connect(version_button, &QPushButton::clicked, this, &Setup_config::show_Version);
    for (int i = 0; i <= zeroIndex; ++i)
        connect(max1_buttons[i], &QRadioButton::clicked, this, &Setup_config::check_ok);
    for (int i = 0; i <= zeroIndex; ++i)
        connect(max2_buttons[i], &QRadioButton::clicked, this, &Setup_config::check_ok2);
    for (int i = 0; i <= zeroIndex; ++i)
        connect(max3_buttons[i], &QRadioButton::clicked, this, &Setup_config::check_ok3);
    connect(serch_button, &QPushButton::clicked, this, &Setup_config::push_serch);
    connect(help_button, &QPushButton::clicked, this, &Setup_config::help_exe);

    help_action = new QAction(tr("help"), this);
    help_action->setShortcuts(QKeySequence::HelpContents);
    connect(help_action, &QAction::triggered, this, &Setup_config::help_exe);
    quit_action = new QAction(tr("Quit"), this);
    // Desktops without a quit key of their own (Windows, a bare X session)
    // still get Ctrl+Q.
    QList<QKeySequence> quitKeys = QKeySequence::keyBindings(QKeySequence::Quit);
    const QKeySequence ctrlQ(Qt::CTRL | Qt::Key_Q);
    if (!quitKeys.contains(ctrlQ))
        quitKeys.append(ctrlQ);
    // In a browser tab the keys are the browser's, and quitting means
    // nothing: closing the tab ends the program.
    if (platform::hasQuitAction())
        quit_action->setShortcuts(quitKeys);
    connect(quit_action, &QAction::triggered, qApp, &QCoreApplication::quit);
    const QList<QWidget *> windows = {this, help_window.get(), serch_dialog.get()};
    for (QWidget *window : windows)
        window->addActions({help_action, quit_action});
}

Setup_config::~Setup_config() = default;

// A screen reader names each key after the digit position it steers, since
// "Max_3" alone does not say which one that is.
QGroupBox *Setup_config::createDigitGroup(const QString &title, const QString &keyName,
                                          QRadioButton **buttons)
{
    auto *group = new QGroupBox(title, this);
    for (int i = 0; i < DigitButtons; ++i) {
        const QString label = QString::fromLatin1(digitLabels[i]);
        buttons[i] = new QRadioButton(label, group);
        buttons[i]->setAccessibleName(keyName.arg(label));
    }
    buttons[0]->setChecked(true);
    buttons[10]->setEnabled(false);
    buttons[11]->setEnabled(false);

    auto *column = new QVBoxLayout;
    for (const auto &keys : keypadRows) {
        auto *row = new QHBoxLayout;
        for (int index : keys)
            row->addWidget(buttons[index]);
        column->addLayout(row);
    }
    group->setLayout(column);
    return group;
}

void Setup_config::fitInto(const QSize &room)
{
    wrapping_rows.fitInto(this, room);
}

void Setup_config::show_Version()
{
    platform::showAboutBox(this, tr("Version"),
                           tr("Version:Lukimo %1\n\n"
                              "Author: The Lukimo developers\n\n"
                              "Contact: the Lukimo project's issue tracker\n\n"
                              "Copyright (C) 2026 The Lukimo developers. "
                              "Free software under the GNU GPL, version 3 or later.")
                               .arg(QStringLiteral(LUKIMO_VERSION)));
}

void Setup_config::Push_button()
{
    done(0);
}

void Setup_config::setNumberWindow(QWidget *window)
{
    numberWindow = window;
    window->addActions({help_action, quit_action});
}

void Setup_config::push_serch()
{
    showBeside(serch_dialog.get(), numberWindow);
}

void Setup_config::help_exe()
{
    showBeside(help_window.get(), numberWindow);
}

int Setup_config::check_ok()
{
    return limitCode(max1_buttons, SelfTrace::Plain);
}

int Setup_config::check_ok2()
{
    return limitCode(max2_buttons, SelfTrace::Plain);
}

int Setup_config::check_ok3()
{
    return limitCode(max3_buttons, SelfTrace::Method);
}

// Folds the draw mode and the checked digit of one group into a limit code:
// "Random mode" gives the digit (10 for "0"), "self mode" the digit plus 10
// (20 for "0"), and no choice gives 0.
int Setup_config::limitCode(QRadioButton *const *buttons, SelfTrace selfTrace)
{
    for (int i = 0; i <= zeroIndex; ++i) {
        if (buttons[i]->isChecked() && self_radio->isChecked()) {
            const int code = i == zeroIndex ? 20 : 19 - i;
            if (code == 20 || selfTrace == SelfTrace::Method)
                trace("method=%d\n", code);
            else
                trace("%d\n", code);
            return code;
        }
    }
    for (int i = 0; i <= zeroIndex; ++i) {
        if (buttons[i]->isChecked() && random_radio->isChecked()) {
            const int code = i == zeroIndex ? 10 : 9 - i;
            trace("%d\n", code);
            return code;
        }
    }
    return 0;
}
