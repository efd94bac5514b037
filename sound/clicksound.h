// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef CLICKSOUND_H
#define CLICKSOUND_H

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

class QThread;
class ClickPlayer;

// A short sound played on a click. Everything that touches the audio system
// (loading the sound plugin, and with it Qt Multimedia; connecting to the
// sound server; decoding the file) runs on a thread of its own, so that a
// slow or hung audio system never holds up the window. Until the sound is
// ready a click is silent, and a missing plugin, a missing or implausible
// file or a machine without sound keep it silent for good, without a word.
class ClickSound : public QObject
{
    Q_OBJECT

public:
    // soundFile is the sound to play; pluginFile the plugin that plays it.
    ClickSound(const QString &soundFile, const QString &pluginFile, QObject *parent = nullptr);
    ~ClickSound() override;

    // Starts getting the sound ready; later calls do nothing.
    void prepare();
    // Plays the sound once if it is ready; otherwise does nothing.
    void play();

    bool isReady() const;
    // Whether getting ready has ended: with the sound, or silent for good.
    bool isSettled() const;
    // Clicks handed to an audio output so far.
    int playedClicks() const;

    // Whether a sound thread was left running because the audio system hung.
    // Qt Multimedia's exit handlers would then wait for ever on a lock that
    // thread holds, so the process must end without running them.
    static bool threadAbandoned();

    // The sound plugin the program uses: lukimosound (.so or .dll) beside
    // the executable, unless another file has been set (the tests set the one
    // in the build).
    static QString defaultPluginFile();
    static void setDefaultPluginFile(const QString &file);

    // What the window and the sound thread share; the sound thread may
    // outlive the window when the audio system hangs.
    struct Shared
    {
        QString soundFile;
        QString pluginFile;
        std::atomic<bool> ready{false};
        std::atomic<bool> settled{false};
        std::atomic<int> played{0};
    };

private:
    std::shared_ptr<Shared> shared;
    std::unique_ptr<QThread> thread;
    ClickPlayer *player = nullptr;
};

#endif
