// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/textdecode.h"

#include "common/cp932table.h"

#include <QStringDecoder>

namespace {

struct Span
{
    qsizetype from;
    qsizetype size;
};

// Where each line lies in bytes whose text is made of units of unitBytes
// bytes each; unitAt(i) is the i-th unit. An odd byte left over at the end
// of UTF-16 stays in the last line, which then does not decode.
template <typename UnitAt>
QList<Span> splitLines(QByteArrayView bytes, int unitBytes, UnitAt unitAt)
{
    QList<Span> spans;
    const qsizetype units = bytes.size() / unitBytes;
    qsizetype start = 0;
    for (qsizetype i = 0; i < units; ++i) {
        const char16_t unit = unitAt(i);
        if (unit != u'\n' && unit != u'\r')
            continue;
        spans.append({start * unitBytes, (i - start) * unitBytes});
        if (unit == u'\r' && i + 1 < units && unitAt(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start * unitBytes < bytes.size())
        spans.append({start * unitBytes, bytes.size() - start * unitBytes});
    return spans;
}

std::optional<QString> decodeUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// UTF-16 whose every surrogate is one of a pair.
std::optional<QString> decodeUtf16(QByteArrayView bytes, bool bigEndian)
{
    if (bytes.size() % 2)
        return std::nullopt;
    QString text(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const uchar first = uchar(bytes[2 * i]);
        const uchar second = uchar(bytes[2 * i + 1]);
        text[i] = QChar(bigEndian ? char16_t(first << 8 | second) : char16_t(second << 8 | first));
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            return std::nullopt;
    }
    return text;
}

// The row of the double-byte table a lead byte opens, or -1.
int leadRow(uchar byte)
{
    if (byte >= 0x81 && byte <= 0x9F)
        return byte - 0x81;
    if (byte >= 0xE0 && byte <= 0xFC)
        return byte - 0xE0 + (0x9F - 0x81 + 1);
    return -1;
}

} // namespace

std::optional<QString> decodeShiftJis(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const uchar byte = uchar(bytes[i]);
        if (cp932Single[byte] != cp932None) {
            text.append(QChar(cp932Single[byte]));
            continue;
        }
        const int row = leadRow(byte);
        if (row < 0 || i + 1 == bytes.size())
            return std::nullopt;
        const uchar trail = uchar(bytes[++i]);
        if (trail < 0x40 || trail > 0xFC)
            return std::nullopt;
        const char16_t unit = cp932Double[row * cp932Trails + (trail - 0x40)];
        if (unit == cp932None)
            return std::nullopt;
        text.append(QChar(unit));
    }
    return text;
}

DecodedText decodeLines(QByteArrayView bytes, qsizetype maxLineBytes)
{
    DecodedText result;
    QList<Span> spans;
    bool guessed = false;
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        const bool bigEndian = bytes[0] == '\xFE';
        result.encoding =
            bigEndian ? TextEncoding::Utf16BigEndian : TextEncoding::Utf16LittleEndian;
        bytes = bytes.sliced(2);
        spans = splitLines(bytes, 2, [&](qsizetype i) {
            const uchar first = uchar(bytes[2 * i]);
            const uchar second = uchar(bytes[2 * i + 1]);
            return bigEndian ? char16_t(first << 8 | second) : char16_t(second << 8 | first);
        });
    } else {
        const bool marked = bytes.startsWith("\xEF\xBB\xBF");
        if (marked)
            bytes = bytes.sliced(3);
        spans = splitLines(bytes, 1, [&](qsizetype i) { return char16_t(uchar(bytes[i])); });
        result.encoding = TextEncoding::Utf8;
        guessed = !marked;
    }
    for (qsizetype i = 0; i < spans.size(); ++i) {
        if (spans[i].size > maxLineBytes) {
            result.overlongLine = int(i + 1);
            return result;
        }
    }
    // Without a mark, one line that is not UTF-8 makes the whole text
    // Shift_JIS: a file has one encoding.
    if (guessed && !decodeUtf8(bytes))
        result.encoding = TextEncoding::ShiftJis;
    result.lines.reserve(spans.size());
    for (const Span &span : spans) {
        const QByteArrayView line = bytes.sliced(span.from, span.size);
        std::optional<QString> text;
        switch (result.encoding) {
        case TextEncoding::Utf8:
            text = decodeUtf8(line);
            break;
        case TextEncoding::Utf16LittleEndian:
        case TextEncoding::Utf16BigEndian:
            text = decodeUtf16(line, result.encoding == TextEncoding::Utf16BigEndian);
            break;
        case TextEncoding::ShiftJis:
            text = decodeShiftJis(line);
            break;
        }
        result.lines.append(text ? DecodedLine{*text, true} : DecodedLine{QString(), false});
    }
    return result;
}
