// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pastdata/drawstore.h"

#include "platform/platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QSet>

namespace {

class Text
{
    Q_DECLARE_TR_FUNCTIONS(DrawStore)
};

const char header[] = "draw,date,digits";
const char prizeHeader[] = ",straight_winners,straight_yen,box_winners,box_yen,"
                           "set_straight_winners,set_straight_yen,set_box_winners,set_box_yen,"
                           "mini_winners,mini_yen";

// The lines of an 8-bit text as the reader numbers them: split at LF, CR LF
// or a lone CR.
QList<QByteArrayView> rawLines(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    QList<QByteArrayView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\n' && bytes[i] != '\r')
            continue;
        lines.append(bytes.sliced(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.append(bytes.sliced(start));
    return lines;
}

QByteArray lineOf(const DrawRow &row)
{
    QByteArray line = QByteArray::number(row.draw) + ',' +
                      row.date.toString(Qt::ISODate).toLatin1() + ',' + row.digits.toLatin1();
    if (row.prizes) {
        for (const Prize &prize : *row.prizes)
            line += ',' + QByteArray::number(prize.winners) + ',' + QByteArray::number(prize.yen);
    }
    return line;
}

bool sameDraw(const DrawRow &a, const DrawRow &b)
{
    return a.digits == b.digits && a.date == b.date && a.prizes == b.prizes;
}

// The file's content now: empty when there is none; nothing, with problem
// saying why, when there is one that cannot be read.
std::optional<QByteArray> currentContent(const QString &path, QString &problem)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QByteArray();
    if (info.size() > maxDrawInputBytes) {
        problem = Text::tr("%1 is over 4 MB.").arg(QDir::toNativeSeparators(path));
        return std::nullopt;
    }
    std::optional<QByteArray> content = platform::readPlausibleFile(path, maxDrawInputBytes);
    if (!content)
        problem = Text::tr("%1 cannot be read.").arg(QDir::toNativeSeparators(path));
    return content;
}

// What a file's lines say: the draws that can be used, each on its first
// line; the lines passed over, and why; and the draws whose lines disagree.
struct FileDraws
{
    QMap<int, DrawRow> draws;
    QMap<int, int> drawOnLine;
    QList<LineProblem> skipped;
    QSet<int> disputed;
};

FileDraws usable(const DrawReading &reading)
{
    FileDraws file;
    file.skipped = reading.refused;
    for (const DrawRow &row : reading.rows) {
        if (row.shortNumber())
            continue;
        const auto known = file.draws.constFind(row.draw);
        if (known == file.draws.cend())
            file.draws.insert(row.draw, row);
        else if (!sameDraw(*known, row))
            file.disputed.insert(row.draw);
    }
    for (const DrawRow &row : reading.rows) {
        if (row.shortNumber())
            file.skipped.append(
                {row.line, Text::tr("%1 has lost its leading zeros").arg(row.digits)});
        else if (file.disputed.contains(row.draw))
            file.skipped.append(
                {row.line, Text::tr("draw %1 is on another line too, with another date or number")
                               .arg(row.draw)});
        else
            file.drawOnLine.insert(row.line, row.draw);
    }
    for (int draw : std::as_const(file.disputed))
        file.draws.remove(draw);
    std::stable_sort(file.skipped.begin(), file.skipped.end(),
                     [](const LineProblem &a, const LineProblem &b) { return a.line < b.line; });
    return file;
}

// Under which of our headers the lines after a header line are read.
enum class Columns { Others, Ours, OursWithPrizes };

Columns columnsOf(QByteArrayView headerLine)
{
    const QByteArray line = headerLine.trimmed().toByteArray();
    if (line == header)
        return Columns::Ours;
    if (line == QByteArray(header) + prizeHeader)
        return Columns::OursWithPrizes;
    return Columns::Others;
}

} // namespace

std::optional<MergedDraws> mergeDraws(QByteArrayView current, const QList<DrawChange> &changes,
                                      QString &problem)
{
    const DrawReading reading = readDraws(current);
    if (!reading.refusal.isEmpty()) {
        problem = reading.refusal;
        return std::nullopt;
    }
    // Its lines could not be carried through as they are among ours.
    if (reading.encoding == TextEncoding::Utf16LittleEndian ||
        reading.encoding == TextEncoding::Utf16BigEndian) {
        problem = Text::tr("The file is in UTF-16, which Lukimo does not add to.");
        return std::nullopt;
    }
    const FileDraws file = usable(reading);
    MergedDraws merged;
    QMap<int, DrawChange> mine;
    for (const DrawChange &change : changes) {
        const auto there = file.draws.constFind(change.row.draw);
        if (file.disputed.contains(change.row.draw) ||
            (!change.replace && there != file.draws.cend() &&
             (there->digits != change.row.digits ||
              (there->date.isValid() && change.row.date.isValid() &&
               there->date != change.row.date))))
            merged.notApplied.append(change.row);
        else if (change.replace || there == file.draws.cend())
            mine.insert(change.row.draw, change);
    }

    // Every line stays as it is but those of the draws replaced: a
    // replacement takes the first one's place where our columns are read
    // there, and goes to the end with the new draws otherwise.
    const QSet<int> headers(reading.headerLines.cbegin(), reading.headerLines.cend());
    const QList<QByteArrayView> raw = rawLines(current);
    QList<QByteArray> lines;
    std::optional<Columns> columns;
    QSet<int> replaced;
    for (int i = 0; i < raw.size(); ++i) {
        if (headers.contains(i + 1))
            columns = columnsOf(raw[i]);
        const auto used = file.drawOnLine.constFind(i + 1);
        const auto change = used == file.drawOnLine.cend() ? mine.cend() : mine.constFind(*used);
        if (change == mine.cend()) {
            lines.append(raw[i].toByteArray());
            continue;
        }
        if (replaced.contains(*used))
            continue;
        replaced.insert(*used);
        if (columns == Columns::OursWithPrizes ||
            (columns == Columns::Ours && !change->row.prizes)) {
            lines.append(lineOf(change->row));
            mine.erase(change);
        }
    }
    if (!mine.isEmpty()) {
        const bool prizes = std::any_of(mine.cbegin(), mine.cend(), [](const DrawChange &change) {
            return change.row.prizes.has_value();
        });
        if (columns != Columns::OursWithPrizes && (prizes || columns != Columns::Ours))
            lines.append(QByteArray(header) + (prizes ? prizeHeader : ""));
        for (const DrawChange &change : std::as_const(mine))
            lines.append(lineOf(change.row));
    }
    if (raw.isEmpty() && lines.isEmpty())
        lines.append(header);
    merged.content = current.startsWith("\xEF\xBB\xBF") ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    for (const QByteArray &line : std::as_const(lines))
        merged.content += line + '\n';
    // What the file now says, read as it will be read.
    const FileDraws written = usable(readDraws(merged.content));
    merged.draws = written.draws;
    merged.skipped = written.skipped;
    return merged;
}

DrawStore::DrawStore(const QString &path) : path(path) {}

QString DrawStore::defaultPath()
{
    const QString folder = platform::userDataFolder();
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/draws.csv");
}

void DrawStore::load()
{
    rows.clear();
    skippedLines.clear();
    loadProblem.clear();
    if (path.isEmpty())
        return;
    const std::optional<QByteArray> content = currentContent(path, loadProblem);
    if (!content)
        return;
    const std::optional<MergedDraws> merged = mergeDraws(*content, {}, loadProblem);
    if (!merged)
        return;
    rows = merged->draws;
    skippedLines = merged->skipped;
    for (const DrawChange &change : std::as_const(pending))
        rows.insert(change.row.draw, change.row);
}

bool DrawStore::add(const QList<DrawRow> &added, const QList<DrawRow> &replacing)
{
    for (const DrawRow &row : added)
        pending.append({row, false});
    for (const DrawRow &row : replacing)
        pending.append({row, true});
    for (const DrawChange &change : std::as_const(pending))
        rows.insert(change.row.draw, change.row);
    return save();
}

bool DrawStore::save()
{
    error.clear();
    overruled.clear();
    if (pending.isEmpty())
        return true;
    const QString shown = QDir::toNativeSeparators(path);
    if (path.isEmpty()) {
        error = Text::tr("Added draws cannot be kept here; they stay until Lukimo ends.");
        return false;
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        error = Text::tr("The folder of %1 cannot be made.").arg(shown);
        return false;
    }
    // Whoever holds the lock is reading and writing the file now; a lock left
    // by a copy that ended without letting go is taken over.
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(10000)) {
        error = lock.error() == QLockFile::LockFailedError
                    ? Text::tr("Another Lukimo is saving %1; try again.").arg(shown)
                    : Text::tr("%1 cannot be locked for writing.").arg(shown);
        return false;
    }
    QString problem;
    const std::optional<QByteArray> content = currentContent(path, problem);
    const std::optional<MergedDraws> merged =
        content ? mergeDraws(*content, pending, problem) : std::nullopt;
    if (!merged) {
        error = Text::tr("Nothing was added to %1: %2").arg(shown, problem);
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(merged->content) != merged->content.size()) {
        error = Text::tr("%1 could not be written: %2").arg(shown, file.errorString());
        return false;
    }
    if (beforeCommit)
        beforeCommit();
    if (!file.commit()) {
        error = Text::tr("%1 could not be written: %2").arg(shown, file.errorString());
        return false;
    }
    rows = merged->draws;
    overruled = merged->notApplied;
    pending.clear();
    return true;
}
