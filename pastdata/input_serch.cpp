// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pastdata/input_serch.h"

#include "common/announcer.h"
#include "common/radiogroupfocus.h"
#include "common/trace.h"
#include "common/workingdir.h"
#include "pastdata/adddraws.h"
#include "pastdata/addeddraws.h"
#include "pastdata/boughtstore.h"
#include "pastdata/pastsearch.h"
#include "platform/platform.h"
#include "sound/clicksound.h"

#include <QAccessible>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

Input_Serch::Input_Serch()
{
    resize(300, 180);
    setWindowTitle(tr("serch menu"));
    setWindowFlags(Qt::Window | Qt::WindowSystemMenuHint);
    setToolTip(tr("Serch menu"));
    // A screen reader reads a tooltip as the description when there is no
    // other; where the tooltip only repeats the name, it would be heard twice.
    setAccessibleDescription(
        tr("Stores and searches the numbers you bought, and looks up past draws"));

    input_edit = new QLineEdit(this);
    digit_limit = new QRegularExpressionValidator(input_edit);
    limitDigits(maxDigits);
    input_edit->setValidator(digit_limit);
    // Digits are all it takes: a phone shows its digit keyboard.
    input_edit->setInputMethodHints(Qt::ImhPreferNumbers);
    input_label = new QLabel(tr("No"), this);
    input_label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The prompt names the field for a screen reader, and so follows the mode.
    input_label->setBuddy(input_edit);
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
    entry_radio->setAccessibleDescription(tr("Stores each number you enter as one you bought"));
    serch_radio->setAccessibleDescription(
        tr("Counts how often a number is among the ones you bought"));
    times_to_data_radio->setToolTip(tr("change to data from times"));
    data_to_times_radio->setToolTip(tr("change to times from data"));

    ok_button = new QPushButton(tr("Ok"), this);
    clear_button = new QPushButton(tr("Clear"), this);
    // "Clear" keeps its place while hidden, so that showing it moves nothing.
    QSizePolicy keepPlace = clear_button->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    clear_button->setSizePolicy(keepPlace);
    clear_button->hide();

    QLayout *inputRow =
        wrapping_rows.add({input_label, input_edit, ok_button, clear_button}, {4, 2});
    auto *modeRow = new QHBoxLayout;
    modeRow->addWidget(mode_box);
    known_label = new QLabel(this);
    draws_problem_label = new QLabel(this);
    draws_problem_label->setWordWrap(true);
    draws_problem_label->hide();
    add_draws_button = new QPushButton(tr("Add draws…"), this);
    add_draws_button->setAutoDefault(true);
    // Added draws are kept in the user's data folder. Where the platform
    // has none for them yet (the page), nothing added could outlive the
    // window, so nothing is offered.
    if (platform::userDataFolder().isEmpty())
        add_draws_button->hide();
    auto *knownRow = new QHBoxLayout;
    knownRow->addWidget(known_label);
    auto *addRow = new QHBoxLayout;
    addRow->addWidget(add_draws_button);
    addRow->addStretch();
    auto *mainLayout = new QVBoxLayout;
    mainLayout->addLayout(inputRow);
    mainLayout->addLayout(modeRow);
    mainLayout->addLayout(knownRow);
    mainLayout->addWidget(draws_problem_label);
    mainLayout->addLayout(addRow);
    setScrollingLayout(this, mainLayout);

    auto *modeLayout = new QVBoxLayout;
    modeLayout->addWidget(entry_radio);
    modeLayout->addWidget(serch_radio);
    modeLayout->addWidget(data_to_times_radio);
    modeLayout->addWidget(times_to_data_radio);
    mode_box->setLayout(modeLayout);

    connect(ok_button, &QPushButton::clicked, this, &Input_Serch::Push_ok);
    appliedMode = times_to_data_radio;
    for (QRadioButton *mode :
         {entry_radio, serch_radio, data_to_times_radio, times_to_data_radio}) {
        connect(mode, &QRadioButton::clicked, this, [this, mode] {
            appliedMode = mode;
            Check_mode();
        });
        // A screen reader may check a mode without clicking it; the mode is
        // applied all the same, once, after the click that may come with it.
        connect(
            mode, &QRadioButton::toggled, this,
            [this, mode] {
                if (mode->isChecked() && appliedMode != mode) {
                    appliedMode = mode;
                    Check_mode();
                }
            },
            Qt::QueuedConnection);
    }
    connect(clear_button, &QPushButton::clicked, this, &Input_Serch::All_data_clear);
    connect(add_draws_button, &QPushButton::clicked, this, &Input_Serch::openAddDraws);
    connect(input_edit, &QLineEdit::returnPressed, this, &Input_Serch::Push_ok);

    const std::pair<QWidget *, const char *> names[] = {
        {input_edit, "input_edit"},
        {input_label, "input_label"},
        {ok_button, "ok_button"},
        {clear_button, "clear_button"},
        {mode_box, "mode_box"},
        {data_to_times_radio, "data_to_times_radio"},
        {times_to_data_radio, "times_to_data_radio"},
        {entry_radio, "entry_radio"},
        {serch_radio, "serch_radio"},
        {known_label, "known_label"},
        {draws_problem_label, "draws_problem_label"},
        {add_draws_button, "add_draws_button"},
    };
    for (const auto &[widget, name] : names)
        widget->setObjectName(QLatin1String(name));

    // Tab reads the window as the eye does: the field, "Ok", "Clear", then
    // the mode group once, at its checked button.
    const QList<QWidget *> tabStops = {input_edit,          ok_button,       clear_button,
                                       entry_radio,         serch_radio,     data_to_times_radio,
                                       times_to_data_radio, add_draws_button};
    for (qsizetype i = 1; i < tabStops.size(); ++i)
        setTabOrder(tabStops[i - 1], tabStops[i]);
    RadioGroupFocus::install(mode_box);
    // Return presses the focused button here too, as it does in a dialog.
    ok_button->setAutoDefault(true);
    clear_button->setAutoDefault(true);

    announcer = new Announcer(this);
    click_sound = new ClickSound(workingDirectoryFile(QStringLiteral("wav/check.wav")),
                                 ClickSound::defaultPluginFile(), this);
}

