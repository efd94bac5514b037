// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef SAFEFILE_H
#define SAFEFILE_H

#include <QByteArray>
#include <QString>

#include <optional>

// The program reads a few files from its working directory that anyone may
// have replaced. These helpers accept only a regular file of at most maxSize
// bytes: a directory, a FIFO, a device or an oversized file counts as
// missing, and nothing here can block on a file that never ends.

// The whole content of such a file; nothing when it is not one, or cannot be
// read in full.
std::optional<QByteArray> readPlausibleFile(const QString &path, qint64 maxSize);

#endif
