// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pastdata/adddraws.h"

#include "pastdata/addeddraws.h"
#include "pastdata/drawstore.h"
#include "platform/platform.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The last line a reading speaks of.
int lastLine(const DrawReading &reading)
{
    int last = 0;
    for (const DrawRow &row : reading.rows)
        last = std::max(last, row.line);
    for (const LineProblem &problem : reading.refused)
        last = std::max(last, problem.line);
    for (int line : reading.headerLines)
        last = std::max(last, line);
    return last;
}

} // namespace

AddDraws::AddDraws(QWidget *parent) : QDialog(parent), store(addedDrawStore())
{
    setWindowTitle(tr("Add draws"));

    paste_edit = new QPlainTextEdit(this);
    // Tab leaves the box, as it leaves every other field.
    paste_edit->setTabChangesFocus(true);
    auto *pasteLabel = new QLabel(tr("&Paste draws, one a line:"), this);
    pasteLabel->setBuddy(paste_edit);

    open_button = new QPushButton(tr("&Open file…"), this);
    open_button->setVisible(platform::opensFiles());
    file_label = new QLabel(this);
    file_label->setWordWrap(true);

    draw_edit = new QLineEdit(this);
    date_edit = new QLineEdit(this);
    date_edit->setPlaceholderText(QStringLiteral("2025-12-09"));
    number_edit = new QLineEdit(this);
    for (QLineEdit *edit : {draw_edit, number_edit})
        edit->setInputMethodHints(Qt::ImhPreferNumbers);
    auto *drawLabel = new QLabel(tr("&Draw"), this);
    auto *dateLabel = new QLabel(tr("Da&te"), this);
    auto *numberLabel = new QLabel(tr("&Number"), this);
    drawLabel->setBuddy(draw_edit);
    dateLabel->setBuddy(date_edit);
    numberLabel->setBuddy(number_edit);

    preview_button = new QPushButton(tr("Pre&view"), this);
    preview_view = new QPlainTextEdit(this);
    preview_view->setReadOnly(true);
    preview_view->setTabChangesFocus(true);
    auto *previewLabel = new QLabel(tr("What will change:"), this);
    previewLabel->setBuddy(preview_view);
    short_check = new QCheckBox(tr("Take the short numbers with their leading zeros"), this);
    replace_check = new QCheckBox(tr("Replace the draws I added before"), this);
    short_check->hide();
    replace_check->hide();
    status_label = new QLabel(this);
    status_label->setWordWrap(true);

    add_button = new QPushButton(tr("&Add"), this);
    add_button->setEnabled(false);
    retry_button = new QPushButton(tr("T&ry again"), this);
    retry_button->hide();
    close_button = new QPushButton(tr("Cancel"), this);

    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(open_button);
    fileRow->addWidget(file_label, 1);
    auto *typedRow = new QGridLayout;
    typedRow->addWidget(drawLabel, 0, 0);
    typedRow->addWidget(dateLabel, 0, 1);
    typedRow->addWidget(numberLabel, 0, 2);
    typedRow->addWidget(draw_edit, 1, 0);
    typedRow->addWidget(date_edit, 1, 1);
    typedRow->addWidget(number_edit, 1, 2);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(preview_button);
    buttonRow->addStretch();
    buttonRow->addWidget(add_button);
    buttonRow->addWidget(retry_button);
    buttonRow->addWidget(close_button);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pasteLabel);
    layout->addWidget(paste_edit, 2);
    layout->addLayout(fileRow);
    layout->addLayout(typedRow);
    layout->addWidget(previewLabel);
    layout->addWidget(preview_view, 1);
    layout->addWidget(short_check);
    layout->addWidget(replace_check);
    layout->addWidget(status_label);
    layout->addLayout(buttonRow);

    const std::pair<QWidget *, const char *> names[] = {
        {paste_edit, "paste_edit"},         {open_button, "open_button"},
        {file_label, "file_label"},         {draw_edit, "draw_edit"},
        {date_edit, "date_edit"},           {number_edit, "number_edit"},
        {preview_button, "preview_button"}, {preview_view, "preview_view"},
        {short_check, "short_check"},       {replace_check, "replace_check"},
        {status_label, "status_label"},     {add_button, "add_button"},
        {retry_button, "retry_button"},     {close_button, "close_button"},
    };
    for (const auto &[widget, name] : names)
        widget->setObjectName(QLatin1String(name));

    const QList<QWidget *> tabStops = {paste_edit,    open_button,    draw_edit,    date_edit,
                                       number_edit,   preview_button, preview_view, short_check,
                                       replace_check, add_button,     retry_button, close_button};
    for (qsizetype i = 1; i < tabStops.size(); ++i)
        setTabOrder(tabStops[i - 1], tabStops[i]);
    // Return previews what was typed; once there is something to add, it
    // adds it.
    preview_button->setDefault(true);

    connect(paste_edit, &QPlainTextEdit::textChanged, this, [this] {
        file_reading.reset();
        file_label->clear();
        sourceChanged();
    });
    for (QLineEdit *edit : {draw_edit, date_edit, number_edit})
        connect(edit, &QLineEdit::textChanged, this, &AddDraws::sourceChanged);
    connect(open_button, &QPushButton::clicked, this, &AddDraws::openFile);
    connect(preview_button, &QPushButton::clicked, this, &AddDraws::showPreview);
    for (QCheckBox *choice : {short_check, replace_check})
        connect(choice, &QCheckBox::toggled, this, &AddDraws::showPreview);
    connect(add_button, &QPushButton::clicked, this, &AddDraws::addDraws);
    connect(retry_button, &QPushButton::clicked, this, &AddDraws::trySaveAgain);
    connect(close_button, &QPushButton::clicked, this, &AddDraws::reject);
}

