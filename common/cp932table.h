// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef CP932TABLE_H
#define CP932TABLE_H

// The Shift_JIS (code page 932) table that scripts/gen-cp932.py makes at
// build time. 0xFFFF is no character; in cp932Single it also marks a byte
// that leads a pair.
constexpr char16_t cp932None = 0xFFFF;
constexpr int cp932Trails = 0xFC - 0x40 + 1;
extern const char16_t cp932Single[256];
// Row by row: lead bytes 0x81-0x9F, then 0xE0-0xFC; in each row the trail
// bytes 0x40-0xFC.
extern const char16_t cp932Double[60 * cp932Trails];

#endif
