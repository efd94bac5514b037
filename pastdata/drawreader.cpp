// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pastdata/drawreader.h"

#include "platform/platform.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

class Text
{
    Q_DECLARE_TR_FUNCTIONS(DrawReader)
};

struct Field
{
    QString text;
    // Quoted or tab-separated: a comma in it cannot have been a column's end.
    bool whole = false;
};

// Full-width letters, digits and signs, and the ideographic space, as their
// ASCII twins.
QString narrowed(QString line)
{
    for (QChar &c : line) {
        const char16_t unit = c.unicode();
        if (unit >= 0xFF01 && unit <= 0xFF5E)
            c = QChar(char16_t(unit - 0xFEE0));
        else if (unit == 0x3000)
            c = QLatin1Char(' ');
    }
    return line;
}

enum class Split { Tabs, Commas, Spaces };

Split splitOf(const QString &line)
{
    if (line.contains(QLatin1Char('\t')))
        return Split::Tabs;
    bool quoted = false;
    int depth = 0;
    for (const QChar c : line) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && c == u'[')
            ++depth;
        else if (!quoted && c == u']' && depth > 0)
            --depth;
        else if (!quoted && depth == 0 && c == u',')
            return Split::Commas;
    }
    return Split::Spaces;
}

// The line's fields, each trimmed; nothing when a quote is left open.
std::optional<QList<Field>> splitFields(const QString &line)
{
    const Split split = splitOf(line);
    QList<Field> fields;
    Field field;
    bool started = false;
    bool inQuotes = false;
    int depth = 0;
    const auto finish = [&] {
        field.text = field.text.trimmed();
        field.whole = field.whole || split == Split::Tabs;
        fields.append(field);
        field = Field();
        started = false;
    };
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (inQuotes) {
            if (c != u'"')
                field.text += c;
            else if (i + 1 < line.size() && line[i + 1] == u'"')
                field.text += line[++i];
            else
                inQuotes = false;
            continue;
        }
        if (depth == 0 && c == (split == Split::Tabs     ? u'\t'
                                : split == Split::Commas ? u','
                                                         : u' ')) {
            if (split != Split::Spaces || started)
                finish();
            continue;
        }
        if (c == u'"' && !started) {
            inQuotes = field.whole = started = true;
            continue;
        }
        if (c == u'[')
            ++depth;
        else if (c == u']' && depth > 0)
            --depth;
        field.text += c;
        started = started || !c.isSpace();
    }
    if (inQuotes)
        return std::nullopt;
    if (split != Split::Spaces || started)
        finish();
    return fields;
}

