// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/stdoutcapture.h"

#include <QFile>
#include <QTemporaryFile>

#include <cstdio>
#include <unistd.h>

namespace {

// Qt Test prints messages to standard output; while capturing, they go to
// standard error instead so that they do not mix with the trace.
void messageToStderr(QtMsgType, const QMessageLogContext &, const QString &message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

QString captureStdout(const std::function<void()> &action)
{
    QTemporaryFile file;
    if (!file.open())
        qFatal("cannot create a file to capture standard output");

    std::fflush(stdout);
    const int saved = dup(STDOUT_FILENO);
    dup2(file.handle(), STDOUT_FILENO);
    const QtMessageHandler previous = qInstallMessageHandler(messageToStderr);
    action();
    qInstallMessageHandler(previous);
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);

    QFile reader(file.fileName());
    reader.open(QIODevice::ReadOnly);
    return QString::fromUtf8(reader.readAll());
}
