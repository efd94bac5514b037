// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef DRAWSTORE_H
#define DRAWSTORE_H

#include "pastdata/drawreader.h"

#include <QMap>

#include <functional>

// A draw this copy of the program adds, or puts in the place of one added
// before.
struct DrawChange
{
    DrawRow row;
    bool replace = false;
};

// A draws file with changes applied.
struct MergedDraws
{
    QByteArray content;         // the file to write
    QMap<int, DrawRow> draws;   // every draw in it that can be used
    QList<LineProblem> skipped; // lines carried through as they were, and why
    // Changes that found another account of their draw already in the file,
    // which stays.
    QList<DrawRow> notApplied;
};

// Applies changes to current, the content of a draws file as it is now:
// every line stays as it is, but a replaced draw's, and the new draws are
// added at the end in the file's own form (draw,date,digits and the prize
// columns, under a header of ours unless one is in effect there). A change
// whose draw the file already holds otherwise, or holds on lines that
// disagree, is not applied. Nothing when current cannot be added to without
// losing some of it; problem then says why.
std::optional<MergedDraws> mergeDraws(QByteArrayView current, const QList<DrawChange> &changes,
                                      QString &problem);

// The draws the user added, kept in draws.csv in the user's data folder. A
// user can read, back up and edit the file. Every write replaces it whole or
// not at all, and applies only this copy's own changes to the file as it is
// then, under a lock, so that two running copies never lose each other's
// draws.
class DrawStore
{
public:
    // path is where the file is; empty where nothing can be kept.
    explicit DrawStore(const QString &path);
    // draws.csv in the platform's data folder, or empty.
    static QString defaultPath();
    // Where the file is; empty where nothing can be kept.
    QString filePath() const { return path; }

    // Reads the file as it is: every line that can be used is, the others
    // are listed in skipped(), and the file is left as it was. A missing
    // file holds no draws.
    void load();
    // Why the file could not be read at all (it is then never written);
    // empty when it could.
    QString problem() const { return loadProblem; }
    // The lines the last load passed over, and why.
    const QList<LineProblem> &skipped() const { return skippedLines; }

    // The added draws, those not yet saved among them.
    const QMap<int, DrawRow> &draws() const { return rows; }

    // Takes new draws and draws in the place of added ones, and saves them
    // with save(). They are kept while the program runs whether or not the
    // save succeeds.
    bool add(const QList<DrawRow> &added, const QList<DrawRow> &replacing);
    // Writes what is not yet saved; false, with saveError() saying why, when
    // it could not, and it is kept for the next try.
    bool save();
    bool hasUnsaved() const { return !pending.isEmpty(); }
    QString saveError() const { return error; }
    // What the last save found in the file in the place of its changes.
    const QList<DrawRow> &notApplied() const { return overruled; }

    // Called once the new file is written and before it takes the old one's
    // place, so that a test can stop a save between its steps.
    void setBeforeCommit(std::function<void()> hook) { beforeCommit = std::move(hook); }

private:
    QString path;
    QMap<int, DrawRow> rows;
    QList<DrawChange> pending;
    QList<LineProblem> skippedLines;
    QList<DrawRow> overruled;
    QString loadProblem;
    QString error;
    std::function<void()> beforeCommit;
};

#endif
