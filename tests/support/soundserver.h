// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef SOUNDSERVER_H
#define SOUNDSERVER_H

#include <QProcess>
#include <QTemporaryDir>

// A sound server of the test's own (PulseAudio with a null output) that the
// process talks to from now on, and that counts what it is given to play; start it before anything
// opens the audio system. It goes with the object, so a machine's own server is never used and two
// test runs never share one.
class SoundServer
{
public:
    SoundServer();
    ~SoundServer();

    // Whether a test can bring its own on this system: on Windows the sound
    // goes to the system's audio service, which only the process's start
    // could point elsewhere.
    static bool possible();

    bool isRunning() const;
    // Playback streams the server has opened so far: one a sound played.
    int playbackStreams() const;

private:
    QTemporaryDir dir;
    QProcess server;
};

#endif
