// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef TEXTDECODE_H
#define TEXTDECODE_H

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

// Text from outside, as a user's files and pastes hold it: a byte-order mark
// for UTF-8 means UTF-8, one for UTF-16 (a spreadsheet's "Unicode text")
// means UTF-16 of that order; otherwise text that is valid UTF-8 is UTF-8,
// and anything else is Shift_JIS, as Japanese downloads are, decoded by our
// own table on every platform.
enum class TextEncoding { Utf8, Utf16LittleEndian, Utf16BigEndian, ShiftJis };

struct DecodedLine
{
    QString text;
    // False when the line's bytes are not text in the encoding: text is
    // then empty, and the other lines are not affected.
    bool decoded = true;
};

struct DecodedText
{
    TextEncoding encoding = TextEncoding::Utf8;
    // Split at LF, CR LF or a lone CR; a last line left empty by a final
    // line break is not a line.
    QList<DecodedLine> lines;
    // When a line (counted from 1) has more than the limit's bytes, nothing
    // is decoded and this is the first such line.
    std::optional<int> overlongLine;
};

// The lines of bytes, none of them decoded when one is longer than
// maxLineBytes bytes (its line break not counted).
DecodedText decodeLines(QByteArrayView bytes, qsizetype maxLineBytes);

// Shift_JIS (code page 932) bytes as text; nothing when a byte or pair of
// bytes is not a character of the code page.
std::optional<QString> decodeShiftJis(QByteArrayView bytes);

#endif
