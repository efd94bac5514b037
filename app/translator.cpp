// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/translator.h"

#include "common/catalogue.h"
#include "platform/platform.h"

#include <utility>

namespace {

// Our catalogue is a few kilobytes; anything near this is not ours.
constexpr qint64 maxCatalogueSize = 4 * 1024 * 1024;

} // namespace

bool Translator::loadCatalogue(const QString &path)
{
    std::optional<QByteArray> data = platform::readPlausibleFile(path, maxCatalogueSize);
    if (!data || !isWellFormedCatalogue(*data)) {
        (void)load(nullptr, 0); // forgets any catalogue loaded before
        return false;
    }
    // The toolkit reads the bytes in place: the old ones may go only once
    // the new ones are loaded.
    const QByteArray previous = std::exchange(catalogue, *data);
    return load(reinterpret_cast<const uchar *>(catalogue.constData()), int(catalogue.size()));
}
