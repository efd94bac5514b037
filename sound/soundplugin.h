// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef SOUNDPLUGIN_H
#define SOUNDPLUGIN_H

#include <QObject>
#include <QString>
#include <QtPlugin>

// What the sound plugin offers: a player for one short sound file. The
// plugin carries Qt Multimedia, so that the program pays for it only once a
// sound is wanted.
class SoundPluginInterface
{
public:
    virtual ~SoundPluginInterface() = default;
    // A player of the file, parented to parent; it lives in the calling
    // thread and plays on play().
    virtual QObject *createPlayer(const QString &file, QObject *parent) = 0;
    // Starts the sound; false when player is not one of this plugin's or
    // there is no audio output to hear it on.
    virtual bool play(QObject *player) = 0;
};

#define SoundPluginInterface_iid "org.lukimo.Lukimo.SoundPluginInterface/1.1"
Q_DECLARE_INTERFACE(SoundPluginInterface, SoundPluginInterface_iid)

#endif
