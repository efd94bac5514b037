// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef WORKINGDIR_H
#define WORKINGDIR_H

#include <QString>

// The absolute path of a data file the program reads relative to its working
// directory, or an empty string when that directory is gone (removed while
// the program ran, or before): the file then counts as missing, rather than
// being looked up from the root of the file system.
QString workingDirectoryFile(const QString &relativePath);

#endif
