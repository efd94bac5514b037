// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef WAVEFILE_H
#define WAVEFILE_H

#include <QByteArrayView>

// Whether data is a RIFF WAVE file whose chunks all lie inside it, with a
// format chunk and a data chunk: a header that claims more than the file
// holds would make the decoder reserve what it claims.
bool isPlausibleWave(QByteArrayView data);

#endif
