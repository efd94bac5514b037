// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/soundserver.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

SoundServer::SoundServer()
{
    const QString socket = dir.filePath(QStringLiteral("native"));
    QFile config(dir.filePath(QStringLiteral("default.pa")));
    if (!config.open(QIODevice::WriteOnly))
        return;
    config.write("load-module module-null-sink sink_name=lukimo_test\n"
                 "set-default-sink lukimo_test\n"
                 "load-module module-native-protocol-unix auth-anonymous=1 socket=" +
                 QFile::encodeName(socket) + '\n');
    config.close();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
    environment.insert(QStringLiteral("HOME"), dir.path());
    server.setProcessEnvironment(environment);
    server.setStandardOutputFile(QProcess::nullDevice());
    server.setStandardErrorFile(dir.filePath(QStringLiteral("server.log")));
    server.start(QStringLiteral("pulseaudio"),
                 {QStringLiteral("-n"), QStringLiteral("-F"), config.fileName(),
                  QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                  QStringLiteral("--use-pid-file=no"), QStringLiteral("--log-target=stderr"),
                  QStringLiteral("--log-level=info")});
    if (!server.waitForStarted())
        return;
    qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(socket));
    (void)QTest::qWaitFor([&] { return QFileInfo::exists(socket) || !isRunning(); }, 10000);
}

SoundServer::~SoundServer()
{
    if (!isRunning())
        return;
    server.terminate();
    if (!server.waitForFinished(5000))
        server.kill();
    server.waitForFinished();
}

bool SoundServer::isRunning() const
{
    return server.state() == QProcess::Running;
}

int SoundServer::playbackStreams() const
{
    QFile log(dir.filePath(QStringLiteral("server.log")));
    return log.open(QIODevice::ReadOnly) ? int(log.readAll().count("Created input ")) : -1;
}
