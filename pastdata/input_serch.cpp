// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pastdata/input_serch.h"

#include "common/trace.h"
#include "pastdata/boughtstore.h"
#include "pastdata/pastsearch.h"

#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSoundEffect>
#include <QUrl>
#include <QVBoxLayout>

Input_Serch::Input_Serch()
{
    resize(300, 180);
    setWindowTitle(tr("serch menu"));
    setWindowFlags(Qt::Window | Qt::WindowSystemMenuHint);
    setToolTip(tr("Serch menu"));

    input_edit = new QLineEdit(this);
    input_edit->setMaxLength(4);
    input_label = new QLabel(tr("No"), this);
    mode_box = new QGroupBox(tr("mode"), this);

    entry_radio = new QRadioButton(mode_box);
    showEntryCount();
    serch_radio = new QRadioButton(tr("Bought No serch"), mode_box);
    serch_radio->hide();
    data_to_times_radio = new QRadioButton(tr("Data to Times"), mode_box);
    times_to_data_radio = new QRadioButton(tr("Times to Data"), mode_box);
    times_to_data_radio->setChecked(true);

    serch_radio->setToolTip(tr("Bought Number Serch"));
    entry_radio->setToolTip(tr("Bought Number Entry"));
    times_to_data_radio->setToolTip(tr("change to data from times"));
    data_to_times_radio->setToolTip(tr("change to times from data"));

    ok_button = new QPushButton(tr("Ok"), this);
    clear_button = new QPushButton(tr("Clear"), this);
    clear_button->hide();

    auto *inputRow = new QHBoxLayout;
    inputRow->addWidget(input_label);
    inputRow->addWidget(input_edit);
    inputRow->addWidget(ok_button);
    inputRow->addWidget(clear_button);
    auto *modeRow = new QHBoxLayout;
    modeRow->addWidget(mode_box);
    auto *emptyRow = new QHBoxLayout;
    auto *mainLayout = new QVBoxLayout;
    mainLayout->addLayout(inputRow);
    mainLayout->addLayout(modeRow);
    mainLayout->addLayout(emptyRow);
    setLayout(mainLayout);

    auto *modeLayout = new QVBoxLayout;
    modeLayout->addWidget(entry_radio);
    modeLayout->addWidget(serch_radio);
    modeLayout->addWidget(data_to_times_radio);
    modeLayout->addWidget(times_to_data_radio);
    mode_box->setLayout(modeLayout);

    connect(ok_button, &QPushButton::clicked, this, &Input_Serch::Push_ok);
    for (QRadioButton *mode : {entry_radio, serch_radio, data_to_times_radio, times_to_data_radio})
        connect(mode, &QRadioButton::clicked, this, &Input_Serch::Check_mode);
    connect(clear_button, &QPushButton::clicked, this, &Input_Serch::All_data_clear);
}

Input_Serch::~Input_Serch() = default;

void Input_Serch::Push_ok()
{
    bool numeric = false;
    input_no = input_edit->text().toInt(&numeric, 10);

    if (data_to_times_radio->isChecked()) {
        clear_button->hide();
        Data_to_times(this, input_no, numeric);
    } else if (times_to_data_radio->isChecked()) {
        clear_button->hide();
        const QString text = Times_to_data(this, input_no);
        if (!text.isEmpty()) {
            result_text = text;
            input_edit->clear();
        }
    } else if (entry_radio->isChecked()) {
        clear_button->show();
        if (Bought_entry(this, input_no)) {
            showEntryCount();
            serch_radio->setVisible(boughtStore().entry_count > 0);
            input_edit->clear();
        }
    } else if (serch_radio->isChecked()) {
        clear_button->hide();
        serch_no = input_no;
        Bought_serch(this, serch_no);
    }
}

int Input_Serch::Check_mode()
{
    playClick();

    if (data_to_times_radio->isChecked()) {
        trace("data to times=1\n");
        prepareInput(false, 3, tr("Data"));
        return 1;
    }
    if (times_to_data_radio->isChecked()) {
        trace("times to data=2\n");
        prepareInput(false, 4, tr("No"));
        return 2;
    }
    if (entry_radio->isChecked()) {
        prepareInput(true, 3, tr("Input Bought No"));
        return 0;
    }
    // The search keeps the input as the previous mode left it.
    clear_button->hide();
    return 3;
}

// Sets the input up for a mode: an empty field, its length and its prompt;
// "Clear" only where numbers are entered.
void Input_Serch::prepareInput(bool clearShown, int maxLength, const QString &prompt)
{
    clear_button->setVisible(clearShown);
    input_edit->clear();
    input_edit->setMaxLength(maxLength);
    input_label->setText(prompt);
}

void Input_Serch::All_data_clear()
{
    Bought_clear();
    showEntryCount();
    serch_radio->hide();
    input_edit->clear();
}

void Input_Serch::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!click_sound) {
        click_sound = new QSoundEffect(this);
        click_sound->setSource(
            QUrl::fromLocalFile(QDir::current().absoluteFilePath(QStringLiteral("wav/check.wav"))));
    }
}

// A missing file or a machine without sound stays silent.
void Input_Serch::playClick()
{
    if (!click_sound)
        return;
    click_sound->play();
}

void Input_Serch::showEntryCount()
{
    entry_text = tr("Bought No entry(%1)").arg(boughtStore().entry_count);
    entry_radio->setText(entry_text);
}
