// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef INPUT_SERCH_H
#define INPUT_SERCH_H

#include <QString>
#include <QWidget>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSoundEffect;

// The past-data window: enters and searches the numbers the user bought, and
// looks up the built-in winning numbers by draw or by number.
class Input_Serch : public QWidget
{
    Q_OBJECT

public:
    Input_Serch();
    ~Input_Serch() override;

public slots:
    void Push_ok();
    int Check_mode();
    void All_data_clear();

protected:
    void showEvent(QShowEvent *event) override;

private:
    friend class tst_InputSerch;

    void playClick();
    void prepareInput(bool clearShown, int maxLength, const QString &prompt);
    void showEntryCount();

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
    QString result_text;
    int input_no = 0;
    int serch_no = 0;
    // Loaded when the window is first shown, so start-up does not wait for
    // the audio system; kept for the window's life, since Qt stops a sound
    // effect that is destroyed.
    QSoundEffect *click_sound = nullptr;
};

#endif
