// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pastdata/drawpreview.h"
#include "pastdata/drawreader.h"

#include <QtTest>

class tst_DrawReader : public QObject
{
    Q_OBJECT

private slots:
    void readsWhatPlayersPaste_data();
    void readsWhatPlayersPaste();
    void previewsBeforeAnythingChanges_data();
    void previewsBeforeAnythingChanges();
};

namespace {

// A reading in short: "draw date digits" for each row (with " p" and the
// winners/yen of each prize when it has them), then "!line" for each line
// refused; "refused" when nothing was read at all.
QString described(const DrawReading &reading)
{
    if (!reading.refusal.isEmpty())
        return QStringLiteral("refused");
    QStringList parts;
    for (const DrawRow &row : reading.rows) {
        QStringList part = {QString::number(row.draw)};
        if (row.date.isValid())
            part << row.date.toString(Qt::ISODate);
        part << row.digits;
        if (row.prizes) {
            QStringList prizes;
            for (const Prize &prize : *row.prizes)
                prizes << QStringLiteral("%1/%2").arg(prize.winners).arg(prize.yen);
            part << QLatin1Char('p') + prizes.join(QLatin1Char(','));
        }
        parts << part.join(QLatin1Char(' '));
    }
    for (const LineProblem &problem : reading.refused)
        parts << QStringLiteral("!%1%2")
                     .arg(problem.line)
                     .arg(problem.reason.isEmpty() ? QStringLiteral(" without a reason")
                                                   : QString());
    return parts.join(QStringLiteral("; "));
}

QByteArray utf16(const QString &text, bool bigEndian)
{
    QByteArray bytes = bigEndian ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE");
    for (const QChar c : text) {
        const char high = char(c.unicode() >> 8), low = char(c.unicode() & 0xFF);
        bytes.append(bigEndian ? high : low).append(bigEndian ? low : high);
    }
    return bytes;
}

const QByteArray prizeHeader = "draw,date,digits,straight_winners,straight_yen,box_winners,box_yen,"
                               "set_straight_winners,set_straight_yen,set_box_winners,set_box_yen,"
                               "mini_winners,mini_yen\n";

// 第6874回 2025年12月9日(火) ７３５ in Shift_JIS.
const QByteArray shiftJisLine = "\x91\xE6"
                                "6874\x89\xF1 2025\x94N12\x8C\x8E"
                                "9\x93\xFA(\x89\xCE) \x82V\x82R\x82T";

} // namespace