Input_Serch::~Input_Serch() = default;

void Input_Serch::Push_ok()
{
    input_no = typedNumber(input_edit->text(), maxDigits);

    if (data_to_times_radio->isChecked()) {
        clear_button->hide();
        Data_to_times(this, input_no);
    } else if (times_to_data_radio->isChecked()) {
        clear_button->hide();
        Times_to_data(this, input_no, [this](const QString &shown) {
            if (!shown.isEmpty()) {
                result_text = shown;
                input_edit->clear();
            }
        });
    } else if (entry_radio->isChecked()) {
        clear_button->show();
        if (Bought_entry(this, input_no)) {
            showEntryCount();
            serch_radio->setVisible(boughtStore().entryCount() > 0);
            input_edit->clear();
            announcer->announce(
                tr("Stored %1. Numbers bought: %2").arg(*input_no).arg(boughtStore().entryCount()));
        }
    } else if (serch_radio->isChecked()) {
        clear_button->hide();
        serch_no = input_no;
        Bought_serch(this, serch_no);
    }
}

int Input_Serch::Check_mode()
{
    click_sound->play();

    if (data_to_times_radio->isChecked()) {
        trace("data to times=1\n");
        prepareInput(ClearButton::Hidden, 3, tr("Data"));
        return 1;
    }
    if (times_to_data_radio->isChecked()) {
        trace("times to data=2\n");
        prepareInput(ClearButton::Hidden, 4, tr("No"));
        return 2;
    }
    if (entry_radio->isChecked()) {
        prepareInput(ClearButton::Shown, 3, tr("Input Bought No"));
        return 0;
    }
    // The search keeps the input as the previous mode left it.
    clear_button->hide();
    return 3;
}

