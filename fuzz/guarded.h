// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef GUARDED_H
#define GUARDED_H

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>

// Copies an input to the very end of a buffer that an inaccessible page
// follows. The toolkit is not built with the sanitizers, so a read past the
// input in its code goes unseen on the heap; here it faults on the first
// byte past the end.
QByteArrayView placeBeforeGuardPage(const uint8_t *data, size_t size);

#endif
