// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the fuzz targets share: a check that aborts (a finding) with what it
// found broken, and a place for an input right before an inaccessible page.

#ifndef FUZZ_HARNESS_H
#define FUZZ_HARNESS_H

#include <QByteArrayView>

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

inline void require(bool holds, const char *what)
{
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// Copies an input to the very end of a megabyte that an inaccessible page
// follows. Qt is not built with the sanitizers, so a read past the input in
// its code goes unseen on the heap; here it faults on the first byte past
// the end.
inline QByteArrayView placeBeforeGuardPage(const uint8_t *data, size_t size)
{
    constexpr size_t room = 1 << 20;
    static char *const region = [] {
        const size_t page = size_t(sysconf(_SC_PAGESIZE));
        void *mapped =
            mmap(nullptr, room + page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        require(mapped != MAP_FAILED &&
                    !mprotect(static_cast<char *>(mapped) + room, page, PROT_NONE),
                "a guard page");
        return static_cast<char *>(mapped);
    }();
    require(size <= room, "an input of at most a megabyte");
    return QByteArrayView(static_cast<char *>(std::memcpy(region + room - size, data, size)),
                          qsizetype(size));
}

#endif
