// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/stdoutcapture.h"

#include <QFile>
#include <QTemporaryFile>

#include <cstdio>
#include <unistd.h>

QString captureStdout(const std::function<void()> &action)
{
    QTemporaryFile file;
    if (!file.open())
        qFatal("cannot create a file to capture standard output");

    std::fflush(stdout);
    const int saved = dup(STDOUT_FILENO);
    dup2(file.handle(), STDOUT_FILENO);
    action();
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);

    QFile reader(file.fileName());
    reader.open(QIODevice::ReadOnly);
    return QString::fromUtf8(reader.readAll());
}