void tst_DrawReader::readsWhatPlayersPaste_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("encoding");
    // The first line as decoded, where it is checked.
    QTest::addColumn<QString>("firstLine");
    const int utf8 = int(TextEncoding::Utf8), sjis = int(TextEncoding::ShiftJis);

    QTest::newRow("the shipped table's columns")
        << QByteArray("draw,date,digits\n6874,2025-12-09,735\r\n6875,2025-12-10,017\n")
        << "6874 2025-12-09 735; 6875 2025-12-10 017" << utf8 << QString();
    QTest::newRow("a results page: marked draw, Japanese date, weekday, full-width number")
        << QStringLiteral(
               "第6874回 2025年12月9日(火) ７３５\n第6875回　2025年12月10日 （水）　０１７")
               .toUtf8()
        << "6874 2025-12-09 735; 6875 2025-12-10 017" << utf8 << QString();
    QTest::newRow("era dates, 令和元年 and the era's first day")
        << QStringLiteral("6874 令和7年12月9日 735\n100 令和元年5月1日 123\n101 令和1年4月30日 123")
               .toUtf8()
        << "6874 2025-12-09 735; 100 2019-05-01 123; !3" << utf8 << QString();
    QTest::newRow("slashes, brackets, a draw with no date")
        << QByteArray("6874, [7, 3, 5], 2025/12/9\n6875 2025/12/10 [0 1 7]\n06876 123")
        << "6874 2025-12-09 735; 6875 2025-12-10 017; 6876 123" << utf8 << QString();
    QTest::newRow("quoted fields and a quoted quote")
        << QByteArray("\"draw\",\"date\",\"digits\",\"note\"\n\"6874\",\"2025-12-09\",\"735\","
                      "\"a \"\"lucky\"\", one\"\n")
        << "6874 2025-12-09 735" << utf8 << QString();
    QTest::newRow("a spreadsheet's leading zeros lost: kept as read, flagged")
        << QByteArray("6874,2025-12-09,17\n6875,2025-12-10,5")
        << "6874 2025-12-09 17; 6875 2025-12-10 5" << utf8 << QString();
    QTest::newRow("prizes under a header that names them, plain")
        << prizeHeader + "6874,2025-12-09,735,68,107100,392,17800,217,62400,748,8900,540,10700\n"
        << "6874 2025-12-09 735 p68/107100,392/17800,217/62400,748/8900,540/10700" << utf8
        << QString();
    QTest::newRow("prizes with yen and separators in quotes; none paid; none given")
        << prizeHeader +
               "6874,2025-12-09,735,\"68\",\"107,100円\",392,17800,217,62400,748,8900,540,10700\n"
               "6875,2025-12-10,777,10,\"1,000,000円\",-,-,3,500000,-,-,-,-\n"
               "6876,2025-12-11,123\n"
               "6877,2025-12-12,124,x,1,2,3,4,5,6,7,8,9\n"
        << "6874 2025-12-09 735 p68/107100,392/17800,217/62400,748/8900,540/10700; "
           "6875 2025-12-10 777 p10/1000000,0/0,3/500000,0/0,0/0; 6876 2025-12-11 123; !5"
        << utf8 << QString();
    QTest::newRow("a thousands separator outside quotes splits a column: refused")
        << prizeHeader + "6874,2025-12-09,735,68,107,100,392,17800,217,62400,748,8900,540,10700\n"
        << "!2" << utf8 << QString();
    QTest::newRow("Japanese headers, tab-separated, 円 and 口")
        << QStringLiteral(
               "回号\t抽せん日\t当せん番号\tストレート口数\tストレート金額\tボックス口数\t"
               "ボックス金額\tセットストレート口数\tセットストレート金額\tセットボックス口数\t"
               "セットボックス金額\tミニ口数\tミニ金額\n第6874回\t2025/12/9\t735\t68口\t107,"
               "100円\t392口\t17,800円\t217\t62,400円\t748\t8,900円\t540\t10,700円\n")
               .toUtf8()
        << "6874 2025-12-09 735 p68/107100,392/17800,217/62400,748/8900,540/10700" << utf8
        << QString();
    QTest::newRow("prizes without a header are not guessed")
        << QByteArray("6874,2025-12-09,735,68,107100") << "!1" << utf8 << QString();
    QTest::newRow("lines without digits pass; every other line read or refused")
        << QStringLiteral(
               "ナンバーズ当せん番号\n\n6874 2025-12-09 735\nナンバーズ3\n6875 2025-12-10 abc")
               .toUtf8()
        << "6874 2025-12-09 735; !4; !5" << utf8 << QString();
    QTest::newRow("refused: four digits, draw above 9999, draw 0, no such day, open quote")
        << QByteArray("6874,2025-12-09,7350\n10000,2025-12-10,123\n0,2025-12-10,123\n"
                      "6875,2025-02-30,123\n6876,\"2025-12-10,123\n6877,2025-12-11,[7, 3]\n"
                      "6878,2025-12-11\n第6879回,第6880回,123\n6881,2025-12-11,2025-12-12,123")
        << "!1; !2; !3; !4; !5; !6; !7; !8; !9" << utf8 << QString();
    QTest::newRow("UTF-8 with its mark") << QByteArray("\xEF\xBB\xBF") + "6874,2025-12-09,735"
                                         << "6874 2025-12-09 735" << utf8 << "6874,2025-12-09,735";
    QTest::newRow("UTF-16, little-endian, as a spreadsheet's Unicode text")
        << utf16(QStringLiteral("第6874回\t2025年12月9日\t735\r\n6875\t2025/12/10\t017\r\n"), false)
        << "6874 2025-12-09 735; 6875 2025-12-10 017" << int(TextEncoding::Utf16LittleEndian)
        << QStringLiteral("第6874回\t2025年12月9日\t735");
    QTest::newRow("UTF-16, big-endian, with an unpaired surrogate on one line")
        << utf16(QStringLiteral("6874 2025-12-09 735\n") + QChar(0xD800) +
                     QStringLiteral("\n6875 2025-12-10 017"),
                 true)
        << "6874 2025-12-09 735; 6875 2025-12-10 017; !2" << int(TextEncoding::Utf16BigEndian)
        << QString();
    QTest::newRow("Shift_JIS: a whole results line, CR LF")
        << shiftJisLine + "\r\n6875,\x97\xDF\x98"
                          "a7\x94N12\x8C\x8E"
                          "10\x93\xFA,017\r\n"
        << "6874 2025-12-09 735; 6875 2025-12-10 017" << sjis
        << QStringLiteral("第6874回 2025年12月9日(火) ７３５");
    QTest::newRow("Shift_JIS: half-width kana, NEC and IBM signs, 円 and 口")
        << QByteArray("\xB1\xB2\xB3\x87@\xEE\xEF\x81\xFC\xFA"
                      "@\x89~\x8C\xFB")
        << QString() << sjis << QStringLiteral("ｱｲｳ①ⅰ◯ⅰ円口");
    QTest::newRow("Shift_JIS: a line that does not decode is one bad line")
        << QByteArray("6874,2025-12-09,735\n\x81 \xFF\n\x82") + "\n" + shiftJisLine
        << "6874 2025-12-09 735; 6874 2025-12-09 735; !2; !3" << sjis << "6874,2025-12-09,735";
    QTest::newRow("over 4 MB: refused before reading")
        << QByteArray("6874,2025-12-09,735\n").repeated(maxDrawInputBytes / 20 + 1) << "refused"
        << utf8 << QString();
    QTest::newRow("exactly 4 MB of blank lines: read")
        << QByteArray(maxDrawInputBytes, '\n') << QString() << utf8 << QString();
    QTest::newRow("a line of 64 kB and one byte: refused before reading")
        << QByteArray("6874,2025-12-09,735\n") + QByteArray(maxDrawLineBytes + 1, ' ') << "refused"
        << utf8 << QString();
    QTest::newRow("a line of exactly 64 kB, in UTF-16: read")
        << utf16(QStringLiteral("6874,2025-12-09,735") + QString(maxDrawLineBytes / 2 - 19, u' '),
                 false)
        << "6874 2025-12-09 735" << int(TextEncoding::Utf16LittleEndian) << QString();
}

