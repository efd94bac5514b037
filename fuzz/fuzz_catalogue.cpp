// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The translation catalogue: the program's check, and for every catalogue it
// accepts the toolkit's own loading and a lookup of every message in it, as
// the program's translator does them. The check is what stands between a
// replaced file and the toolkit, which trusts every length it reads.

#include "app/translator.h"
#include "common/catalogue.h"
#include "harness.h"

#include <QList>
#include <QtEndian>

#include <array>

namespace {

// Source text, context and comment of each message of an accepted
// catalogue, read from its records, so that each lookup finds its way
// through the toolkit's hash table to a real record.
QList<std::array<QByteArray, 3>> messagesOf(QByteArrayView catalogue)
{
    auto lengthAt = [](QByteArrayView bytes, qsizetype at) {
        return qsizetype(qFromBigEndian<quint32>(bytes.data() + at));
    };
    QByteArrayView block;
    for (qsizetype at = 16; at + 5 <= catalogue.size(); at += 5 + lengthAt(catalogue, at + 1)) {
        if (catalogue[at] == 0x69)
            block = catalogue.sliced(at + 5, lengthAt(catalogue, at + 1));
    }
    QList<std::array<QByteArray, 3>> messages(1);
    for (qsizetype at = 0; at < block.size();) {
        const char tag = block[at++];
        if (tag == 1) {
            messages.emplace_back();
            continue;
        }
        // An obsolete field holds a number, a null string no text.
        const qsizetype length =
            tag == 5 || lengthAt(block, at) == 0xffffffff ? 0 : lengthAt(block, at);
        at += 4;
        if (tag >= 6 && tag <= 8)
            messages.last()[tag - 6] = block.sliced(at, length).toByteArray();
        at += length;
    }
    return messages;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView catalogue = placeBeforeGuardPage(data, size);
    if (!isWellFormedCatalogue(catalogue))
        return 0;
    Translator translator;
    if (!translator.load(reinterpret_cast<const uchar *>(catalogue.data()), int(catalogue.size())))
        return 0;
    // Plural forms go through the catalogue's numerus rules.
    for (const auto &[sourceText, context, comment] : messagesOf(catalogue)) {
        for (int n : {-1, 0, 1, 2, 11, 101})
            (void)translator.translate(context.constData(), sourceText.constData(),
                                       comment.constData(), n);
    }
    return 0;
}
