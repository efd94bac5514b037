// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/soundplugin.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

class SoundPlugin : public QObject, public SoundPluginInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID SoundPluginInterface_iid)
    Q_INTERFACES(SoundPluginInterface)

public:
    QObject *createPlayer(const QString &file, QObject *parent) override
    {
        auto *effect = new QSoundEffect(parent);
        effect->setSource(QUrl::fromLocalFile(file));
        return effect;
    }

    bool play(QObject *player) override
    {
        auto *effect = qobject_cast<QSoundEffect *>(player);
        if (!effect)
            return false;
        effect->play();
        // Without an output device the effect plays to nobody.
        return !QMediaDevices::defaultAudioOutput().isNull();
    }
};

#include "plugin.moc"