void tst_DrawReader::readsWhatPlayersPaste()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, expected);
    QFETCH(int, encoding);
    QFETCH(QString, firstLine);
    const DrawReading reading = readDraws(input);
    QCOMPARE(described(reading), expected);
    if (expected != QStringLiteral("refused"))
        QCOMPARE(int(reading.encoding), encoding);
    if (!firstLine.isEmpty())
        QCOMPARE(decodeLines(input, maxDrawLineBytes).lines.value(0).text, firstLine);
}

void tst_DrawReader::previewsBeforeAnythingChanges_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("takeShortNumbers");
    QTest::addColumn<QList<int>>("replace");
    // "+" the draws added, "=" those replacing, "~" the rows agreeing,
    // "gap" the gaps, "?" the draws waiting for confirmation, "!" the lines
    // refused, "r" the draws offered for replacing.
    QTest::addColumn<QString>("expected");

    QTest::newRow("new draws after the known ones, a gap, a row that agrees")
        << "6873,2025-12-08,412\n6874,2025-12-09,735\n6878,2025-12-15,111" << false << QList<int>()
        << "+6874,6878 ~1 gap6875-6877";
    QTest::newRow("the same draw twice: agreeing lines are one row, others both refused")
        << "6874,2025-12-09,735\n6874,,735\n6875,2025-12-10,111\n6875,2025-12-10,112" << false
        << QList<int>() << "+6874 !3,4";
    QTest::newRow("a built-in draw is never changed; an added one only when chosen")
        << "6873,2025-12-08,999\n6870,2025-11-27,001\n6880,2025-12-17,999\n6881,2025-12-18,124"
        << false << QList<int>() << "~1 !1,2,3 r6880";
    QTest::newRow("replacing an added draw when chosen")
        << "6880,2025-12-17,999" << false << QList<int>{6880} << "=6880";
    QTest::newRow("dates must go forward: against a known draw, and both of a pair")
        << "6874,2025-12-08,111\n6876,2025-12-12,222\n6877,2025-12-11,333\n6878,2025-12-15,444"
        << false << QList<int>() << "+6878 gap6874-6877 !1,2,3";
    QTest::newRow("dates between an undated draw and a later added one")
        << "6878,2025-12-20,555" << false << QList<int>() << "!1";
    QTest::newRow("a date after today")
        << "6874,2025-12-09,735\n6875,2025-12-25,111" << false << QList<int>() << "+6874 !2";
    QTest::newRow("a short number waits for confirmation, then is taken")
        << "6874,2025-12-09,17" << false << QList<int>() << "?6874";
    QTest::newRow("confirmed") << "6874,2025-12-09,17" << true << QList<int>() << "+6874";
    QTest::newRow("the reader's refusals come through with their lines")
        << "6874,2025-12-09,735\nabc 1\n10000,2025-12-09,735" << false << QList<int>()
        << "+6874 !2,3";
}

