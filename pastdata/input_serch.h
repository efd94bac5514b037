// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef INPUT_SERCH_H
#define INPUT_SERCH_H

#include "common/placement.h"

#include <QString>
#include <QWidget>

#include <optional>

class AddDraws;
class Announcer;
class ClickSound;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QRegularExpressionValidator;

// The past-data window: enters and searches the numbers the user bought, and
// looks up the built-in winning numbers by draw or by number.
class Input_Serch : public QWidget, public FitsScreen
{
    Q_OBJECT

public:
    Input_Serch();
    ~Input_Serch() override;

    // Where the screen is too narrow for the prompt, the field and the
    // buttons in one line, the buttons go on a line of their own below.
    void fitInto(const QSize &room) override;

public slots:
    void Push_ok();
    int Check_mode();
    void All_data_clear();

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    enum class ClearButton { Hidden, Shown };

    void fitToTexts();
    void prepareInput(ClearButton clear, int digits, const QString &prompt);
    void limitDigits(int digits);
    void showEntryCount();
    void openAddDraws();

    QString entry_text;
    QLineEdit *input_edit = nullptr;
    QLabel *input_label = nullptr;
    QPushButton *ok_button = nullptr;
    QPushButton *clear_button = nullptr;
    QGroupBox *mode_box = nullptr;
    QRadioButton *data_to_times_radio = nullptr;
    QRadioButton *times_to_data_radio = nullptr;
    QRadioButton *entry_radio = nullptr;
    QRadioButton *serch_radio = nullptr;
    // Names the draws the lookups answer from.
    QLabel *known_label = nullptr;
    // What could not be used of the user's own draws file; hidden when all
    // of it could.
    QLabel *draws_problem_label = nullptr;
    QPushButton *add_draws_button = nullptr;
    // Made the first time the user adds draws.
    AddDraws *add_draws = nullptr;
    // The mode whose input the field is set up for.
    const QRadioButton *appliedMode = nullptr;
    QString result_text;
    // The number Push_ok() read from the input; nothing when the text was
    // not one.
    std::optional<int> input_no;
    std::optional<int> serch_no;
    // How many digits the current mode takes. The field stops typing there
    // and refuses a longer paste whole, so that nothing is ever cut into
    // another number; spaces do not count.
    int maxDigits = 4;
    QRegularExpressionValidator *digit_limit = nullptr;
    bool textsMeasured = false;
    WrappingRows wrapping_rows;
    // Made ready when the window is first shown, so that start-up never
    // waits for the audio system.
    ClickSound *click_sound = nullptr;
    Announcer *announcer = nullptr;
};

#endif
