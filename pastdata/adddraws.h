// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef ADDDRAWS_H
#define ADDDRAWS_H

#include "pastdata/drawpreview.h"

#include <QDialog>

#include <optional>

class DrawStore;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// Takes later draws from the user in one action: pasted, read from a file or
// typed one at a time. Nothing changes before the user has seen a preview of
// what will, and chosen to add it; the draws added are kept in the user's
// store (addedDrawStore()), and the whole program answers from them.
class AddDraws : public QDialog
{
    Q_OBJECT

public:
    explicit AddDraws(QWidget *parent = nullptr);

    // Reads what was pasted, opened and typed, and shows what adding it would
    // change.
    void showPreview();

signals:
    // The store took draws: the known draws have changed.
    void drawsAdded();

private:
    DrawReading currentReading() const;
    void openFile();
    void sourceChanged();
    void addDraws();
    void trySaveAgain();
    void showSaved(bool saved);

    DrawStore &store;
    QPlainTextEdit *paste_edit = nullptr;
    QPushButton *open_button = nullptr;
    QLabel *file_label = nullptr;
    QLineEdit *draw_edit = nullptr;
    QLineEdit *date_edit = nullptr;
    QLineEdit *number_edit = nullptr;
    QPushButton *preview_button = nullptr;
    QPlainTextEdit *preview_view = nullptr;
    QCheckBox *short_check = nullptr;
    QCheckBox *replace_check = nullptr;
    QLabel *status_label = nullptr;
    QPushButton *add_button = nullptr;
    QPushButton *retry_button = nullptr;
    QPushButton *close_button = nullptr;
    // What the opened file held; the paste replaces it when edited.
    std::optional<DrawReading> file_reading;
    // What the preview shown would add; nothing once the input changed.
    std::optional<DrawPreview> preview;
};

#endif