void tst_DrawReader::previewsBeforeAnythingChanges()
{
    QFETCH(QString, input);
    QFETCH(bool, takeShortNumbers);
    QFETCH(QList<int>, replace);
    QFETCH(QString, expected);
    // Built in to 6873 (2025-12-08, 412); added: 6879 without a date, 6880
    // and 6881 on 2025-12-17 and 2025-12-18.
    DrawTable known;
    for (int draw = 6860; draw < 6873; ++draw)
        known.insert(draw, {QDate(2025, 11, 17).addDays(draw - 6860),
                            QStringLiteral("%1").arg(draw % 1000, 3, 10, QLatin1Char('0')), true});
    known.insert(6873, {QDate(2025, 12, 8), QStringLiteral("412"), true});
    known.insert(6879, {QDate(), QStringLiteral("000"), false});
    known.insert(6880, {QDate(2025, 12, 17), QStringLiteral("123"), false});
    known.insert(6881, {QDate(2025, 12, 18), QStringLiteral("124"), false});
    PreviewChoices choices;
    choices.today = QDate(2025, 12, 22);
    choices.takeShortNumbers = takeShortNumbers;
    choices.replace = QSet<int>(replace.cbegin(), replace.cend());

    const DrawPreview preview = previewDraws(readDraws(input.toUtf8()), known, choices);
    const auto draws = [](const QList<DrawRow> &rows) {
        QStringList list;
        for (const DrawRow &row : rows)
            list << QString::number(row.draw);
        return list.join(QLatin1Char(','));
    };
    QStringList parts;
    if (!preview.added.isEmpty())
        parts << QLatin1Char('+') + draws(preview.added);
    if (!preview.replacing.isEmpty())
        parts << QLatin1Char('=') + draws(preview.replacing);
    if (preview.agreeing)
        parts << QStringLiteral("~%1").arg(preview.agreeing);
    for (const auto &[first, last] : preview.gaps)
        parts << QStringLiteral("gap%1-%2").arg(first).arg(last);
    if (!preview.unconfirmed.isEmpty())
        parts << QLatin1Char('?') + draws(preview.unconfirmed);
    QStringList lines;
    for (const LineProblem &problem : preview.refused)
        lines << QString::number(problem.line);
    if (!lines.isEmpty())
        parts << QLatin1Char('!') + lines.join(QLatin1Char(','));
    QStringList offered;
    for (int draw : preview.replaceable)
        offered << QString::number(draw);
    if (!offered.isEmpty())
        parts << QLatin1Char('r') + offered.join(QLatin1Char(','));
    QCOMPARE(parts.join(QLatin1Char(' ')), expected);
    // Every part of the preview has its line to show.
    QCOMPARE(preview.lines().size(), 1 + preview.replacing.size() + (preview.agreeing ? 1 : 0) +
                                         preview.gaps.size() + preview.unconfirmed.size() +
                                         preview.refused.size());
}

QTEST_GUILESS_MAIN(tst_DrawReader)
#include "tst_drawreader.moc"
