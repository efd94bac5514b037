// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef CATALOGUE_H
#define CATALOGUE_H

#include <QByteArrayView>

// Whether data is a compiled catalogue whose every section and message
// record lies inside it, with nothing that would make the toolkit read
// further files.
bool isWellFormedCatalogue(QByteArrayView data);

#endif
