// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The click's wave file: the program's check, and for every file it accepts
// what the sound plugin's player does with it before the audio output sees
// it: the toolkit's wave decoder reads the header and the samples.

#include "common/wavefile.h"
#include "guarded.h"

#include <QBuffer>
#include <QWaveDecoder>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView wave = placeBeforeGuardPage(data, size);
    if (!isPlausibleWave(wave))
        return 0;
    QByteArray bytes = QByteArray::fromRawData(wave.data(), wave.size());
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QWaveDecoder decoder(&buffer);
    if (!decoder.open(QIODevice::ReadOnly) || decoder.size() < 0)
        return 0;
    // What the player makes of it: a buffer of the size the decoder gives,
    // filled with what it reads. A header that claims more than the file
    // holds would have it reserve that much; the check is there to refuse
    // such a file (24-bit samples come out widened to 32 bits).
    const qint64 claimed = decoder.size();
    if (claimed > 2 * qint64(wave.size())) {
        std::fprintf(stderr, "a %lld-byte file claims %lld bytes of samples\n",
                     qlonglong(wave.size()), qlonglong(claimed));
        std::abort();
    }
    QByteArray samples(claimed, Qt::Uninitialized);
    qint64 filled = 0;
    while (filled < claimed) {
        const qint64 got =
            decoder.read(samples.data() + filled, qMin(decoder.bytesAvailable(), claimed - filled));
        if (got <= 0)
            break;
        filled += got;
    }
    const QAudioFormat format = decoder.audioFormat();
    if (format.isValid())
        (void)format.framesForBytes(filled);
    return 0;
}