// Sets the input up for a mode: an empty field, how many digits it takes
// and its prompt; "Clear" only where numbers are entered.
void Input_Serch::prepareInput(ClearButton clear, int digits, const QString &prompt)
{
    clear_button->setVisible(clear == ClearButton::Shown);
    input_edit->clear();
    limitDigits(digits);
    input_label->setText(prompt);
    QAccessibleEvent named(input_edit, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
}

void Input_Serch::limitDigits(int digits)
{
    maxDigits = digits;
    digit_limit->setRegularExpression(digitLimitPattern(digits));
}

void Input_Serch::All_data_clear()
{
    Bought_clear();
    showEntryCount();
    serch_radio->hide();
    input_edit->clear();
    announcer->announce(tr("List cleared"));
}

bool Input_Serch::event(QEvent *event)
{
    // Sized for its texts when it is polished, just before it is first placed
    // and shown: measuring text brings up the font engines, which start-up
    // need not wait for. Qt asks every new widget to polish itself as soon as
    // the event loop runs, which for this window, built hidden at start-up,
    // would be before the first frame; it is polished when it is placed.
    if (event->type() == QEvent::PolishRequest)
        return true;
    if (event->type() == QEvent::Polish && !textsMeasured) {
        // Nor need it read the table of draws, or the user's own.
        known_label->setText(knownDrawsLine());
        // The trace has them all; a few tell what is wrong.
        constexpr int shownProblems = 3;
        const QStringList problems = addedDrawsProblems();
        QStringList shown = problems.mid(0, shownProblems);
        if (problems.size() > shownProblems)
            shown << tr("Other lines skipped: %1").arg(problems.size() - shownProblems);
        draws_problem_label->setText(shown.join(QLatin1Char('\n')));
        draws_problem_label->setVisible(!problems.isEmpty());
        fitToTexts();
        textsMeasured = true;
    }
    return QWidget::event(event);
}

void Input_Serch::fitToTexts()
{
    // Room for four digits and the frame, whatever the font.
    input_edit->setMinimumWidth(
        input_edit->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    // Wide enough for every mode's prompt, so that a change of mode moves
    // nothing.
    int promptWidth = 0;
    for (const QString &prompt : {tr("No"), tr("Data"), tr("Input Bought No")})
        promptWidth = qMax(promptWidth, input_label->fontMetrics().horizontalAdvance(prompt));
    input_label->setMinimumWidth(promptWidth);
    // The style asks 80 pixels of every push button; these two make do with
    // their text, so that the row fits the window's 300 pixels.
    for (QPushButton *button : {ok_button, clear_button})
        button->setMinimumWidth(button->fontMetrics().horizontalAdvance(button->text()) + 24);
}

void Input_Serch::fitInto(const QSize &room)
{
    wrapping_rows.fitInto(this, room);
}

void Input_Serch::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Opened, it is ready for digits, whichever button had the focus when it
    // was put away; restored from an icon, it keeps the focus it had.
    if (!event->spontaneous())
        input_edit->setFocus(Qt::OtherFocusReason);
    click_sound->prepare();
}

void Input_Serch::keyPressEvent(QKeyEvent *event)
{
    // Escape closes, as the window's close button does, so that putting the
    // last window away ends the program.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Input_Serch::openAddDraws()
{
    if (!add_draws) {
        add_draws = new AddDraws(this);
        add_draws->setObjectName(QStringLiteral("add_draws"));
        platform::prepareWindow(add_draws);
        connect(add_draws, &AddDraws::drawsAdded, this,
                [this] { known_label->setText(knownDrawsLine()); });
    }
    // Opened without a loop of its own, which the page does not have.
    add_draws->open();
}

void Input_Serch::showEntryCount()
{
    entry_text = tr("Bought No entry(%1)").arg(boughtStore().entryCount());
    entry_radio->setText(entry_text);
}