DrawReading AddDraws::currentReading() const
{
    DrawReading reading =
        file_reading ? *file_reading : readDraws(paste_edit->toPlainText().toUtf8());
    if (!reading.refusal.isEmpty())
        return reading;
    const QStringList typed = {draw_edit->text().trimmed(), date_edit->text().trimmed(),
                               number_edit->text().trimmed()};
    if (std::all_of(typed.cbegin(), typed.cend(),
                    [](const QString &part) { return part.isEmpty(); }))
        return reading;
    // The typed draw is read as the line after the others.
    const QStringList given = typed.filter(QRegularExpression(QStringLiteral(".")));
    DrawReading one = readDraws(given.join(QLatin1Char('\t')).toUtf8());
    const QString pasted = paste_edit->toPlainText();
    const int pastedLines =
        pasted.isEmpty() ? 0
                         : int(pasted.count(QLatin1Char('\n'))) + (pasted.endsWith('\n') ? 0 : 1);
    const int offset = std::max(lastLine(reading), pastedLines);
    for (DrawRow &row : one.rows) {
        row.line += offset;
        reading.rows.append(row);
    }
    for (LineProblem &problem : one.refused) {
        problem.line += offset;
        reading.refused.append(problem);
    }
    if (!one.refusal.isEmpty())
        reading.refused.append({offset + 1, one.refusal});
    return reading;
}

void AddDraws::openFile()
{
    const QString path = platform::fileToOpen(this, tr("Open a file of draws"),
                                              tr("Text and CSV files (*.csv *.txt *.tsv);;"
                                                 "All files (*)"));
    if (path.isEmpty())
        return;
    DrawReading reading = readDrawFile(path);
    // The paste box now stands for the file; clearing it drops the file too.
    const QSignalBlocker quiet(paste_edit);
    paste_edit->clear();
    file_reading = std::move(reading);
    file_label->setText(QFileInfo(path).fileName());
    showPreview();
}

void AddDraws::sourceChanged()
{
    preview.reset();
    add_button->setEnabled(false);
    preview_button->setDefault(true);
    preview_view->clear();
    short_check->hide();
    replace_check->hide();
}

void AddDraws::showPreview()
{
    const DrawReading reading = currentReading();
    preview.reset();
    add_button->setEnabled(false);
    preview_button->setDefault(true);
    if (!reading.refusal.isEmpty()) {
        preview_view->setPlainText(reading.refusal);
        return;
    }
    const KnownDrawsLookup known(knownDraws());
    PreviewChoices choices;
    choices.today = QDate::currentDate();
    choices.takeShortNumbers = short_check->isChecked();
    DrawPreview shown = previewDraws(reading, known, choices);
    if (replace_check->isChecked() && !shown.replaceable.isEmpty()) {
        choices.replace = QSet<int>(shown.replaceable.cbegin(), shown.replaceable.cend());
        shown = previewDraws(reading, known, choices);
    }
    preview_view->setPlainText(shown.lines().join(QLatin1Char('\n')));
    short_check->setVisible(!shown.unconfirmed.isEmpty() || short_check->isChecked());
    replace_check->setVisible(!shown.replaceable.isEmpty() || replace_check->isChecked());
    const bool changes = !shown.added.isEmpty() || !shown.replacing.isEmpty();
    add_button->setEnabled(changes);
    if (changes)
        add_button->setDefault(true);
    preview = std::move(shown);
}

void AddDraws::addDraws()
{
    if (!preview)
        return;
    const bool saved = store.add(preview->added, preview->replacing);
    // Added or not, they are used while the program runs.
    refreshKnownDraws();
    emit drawsAdded();
    const int count = int(preview->added.size() + preview->replacing.size());
    // What was added is done with; the boxes are ready for more.
    for (QWidget *input :
         std::initializer_list<QWidget *>{paste_edit, draw_edit, date_edit, number_edit}) {
        const QSignalBlocker quiet(input);
        if (auto *edit = qobject_cast<QLineEdit *>(input))
            edit->clear();
        else
            paste_edit->clear();
    }
    file_reading.reset();
    file_label->clear();
    sourceChanged();
    status_label->setText(tr("Draws added: %1").arg(count));
    showSaved(saved);
}

void AddDraws::trySaveAgain()
{
    const bool saved = store.save();
    refreshKnownDraws();
    emit drawsAdded();
    showSaved(saved);
}

void AddDraws::showSaved(bool saved)
{
    // Where nothing can be kept, trying again would not help.
    retry_button->setVisible(!saved && !store.filePath().isEmpty());
    QString said = status_label->text().section(QLatin1Char('\n'), 0, 0);
    if (!saved) {
        said +=
            QLatin1Char('\n') +
            tr("They were not saved: %1 They are used until Lukimo ends.").arg(store.saveError());
        retry_button->setFocus();
    } else {
        said +=
            QLatin1Char('\n') + tr("Saved in %1.").arg(QDir::toNativeSeparators(store.filePath()));
        if (!store.notApplied().isEmpty())
            said += QLatin1Char('\n') +
                    tr("Draws the file already held otherwise, and kept as it has them: %1")
                        .arg(store.notApplied().size());
        close_button->setFocus();
    }
    close_button->setText(tr("Close"));
    status_label->setText(said);
}
