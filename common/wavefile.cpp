// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/wavefile.h"

#include <QtEndian>

bool isPlausibleWave(QByteArrayView data)
{
    const auto *bytes = reinterpret_cast<const uchar *>(data.data());
    const qsizetype size = data.size();
    if (size < 12 || data.first(4) != "RIFF" || data.sliced(8, 4) != "WAVE")
        return false;
    bool format = false, samples = false;
    qsizetype at = 12;
    while (size - at >= 8) {
        const QByteArrayView id = data.sliced(at, 4);
        const quint32 length = qFromLittleEndian<quint32>(bytes + at + 4);
        at += 8;
        if (length > quint64(size - at))
            return false;
        if (id == "fmt ")
            format = length >= 16;
        else if (id == "data")
            samples = format && length > 0;
        at += length + (length % 2);
    }
    return format && samples;
}
