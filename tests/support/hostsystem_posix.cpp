// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/hostsystem.h"
#include "support/soundserver.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

bool fifosInFolders()
{
    return true;
}

bool makeFifo(const QString &path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

QStringList openFiles()
{
    return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System);
}

bool SoundServer::possible()
{
    return true;
}
