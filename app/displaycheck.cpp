// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/displaycheck.h"

#include <QGuiApplication>
#include <QList>
#include <QMutex>
#include <QScreen>

#include <cstdio>
#include <cstdlib>

namespace {

// Below this the toolkit's raster painting cannot draw the windows: an
// 8-bit display leaves them black and the style crashes.
constexpr int minimumDepth = 16;

struct HeldMessage
{
    QtMsgType type;
    QByteArray category;
    QString text;
};

QMutex heldLock;
QList<HeldMessage> held;
QtMessageHandler previousHandler = nullptr;
QString requestedDisplay;

void complain(const QString &line)
{
    std::fputs(qPrintable(QStringLiteral("Lukimo: %1\n").arg(line)), stderr);
    std::fflush(stderr);
}

void holdMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtFatalMsg) {
        complain(QStringLiteral("no display could be opened (%1).").arg(requestedDisplay));
        // The application object is half built: nothing of it may be torn
        // down, and an abort would dump core over a plain user error.
        std::_Exit(1);
    }
    const QMutexLocker locker(&heldLock);
    held.append({type, QByteArray(context.category), text});
}

} // namespace

DisplayCheck::DisplayCheck(int argc, char **argv)
{
    requestedDisplay = describe(argc, argv);
    previousHandler = qInstallMessageHandler(holdMessage);
}

DisplayCheck::~DisplayCheck()
{
    if (watching)
        (void)usable();
}

bool DisplayCheck::usable()
{
    if (watching) {
        watching = false;
        qInstallMessageHandler(previousHandler);
        QList<HeldMessage> messages;
        {
            const QMutexLocker locker(&heldLock);
            messages.swap(held);
        }
        for (const HeldMessage &message : messages) {
            const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
            qt_message_output(message.type, context, message.text);
        }
    }
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (screen && screen->depth() < minimumDepth) {
        complain(QStringLiteral("cannot paint on the %1: it shows %2-bit colour, and at least %3 "
                                "bits are needed.")
                     .arg(requestedDisplay)
                     .arg(screen->depth())
                     .arg(minimumDepth));
        return false;
    }
    return true;
}

QString DisplayCheck::describe(int argc, char **argv)
{
    QString platform;
    for (int i = 1; i + 1 < argc; ++i) {
        if (qstrcmp(argv[i], "-platform") == 0 || qstrcmp(argv[i], "--platform") == 0)
            platform = QString::fromLocal8Bit(argv[i + 1]);
    }
    if (platform.isEmpty())
        platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    // "wayland;xcb" tries each in turn; "xcb:option" carries options.
    platform = platform.section(QLatin1Char(';'), 0, 0).section(QLatin1Char(':'), 0, 0);
    if (platform.isEmpty() || platform == QLatin1String("xcb")) {
        const QString display = qEnvironmentVariable("DISPLAY");
        return display.isEmpty() ? QStringLiteral("X display, DISPLAY not set")
                                 : QStringLiteral("X display \"%1\"").arg(display);
    }
    if (platform.startsWith(QLatin1String("wayland")))
        return QStringLiteral("Wayland display \"%1\"")
            .arg(qEnvironmentVariable("WAYLAND_DISPLAY", QStringLiteral("wayland-0")));
    return QStringLiteral("platform \"%1\"").arg(platform);
}
