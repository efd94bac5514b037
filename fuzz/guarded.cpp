// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "guarded.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

QByteArrayView placeBeforeGuardPage(const uint8_t *data, size_t size)
{
    static char *region = nullptr;
    static size_t room = 0;
    const size_t page = size_t(sysconf(_SC_PAGESIZE));
    if (size > room) {
        if (region)
            munmap(region, room + page);
        room = (size + page - 1) / page * page;
        void *mapped =
            mmap(nullptr, room + page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED || mprotect(static_cast<char *>(mapped) + room, page, PROT_NONE))
            std::abort();
        region = static_cast<char *>(mapped);
    }
    char *start = region + room - size;
    if (size)
        std::memcpy(start, data, size);
    return QByteArrayView(start, qsizetype(size));
}