const QRegularExpression &weekdayAtEnd()
{
    static const QRegularExpression pattern(
        QStringLiteral("\\s*\\(\\s*(?:[月火水木金土日]|(?:mon|tue|wed|thu|fri|sat|sun)[a-z]*\\.?)"
                       "\\s*\\)$"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

bool isWeekday(const QString &field)
{
    const QRegularExpressionMatch match = weekdayAtEnd().match(field);
    return match.hasMatch() && match.capturedStart() == 0;
}

bool looksLikeDate(const QString &field)
{
    static const QRegularExpression pattern(QStringLiteral("^[0-9]{4}[-/.]|年|^令和"));
    return pattern.match(field).hasMatch();
}

std::optional<QDate> parseDate(QString field)
{
    field.remove(weekdayAtEnd());
    static const QRegularExpression western(
        QStringLiteral("^([0-9]{4})(?:([-/"
                       ".])([0-9]{1,2})\\2([0-9]{1,2})|年\\s*([0-9]{1,2})月\\s*([0-9]{1,2})日)$"));
    static const QRegularExpression reiwa(
        QStringLiteral("^令和\\s*([0-9]{1,2}|元)\\s*年\\s*([0-9]{1,2})月\\s*([0-9]{1,2})日$"));
    QRegularExpressionMatch match = western.match(field);
    if (match.hasMatch()) {
        const bool kanji = match.capturedLength(2) == 0;
        const QDate date(match.captured(1).toInt(), match.captured(kanji ? 5 : 3).toInt(),
                         match.captured(kanji ? 6 : 4).toInt());
        return date.isValid() ? std::optional(date) : std::nullopt;
    }
    match = reiwa.match(field);
    if (!match.hasMatch())
        return std::nullopt;
    const int year = match.captured(1) == QStringLiteral("元") ? 1 : match.captured(1).toInt();
    const QDate date(2018 + year, match.captured(2).toInt(), match.captured(3).toInt());
    // The era began on 2019-05-01.
    if (!date.isValid() || year == 0 || date < QDate(2019, 5, 1))
        return std::nullopt;
    return date;
}

// The draw a field marks as one, 第6874回 or 6874回: its digits.
std::optional<QString> markedDraw(const QString &field)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(?:第\\s*([0-9]+)\\s*回?|([0-9]+)\\s*回)$"));
    const QRegularExpressionMatch match = pattern.match(field);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(match.capturedLength(1) ? 1 : 2);
}

bool isDigits(const QString &field)
{
    static const QRegularExpression pattern(QStringLiteral("^[0-9]+$"));
    return pattern.match(field).hasMatch();
}

bool looksLikeNumber(const QString &field)
{
    return isDigits(field) || field.startsWith(QLatin1Char('['));
}

// A draw number, or why it is not one.
std::optional<int> parseDraw(const QString &digits, QString &reason)
{
    QString number = digits;
    while (number.size() > 1 && number.startsWith(QLatin1Char('0')))
        number.remove(0, 1);
    if (number.size() > 4) {
        reason = Text::tr("draw number %1 is above 9999").arg(digits);
        return std::nullopt;
    }
    const int draw = number.toInt();
    if (draw == 0) {
        reason = Text::tr("there is no draw 0");
        return std::nullopt;
    }
    return draw;
}

// The digits of a drawn number, 735 or [7, 3, 5], or why they are not.
std::optional<QString> parseNumber(const QString &field, QString &reason)
{
    static const QRegularExpression bracketed(
        QStringLiteral("^\\[\\s*([0-9])\\s*[,\\s]\\s*([0-9])\\s*[,\\s]\\s*([0-9])\\s*\\]$"));
    if (isDigits(field) && field.size() <= 3)
        return field;
    const QRegularExpressionMatch match = bracketed.match(field);
    if (match.hasMatch())
        return match.captured(1) + match.captured(2) + match.captured(3);
    reason = Text::tr("%1 is not a number of three digits 0–9").arg(field);
    return std::nullopt;
}

// A count of winners or a prize in yen; 円, 口 and thousands separators
// where the field is whole; a dash or 該当なし for none.
std::optional<qint64> parsePrize(const Field &field)
{
    QString text = field.text;
    if (field.whole) {
        text.remove(QLatin1Char(','));
        if (text.endsWith(QStringLiteral("円")) || text.endsWith(QStringLiteral("口")))
            text.chop(1);
        text = text.trimmed();
    }
    if (text == QStringLiteral("-") || text == QStringLiteral("該当なし"))
        return 0;
    if (!isDigits(text) || text.size() > 15)
        return std::nullopt;
    return text.toLongLong();
}

enum Column { OtherColumn = -1, DrawColumn = -2, DateColumn = -3, DigitsColumn = -4 };

// What a header names, in English or Japanese: one of the columns above, or
// a prize column 2 × kind (winners) or 2 × kind + 1 (yen).
int columnNamed(const QString &name)
{
    static const QRegularExpression ignored(QStringLiteral("[\\s_\\-・.()（）]"));
    const QString key = name.toLower().remove(ignored);
    static const QStringList draws = {QStringLiteral("draw"),       QStringLiteral("drawno"),
                                      QStringLiteral("drawnumber"), QStringLiteral("no"),
                                      QStringLiteral("times"),      QStringLiteral("回"),
                                      QStringLiteral("回号"),       QStringLiteral("回別"),
                                      QStringLiteral("抽せん回"),   QStringLiteral("抽選回")};
    static const QStringList dates = {QStringLiteral("date"), QStringLiteral("drawdate"),
                                      QStringLiteral("日付"), QStringLiteral("抽せん日"),
                                      QStringLiteral("抽選日")};
    static const QStringList numbers = {QStringLiteral("digits"),
                                        QStringLiteral("number"),
                                        QStringLiteral("numbers"),
                                        QStringLiteral("winningnumber"),
                                        QStringLiteral("winningnumbers"),
                                        QStringLiteral("data"),
                                        QStringLiteral("当せん番号"),
                                        QStringLiteral("当選番号"),
                                        QStringLiteral("番号")};
    if (draws.contains(key))
        return DrawColumn;
    if (dates.contains(key))
        return DateColumn;
    if (numbers.contains(key))
        return DigitsColumn;
    // The set kinds first: "setstraight" also begins a "straight" column's
    // name when read from its end.
    static const std::pair<QString, int> kinds[] = {
        {QStringLiteral("setstraight"), SetStraight},
        {QStringLiteral("セットストレート"), SetStraight},
        {QStringLiteral("setbox"), SetBox},
        {QStringLiteral("セットボックス"), SetBox},
        {QStringLiteral("straight"), Straight},
        {QStringLiteral("ストレート"), Straight},
        {QStringLiteral("box"), Box},
        {QStringLiteral("ボックス"), Box},
        {QStringLiteral("mini"), Mini},
        {QStringLiteral("ミニ"), Mini}};
    static const QStringList winners = {QStringLiteral("winners"), QStringLiteral("口数"),
                                        QStringLiteral("当せん口数"), QStringLiteral("当選口数")};
    static const QStringList yen = {QStringLiteral("yen"),      QStringLiteral("prize"),
                                    QStringLiteral("金額"),     QStringLiteral("当せん金額"),
                                    QStringLiteral("当選金額"), QStringLiteral("当せん金"),
                                    QStringLiteral("当選金")};
    for (const auto &[kindName, kind] : kinds) {
        if (!key.startsWith(kindName))
            continue;
        const QString measure = key.mid(kindName.size());
        if (winners.contains(measure))
            return 2 * kind;
        if (yen.contains(measure))
            return 2 * kind + 1;
        return OtherColumn;
    }
    return OtherColumn;
}

struct Header
{
    int draw = -1;
    int date = -1;
    int digits = -1;
    // Where each prize column is (winners, yen for each kind); prizes are
    // read only when every one is there.
    std::array<int, 2 * PrizeKinds> prizes;
    bool hasPrizes = false;
    qsizetype columns = 0;
};

std::optional<Header> readHeader(const QList<Field> &fields)
{
    Header header;
    header.prizes.fill(-1);
    header.columns = fields.size();
    for (int i = 0; i < fields.size(); ++i) {
        const int column = columnNamed(fields[i].text);
        int *at = column == DrawColumn     ? &header.draw
                  : column == DateColumn   ? &header.date
                  : column == DigitsColumn ? &header.digits
                  : column >= 0            ? &header.prizes[column]
                                           : nullptr;
        if (at && *at < 0)
            *at = i;
    }
    if (header.draw < 0 || header.digits < 0)
        return std::nullopt;
    header.hasPrizes = std::all_of(header.prizes.begin(), header.prizes.end(),
                                   [](int column) { return column >= 0; });
    return header;
}

// The parts of a line in the roles a header or their look gives them.
struct Parts
{
    QString draw;
    QString number;
    QString date;
    std::optional<Prizes> prizes;
};

std::optional<Parts> partsUnder(const Header &header, const QList<Field> &fields, QString &reason)
{
    const auto field = [&](int column) {
        return column >= 0 && column < fields.size() ? fields[column] : Field();
    };
    // A comma outside quotes made more columns than the header has: every
    // column after it would be read as the next one's.
    for (qsizetype i = header.columns; i < fields.size(); ++i) {
        if (!fields[i].text.isEmpty()) {
            reason = Text::tr("more columns than the header names");
            return std::nullopt;
        }
    }
    Parts parts;
    parts.draw = markedDraw(field(header.draw).text).value_or(field(header.draw).text);
    parts.number = field(header.digits).text;
    parts.date = field(header.date).text;
    if (!header.hasPrizes)
        return parts;
    bool any = false;
    for (int column : header.prizes)
        any = any || !field(column).text.isEmpty();
    if (!any)
        return parts;
    Prizes prizes;
    for (int i = 0; i < 2 * PrizeKinds; ++i) {
        const std::optional<qint64> value = parsePrize(field(header.prizes[i]));
        if (!value) {
            reason =
                Text::tr("%1 is not a number of winners or yen").arg(field(header.prizes[i]).text);
            return std::nullopt;
        }
        (i % 2 ? prizes[i / 2].yen : prizes[i / 2].winners) = *value;
    }
    parts.prizes = prizes;
    return parts;
}

std::optional<Parts> partsByLook(const QList<Field> &fields, QString &reason)
{
    Parts parts;
    QStringList numbers;
    bool marked = false;
    for (const Field &field : fields) {
        if (field.text.isEmpty() || isWeekday(field.text))
            continue;
        if (const std::optional<QString> draw = markedDraw(field.text)) {
            if (marked) {
                reason = Text::tr("two draw numbers");
                return std::nullopt;
            }
            marked = true;
            parts.draw = *draw;
        } else if (looksLikeDate(field.text)) {
            if (!parts.date.isEmpty()) {
                reason = Text::tr("two dates");
                return std::nullopt;
            }
            parts.date = field.text;
        } else if (looksLikeNumber(field.text)) {
            numbers.append(field.text);
        } else {
            reason = Text::tr("%1 is not a draw, a date or a number").arg(field.text);
            return std::nullopt;
        }
    }
    if (!marked && !numbers.isEmpty())
        parts.draw = numbers.takeFirst();
    if (!numbers.isEmpty())
        parts.number = numbers.takeFirst();
    if (!numbers.isEmpty()) {
        reason = Text::tr("more columns than a draw, a date and a number (prizes are read "
                          "under a header that names them)");
        return std::nullopt;
    }
    return parts;
}

std::optional<DrawRow> rowOf(const Parts &parts, QString &reason)
{
    DrawRow row;
    if (parts.draw.isEmpty() || !isDigits(parts.draw)) {
        reason = parts.draw.isEmpty() ? Text::tr("no draw number")
                                      : Text::tr("%1 is not a draw number").arg(parts.draw);
        return std::nullopt;
    }
    const std::optional<int> draw = parseDraw(parts.draw, reason);
    if (!draw)
        return std::nullopt;
    row.draw = *draw;
    if (!parts.date.isEmpty()) {
        const std::optional<QDate> date = parseDate(parts.date);
        if (!date) {
            reason = Text::tr("%1 is not a date").arg(parts.date);
            return std::nullopt;
        }
        row.date = *date;
    }
    if (parts.number.isEmpty()) {
        reason = Text::tr("no number");
        return std::nullopt;
    }
    const std::optional<QString> digits = parseNumber(parts.number, reason);
    if (!digits)
        return std::nullopt;
    row.digits = *digits;
    row.prizes = parts.prizes;
    return row;
}

bool hasDigit(const QString &line)
{
    return std::any_of(line.begin(), line.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

DrawReading readDraws(QByteArrayView bytes)
{
    DrawReading reading;
    if (bytes.size() > maxDrawInputBytes) {
        reading.refusal = Text::tr("The text is over 4 MB; nothing was read.");
        return reading;
    }
    const DecodedText text = decodeLines(bytes, maxDrawLineBytes);
    reading.encoding = text.encoding;
    if (text.overlongLine) {
        reading.refusal =
            Text::tr("Line %1 is over 64 kB; nothing was read.").arg(*text.overlongLine);
        return reading;
    }
    std::optional<Header> header;
    for (int i = 0; i < text.lines.size(); ++i) {
        const int lineNumber = i + 1;
        if (!text.lines[i].decoded) {
            reading.refused.append({lineNumber, Text::tr("not text in this file's encoding")});
            continue;
        }
        const QString line = narrowed(text.lines[i].text);
        const std::optional<QList<Field>> fields = splitFields(line);
        if (!fields) {
            reading.refused.append({lineNumber, Text::tr("a quote is not closed")});
            continue;
        }
        if (!hasDigit(line)) {
            if (std::optional<Header> named = readHeader(*fields)) {
                header = named;
                reading.headerLines.append(lineNumber);
            }
            continue;
        }
        QString reason;
        std::optional<Parts> parts =
            header ? partsUnder(*header, *fields, reason) : partsByLook(*fields, reason);
        std::optional<DrawRow> row = parts ? rowOf(*parts, reason) : std::nullopt;
        if (!row) {
            reading.refused.append({lineNumber, reason});
            continue;
        }
        row->line = lineNumber;
        reading.rows.append(*row);
    }
    return reading;
}

DrawReading readDrawFile(const QString &path)
{
    DrawReading reading;
    if (QFileInfo(path).size() > maxDrawInputBytes) {
        reading.refusal = Text::tr("The file is over 4 MB; nothing was read.");
        return reading;
    }
    const std::optional<QByteArray> bytes = platform::readPlausibleFile(path, maxDrawInputBytes);
    if (!bytes) {
        reading.refusal = Text::tr("The file cannot be read.");
        return reading;
    }
    return readDraws(*bytes);
}

QString drawWithDate(int draw, const QDate &date)
{
    if (!date.isValid())
        return QString::number(draw);
    return QStringLiteral("%1 (%2)").arg(draw).arg(date.toString(Qt::ISODate));
}
