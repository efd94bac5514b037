// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The translation catalogue: the program's check, and for every catalogue it
// accepts the toolkit's own loading and a lookup of every message in it, as
// the program's translator does them. The check is what stands between a
// replaced file and the toolkit, which trusts every length it reads.

#include "app/translator.h"
#include "common/catalogue.h"
#include "guarded.h"

#include <QList>
#include <QtEndian>

namespace {

struct Message
{
    QByteArray context, sourceText, comment;
};

// The messages of an accepted catalogue, read from its records so that each
// lookup finds its way through the toolkit's hash table to a real record.
QList<Message> messagesOf(QByteArrayView catalogue)
{
    QList<Message> messages;
    const auto *bytes = reinterpret_cast<const uchar *>(catalogue.data());
    QByteArrayView block;
    for (qsizetype at = 16; at + 5 <= catalogue.size();) {
        const quint32 length = qFromBigEndian<quint32>(bytes + at + 1);
        if (bytes[at] == 0x69)
            block = catalogue.sliced(at + 5, length);
        at += 5 + qsizetype(length);
    }
    const auto *record = reinterpret_cast<const uchar *>(block.data());
    Message message;
    for (qsizetype at = 0; at < block.size();) {
        const uchar tag = record[at++];
        if (tag == 1) {
            messages.append(std::exchange(message, Message()));
            continue;
        }
        const quint32 length = qFromBigEndian<quint32>(record + at);
        at += 4;
        if (tag == 5 || length == 0xffffffffu)
            continue;
        const QByteArray field(block.data() + at, qsizetype(length));
        if (tag == 6)
            message.sourceText = field;
        else if (tag == 7)
            message.context = field;
        else if (tag == 8)
            message.comment = field;
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
    (void)translator.language();
    (void)translator.isEmpty();
    for (const Message &message : messagesOf(catalogue)) {
        // Plural forms go through the catalogue's numerus rules.
        for (int n : {-1, 0, 1, 2, 11, 101})
            (void)translator.translate(message.context.constData(), message.sourceText.constData(),
                                       message.comment.constData(), n);
    }
    return 0;
}
