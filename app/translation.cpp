// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/translation.h"

#include "common/safefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

constexpr uchar catalogueMagic[16] = {0x3c, 0xb8, 0x64, 0x18, 0xca, 0xef, 0x9c, 0x95,
                                      0xcd, 0x21, 0x1c, 0xbf, 0x60, 0xa1, 0xbd, 0xdd};
// Our catalogue is a few kilobytes; anything near this is not ours.
constexpr qint64 maxCatalogueSize = 4 * 1024 * 1024;

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

bool Translator::loadCatalogue(const QString &path)
{
    std::optional<QByteArray> data = readPlausibleFile(path, maxCatalogueSize);
    if (!data || !isWellFormedCatalogue(*data)) {
        (void)load(nullptr, 0); // forgets any catalogue loaded before
        return false;
    }
    // The toolkit reads the bytes in place: the old ones may go only once
    // the new ones are loaded.
    const QByteArray previous = std::exchange(catalogue, *data);
    return load(reinterpret_cast<const uchar *>(catalogue.constData()), int(catalogue.size()));
}

bool installTranslation(Translator &translator, QLocale::Language language,
                        const QString &directory)
{
    if (language != QLocale::Japanese)
        return false;
    const QString name = QStringLiteral("lukimo_") + QStringLiteral("ja") + QStringLiteral(".qm");
    (void)translator.loadCatalogue(QDir(directory).filePath(name));
    return QCoreApplication::installTranslator(&translator);
}
