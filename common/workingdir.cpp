// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/workingdir.h"

#include <QDir>

QString workingDirectoryFile(const QString &relativePath)
{
    // Qt gives an empty current path when the system cannot name the
    // working directory, and resolves relative names against "/" then.
    const QString directory = QDir::currentPath();
    if (directory.isEmpty())
        return QString();
    return QDir(directory).absoluteFilePath(relativePath);
}
