// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/clicksound.h"

#include "common/wavefile.h"
#include "platform/platform.h"
#include "sound/soundplugin.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QPluginLoader>
#include <QThread>

#include <utility>

namespace {

// A click is a fraction of a second; a file far larger is not one.
constexpr qint64 maxSoundSize = 4 * 1024 * 1024;

std::atomic<bool> abandoned{false};

} // namespace

// Lives on the sound thread and does all the work there.
class ClickPlayer : public QObject
{
public:
    explicit ClickPlayer(std::shared_ptr<ClickSound::Shared> shared) : shared(std::move(shared)) {}

    void load()
    {
        shared->ready = open();
        shared->settled = true;
    }

    void play()
    {
        if (plugin->play(player))
            ++shared->played;
    }

private:
    bool open()
    {
        const std::optional<QByteArray> data =
            platform::readPlausibleFile(shared->soundFile, maxSoundSize);
        if (!data || !isPlausibleWave(*data))
            return false;
        QPluginLoader loader(shared->pluginFile);
        plugin = qobject_cast<SoundPluginInterface *>(loader.instance());
        if (!plugin)
            return false;
        player = plugin->createPlayer(shared->soundFile, this);
        return true;
    }

    std::shared_ptr<ClickSound::Shared> shared;
    SoundPluginInterface *plugin = nullptr;
    QObject *player = nullptr;
};

ClickSound::ClickSound(const QString &soundFile, const QString &pluginFile, QObject *parent)
    : QObject(parent), shared(std::make_shared<Shared>())
{
    shared->soundFile = soundFile;
    shared->pluginFile = pluginFile;
}

ClickSound::~ClickSound()
{
    if (!thread)
        return;
    thread->quit();
    // A sound thread stuck in a hung audio system cannot be stopped; it is
    // left to end with the process rather than hold up the exit.
    if (!thread->wait(QDeadlineTimer(1000))) {
        (void)thread.release();
        abandoned = true;
    }
}

bool ClickSound::threadAbandoned()
{
    return abandoned;
}

void ClickSound::prepare()
{
    if (thread || shared->settled)
        return;
    // Where the platform plays the sound itself there is no thread and no
    // plugin (the browser has neither): it takes the checked file at once.
    if (platform::playsSoundItself()) {
        const std::optional<QByteArray> data =
            platform::readPlausibleFile(shared->soundFile, maxSoundSize);
        if (data && isPlausibleWave(*data)) {
            platform::loadSound(*data);
            shared->ready = true;
        }
        shared->settled = true;
        return;
    }
    thread = std::make_unique<QThread>();
    thread->setObjectName(QStringLiteral("lukimo-sound"));
    player = new ClickPlayer(shared);
    player->moveToThread(thread.get());
    connect(thread.get(), &QThread::finished, player, &QObject::deleteLater);
    thread->start(QThread::LowPriority);
    QMetaObject::invokeMethod(
        player, [p = player] { p->load(); }, Qt::QueuedConnection);
}

void ClickSound::play()
{
    if (!shared->ready)
        return;
    if (platform::playsSoundItself()) {
        if (platform::playSound())
            ++shared->played;
        return;
    }
    QMetaObject::invokeMethod(
        player, [p = player] { p->play(); }, Qt::QueuedConnection);
}

bool ClickSound::isReady() const
{
    return shared->ready;
}

bool ClickSound::isSettled() const
{
    return shared->settled;
}

int ClickSound::playedClicks() const
{
    return shared->played;
}

namespace {

QString &overriddenPluginFile()
{
    static QString file;
    return file;
}

} // namespace

void ClickSound::setDefaultPluginFile(const QString &file)
{
    overriddenPluginFile() = file;
}

QString ClickSound::defaultPluginFile()
{
    if (!overriddenPluginFile().isEmpty())
        return overriddenPluginFile();
    return QDir(QCoreApplication::applicationDirPath()).filePath(platform::soundPluginFileName());
}
