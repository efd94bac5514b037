// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The click's wave file: the program's check, and for every file it accepts
// what the sound plugin's player does with it before the audio output sees
// it: the toolkit's wave decoder reads the header and the samples.

#include "common/wavefile.h"
#include "harness.h"

#include <QBuffer>
#include <QWaveDecoder>

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
    // The player reserves what the decoder says the samples take, and reads
    // them. A header that claims more than the file holds would have it
    // reserve that much: the check refuses such a file (24-bit samples come
    // out widened to 32 bits).
    require(decoder.size() <= 2 * qint64(wave.size()), "samples no larger than the file");
    const QByteArray samples = decoder.read(decoder.size());
    if (decoder.audioFormat().isValid())
        (void)decoder.audioFormat().framesForBytes(samples.size());
    return 0;
}
