// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef SETUP_CONFIG_H
#define SETUP_CONFIG_H

#include "common/placement.h"

#include <QDialog>
#include <QList>

#include <memory>

class HelpWindow;
class Input_Serch;
class QAction;
class QGridLayout;
class QGroupBox;
class QPushButton;
class QRadioButton;

// The settings dialog: draw mode, game type and one group of digit buttons
// per digit position. The number window reads the choices through the three
// limit-code queries and nothing else.
class Setup_config : public QDialog, public FitsScreen
{
    Q_OBJECT

public:
    // Buttons of a digit group, in this order: "9" .. "1", "0", "#", "*".
    static constexpr int DigitButtons = 12;

    Setup_config();
    ~Setup_config() override;

    // The window that opens this dialog; the dialog and the windows it opens
    // appear beside it, and it answers the help and quit keys like them.
    void setNumberWindow(QWidget *window);

    // Where the screen is too narrow for the groups and buttons side by
    // side, the rows that are too wide wrap onto further lines.
    void fitInto(const QSize &room) override;

public slots:
    void show_Version();
    void Push_button();
    int check_ok();
    int check_ok2();
    int check_ok3();
    void push_serch();
    void help_exe();

private:
    // How a group traces its self-mode codes 11 to 19 (code 20 is always
    // traced as "method=").
    enum class SelfTrace { Plain, Method };

    // A row of the dialog, whose widgets stand columns to a line, in reading
    // order; the counts it may take go from all on one line to one a line.
    struct WrappingRow
    {
        QGridLayout *grid = nullptr;
        QList<QWidget *> widgets;
        QList<int> columnCounts;
        int columns = 0;
    };

    QGroupBox *createDigitGroup(const QString &title, const QString &keyName,
                                QRadioButton **buttons);
    static void wrap(WrappingRow &row, int columns);
    int limitCode(QRadioButton *const *buttons, SelfTrace selfTrace);

    std::unique_ptr<HelpWindow> help_window;
    std::unique_ptr<Input_Serch> serch_dialog;
    QGroupBox *max4_group = nullptr;
    QRadioButton *max4_buttons[DigitButtons] = {};
    QGroupBox *max3_group = nullptr;
    QGroupBox *mode_group = nullptr;
    QRadioButton *numbers3_radio = nullptr;
    QRadioButton *numbers4_radio = nullptr;
    QRadioButton *random_radio = nullptr;
    QRadioButton *self_radio = nullptr;
    QRadioButton *max3_buttons[DigitButtons] = {};
    QGroupBox *max2_group = nullptr;
    QRadioButton *max2_buttons[DigitButtons] = {};
    QGroupBox *max1_group = nullptr;
    QRadioButton *max1_buttons[DigitButtons] = {};
    QPushButton *help_button = nullptr;
    QGroupBox *type_group = nullptr;
    QWidget *numberWindow = nullptr;
    // Help and quit, with their standard keys, in every Lukimo window.
    QAction *help_action = nullptr;
    QAction *quit_action = nullptr;
    WrappingRow choice_row;
    WrappingRow digit_row;
    WrappingRow button_row;
    // The size it had in its usual layout, to go back to from a narrow one.
    QSize usualSize;
};

#endif
