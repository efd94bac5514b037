// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/catalogue.h"

#include <QList>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace {

constexpr uchar catalogueMagic[16] = {0x3c, 0xb8, 0x64, 0x18, 0xca, 0xef, 0x9c, 0x95,
                                      0xcd, 0x21, 0x1c, 0xbf, 0x60, 0xa1, 0xbd, 0xdd};

enum Section : uchar { Hashes = 0x42, Messages = 0x69, NumerusRules = 0x88, LanguageName = 0xa7 };
enum RecordTag : uchar {
    End = 1,
    Translation = 3,
    Obsolete1 = 5,
    SourceText = 6,
    Context = 7,
    Comment = 8
};

// Reads the messages block as a run of records and collects where each one
// starts; false when any field would run past the block or a tag is unknown.
bool readRecords(QByteArrayView block, QList<quint32> &starts)
{
    const auto *bytes = reinterpret_cast<const uchar *>(block.data());
    const qsizetype size = block.size();
    qsizetype at = 0;
    while (at < size) {
        starts.append(quint32(at));
        for (;;) {
            if (at >= size)
                return false;
            const uchar tag = bytes[at++];
            if (tag == End)
                break;
            if (size - at < 4)
                return false;
            const quint32 length = qFromBigEndian<quint32>(bytes + at);
            at += 4;
            if (tag == Obsolete1)
                continue;
            if (tag != Translation && tag != SourceText && tag != Context && tag != Comment)
                return false;
            // A translation of length 0xffffffff stands for "none".
            if (tag == Translation && length == 0xffffffffu)
                continue;
            if (length > quint64(size - at) || (tag == Translation && length % 2 != 0))
                return false;
            at += length;
        }
    }
    return true;
}

} // namespace

bool isWellFormedCatalogue(QByteArrayView data)
{
    const auto *bytes = reinterpret_cast<const uchar *>(data.data());
    const qsizetype size = data.size();
    if (size < qsizetype(sizeof catalogueMagic) ||
        std::memcmp(bytes, catalogueMagic, sizeof catalogueMagic) != 0)
        return false;

    QByteArrayView hashes, messages;
    qsizetype at = sizeof catalogueMagic;
    while (at < size) {
        if (size - at < 5)
            return false;
        const uchar tag = bytes[at];
        const quint32 length = qFromBigEndian<quint32>(bytes + at + 1);
        at += 5;
        if (length == 0 || length > quint64(size - at))
            return false;
        const QByteArrayView block = data.sliced(at, length);
        switch (tag) {
        case Hashes:
            hashes = block;
            break;
        case Messages:
            messages = block;
            break;
        case NumerusRules:
        case LanguageName:
            break;
        default:
            // Context tables and dependencies (which make the toolkit load
            // further files) are never part of our catalogue.
            return false;
        }
        at += length;
    }

    QList<quint32> starts;
    if (messages.isEmpty() || hashes.isEmpty() || !readRecords(messages, starts) ||
        hashes.size() % 8 != 0)
        return false;
    const auto *entry = reinterpret_cast<const uchar *>(hashes.data());
    quint32 previousHash = 0;
    for (qsizetype i = 0; i < hashes.size(); i += 8) {
        const quint32 hash = qFromBigEndian<quint32>(entry + i);
        const quint32 offset = qFromBigEndian<quint32>(entry + i + 4);
        // The toolkit looks hashes up by bisection and reads a record from
        // each offset.
        if (hash < previousHash || !std::binary_search(starts.cbegin(), starts.cend(), offset))
            return false;
        previousHash = hash;
    }
    return true;
}
