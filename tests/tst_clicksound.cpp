// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/wavefile.h"
#include "pastdata/input_serch.h"
#include "platform/platform.h"
#include "sound/clicksound.h"
#include "sound/soundplugin.h"

#include "support/hostsystem.h"
#include "support/modalboxcloser.h"
#include "support/soundserver.h"
#include "support/stdoutcapture.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPluginLoader>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>
#include <QtTest>

#include <memory>

namespace {

// The sound plugin as the build makes it, beside the program.
QString builtPlugin()
{
    return QStringLiteral(LUKIMO_RUN_DIR "/") + platform::soundPluginFileName();
}

} // namespace

class tst_ClickSound : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void clickSoundPlaysFromOneLoadedEffect();
    void waveHeaders_data();
    void waveHeaders();
    void soundStaysSilentWithoutItsParts_data();
    void soundStaysSilentWithoutItsParts();
    void pluginPlaysOnlyItsOwnPlayers();

private:
    std::unique_ptr<SoundServer> server;
};

// The sound is heard only where there is an audio output; the test brings
// its own, before anything opens the audio system.
void tst_ClickSound::initTestCase()
{
    if (SoundServer::possible()) {
        server = std::make_unique<SoundServer>();
        QVERIFY(server->isRunning());
    }
    ClickSound::setDefaultPluginFile(builtPlugin());
}

namespace {

// The names the system gives the process's threads.
QStringList threadNames()
{
    QStringList names;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(tasks.filePath(task + QStringLiteral("/comm")));
        if (comm.open(QIODevice::ReadOnly))
            names << QString::fromUtf8(comm.readAll()).trimmed();
    }
    return names;
}

// A radio button takes clicks on its indicator and label only.
void clickRadio(QRadioButton *radio)
{
    captureStdout([&] {
        QTest::mouseClick(radio, Qt::LeftButton, Qt::NoModifier, QPoint(6, radio->height() / 2));
    });
}

} // namespace

void tst_ClickSound::clickSoundPlaysFromOneLoadedEffect()
{
    if (!server)
        QSKIP("no sound server of the test's own on this system");
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QStringLiteral(LUKIMO_RUN_DIR)));
    auto owner = std::make_unique<Input_Serch>();
    Input_Serch &window = *owner;
    QDir::setCurrent(previous);
    auto *sound = window.findChild<ClickSound *>();
    QVERIFY(sound);

    // Nothing of the audio system before the window is shown.
    QVERIFY(!threadNames().contains(QStringLiteral("lukimo-sound")));
    QVERIFY(!sound->isReady());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY_WITH_TIMEOUT(sound->isReady(), 10000);
    // The sound thread has a name of its own, so that one stuck in the audio
    // system can be told apart (top -H, gdb).
    QVERIFY(threadNames().contains(QStringLiteral("lukimo-sound")));

    auto *radio = window.findChild<QRadioButton *>(QStringLiteral("data_to_times_radio"));
    // The first click opens a playback stream on the sound server. Clicks
    // that come while the short sound still plays may restart it in the same
    // stream, so later ones are counted as played, not as streams.
    clickRadio(radio);
    QTRY_COMPARE(server->playbackStreams(), 1);
    clickRadio(radio);
    clickRadio(radio);
    QTRY_COMPARE(sound->playedClicks(), 3);
    // Shown again, the window keeps the one sound it has.
    window.hide();
    window.show();
    QCOMPARE(window.findChildren<ClickSound *>().size(), 1);
    clickRadio(radio);
    QTRY_COMPARE(sound->playedClicks(), 4);
    QVERIFY(server->playbackStreams() >= 1);

    // The window's end ends the thread too; a thread left running would
    // make the program skip its clean exit.
    owner.reset();
    QVERIFY(!ClickSound::threadAbandoned());
    QTRY_VERIFY(!threadNames().contains(QStringLiteral("lukimo-sound")));
}

namespace {

QByteArray chunk(const char *id, const QByteArray &body, quint32 claimed = 0)
{
    QByteArray length(4, '\0');
    qToLittleEndian(claimed ? claimed : quint32(body.size()), length.data());
    QByteArray bytes = QByteArray(id, 4) + length + body;
    if (body.size() % 2)
        bytes += '\0';
    return bytes;
}

QByteArray riff(const QByteArray &chunks, const char *kind = "WAVE")
{
    QByteArray length(4, '\0');
    qToLittleEndian(quint32(4 + chunks.size()), length.data());
    return "RIFF" + length + QByteArray(kind, 4) + chunks;
}

} // namespace

// Only a RIFF WAVE file whose chunks lie inside it, with a format and some
// samples, is handed to the sound system.
void tst_ClickSound::waveHeaders_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("plausible");

    const QByteArray format = chunk("fmt ", QByteArray(16, '\1'));
    const QByteArray samples = chunk("data", QByteArray(100, '\2'));
    QTest::newRow("format and samples") << riff(format + samples) << true;
    QTest::newRow("odd-sized chunk, padded")
        << riff(format + chunk("LIST", QByteArray(3, 'x')) + samples) << true;
    QTest::newRow("a few bytes after the chunks") << riff(format + samples) + "abc" << true;
    QTest::newRow("not RIFF") << QByteArray("RIFX") + riff(format + samples).mid(4) << false;
    QTest::newRow("not WAVE") << riff(format + samples, "AVI ") << false;
    QTest::newRow("text") << QByteArray("This is not a sound at all, just some words.") << false;
    QTest::newRow("samples before the format") << riff(samples + format) << false;
    QTest::newRow("no samples") << riff(format) << false;
    QTest::newRow("empty samples") << riff(format + chunk("data", QByteArray())) << false;
    QTest::newRow("an empty format last")
        << riff(format + samples + chunk("fmt ", QByteArray())) << false;
    QTest::newRow("short format") << riff(chunk("fmt ", QByteArray(14, '\1')) + samples) << false;
    QTest::newRow("samples claim more than the file")
        << riff(format + chunk("data", QByteArray(100, '\2'), 0x80000000u)) << false;
    QTest::newRow("a chunk claims one byte more")
        << riff(format + chunk("data", QByteArray(100, '\2'), 101)) << false;
}

void tst_ClickSound::waveHeaders()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, plausible);
    QCOMPARE(isPlausibleWave(file), plausible);
}

void tst_ClickSound::soundStaysSilentWithoutItsParts_data()
{
    QTest::addColumn<QString>("part");
    QTest::newRow("no sound file") << "no wav";
    QTest::newRow("sound file is a FIFO") << "fifo";
    QTest::newRow("sound file claims 2 GiB") << "huge claim";
    QTest::newRow("sound file is a directory") << "directory";
    QTest::newRow("sound file over 4 MiB") << "over 4 MiB";
    QTest::newRow("no plugin") << "no plugin";
    QTest::newRow("plugin is not one") << "bad plugin";
}

// Silence and no message; the window answers as ever.
void tst_ClickSound::soundStaysSilentWithoutItsParts()
{
    QFETCH(QString, part);

    QTemporaryDir work;
    QDir dir(work.path());
    QVERIFY(dir.mkpath(QStringLiteral("wav")));
    const QString wav = dir.filePath(QStringLiteral("wav/check.wav"));
    QString plugin = builtPlugin();
    QFile good(QStringLiteral(LUKIMO_RUN_DIR "/wav/check.wav"));
    QVERIFY(good.open(QIODevice::ReadOnly));
    const QByteArray click = good.readAll();
    auto writeWave = [&wav](const QByteArray &bytes) {
        QFile file(wav);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    if (part == QLatin1String("fifo")) {
        if (!fifosInFolders())
            QSKIP("a folder here cannot hold a FIFO");
        QVERIFY(makeFifo(wav));
    } else if (part == QLatin1String("directory")) {
        QVERIFY(dir.mkpath(QStringLiteral("wav/check.wav")));
    } else if (part == QLatin1String("huge claim")) {
        QByteArray bytes = click;
        const qsizetype data = bytes.indexOf("data");
        QVERIFY(data > 0);
        bytes.replace(data + 4, 4, QByteArray("\x00\x00\x00\x80", 4));
        QVERIFY(writeWave(bytes));
    } else if (part == QLatin1String("over 4 MiB")) {
        // A well-formed wave, made one byte too long by a chunk of padding
        // (whose own pad byte, at the very end, may be left off).
        const qsizetype over = 4 * 1024 * 1024 + 1;
        const QByteArray bytes =
            (click + chunk("JUNK", QByteArray(over - click.size() - 8, '\0'))).left(over);
        QVERIFY(isPlausibleWave(bytes));
        QCOMPARE(bytes.size(), over);
        QVERIFY(writeWave(bytes));
    } else if (part != QLatin1String("no wav")) {
        QVERIFY(QFile::copy(QStringLiteral(LUKIMO_RUN_DIR "/wav/check.wav"), wav));
        plugin = dir.filePath(platform::soundPluginFileName());
        if (part == QLatin1String("bad plugin")) {
            QFile notAPlugin(plugin);
            QVERIFY(notAPlugin.open(QIODevice::WriteOnly));
            notAPlugin.write("not a shared library");
        }
    }

    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(work.path()));
    ClickSound::setDefaultPluginFile(plugin);
    Input_Serch window;
    QDir::setCurrent(previous);
    ClickSound::setDefaultPluginFile(builtPlugin());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    ModalBoxCloser closer;
    auto *entry = window.findChild<QRadioButton *>(QStringLiteral("entry_radio"));
    clickRadio(entry);
    QVERIFY(entry->isChecked());
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("input_label"))->text(),
             QStringLiteral("Input Bought No"));
    auto *sound = window.findChild<ClickSound *>();
    QTRY_VERIFY(sound->isSettled());
    QVERIFY(!sound->isReady());
    clickRadio(entry);
    QCOMPARE(sound->playedClicks(), 0);
    QVERIFY(closer.boxes.isEmpty());
}

// The plugin plays only the players it made: anything else handed to it is
// refused, not taken for one.
void tst_ClickSound::pluginPlaysOnlyItsOwnPlayers()
{
    QPluginLoader loader(builtPlugin());
    auto *plugin = qobject_cast<SoundPluginInterface *>(loader.instance());
    QVERIFY2(plugin, qPrintable(loader.errorString()));
    QObject notAPlayer;
    QVERIFY(!plugin->play(&notAPlayer));
    QVERIFY(!plugin->play(nullptr));

    // Made on a thread of its own and gone with it, as the program's player
    // is: the Windows audio a player sets up on the main thread is torn down
    // only at the process's exit, which under wine then never ends.
    QThread soundThread;
    QObject owner;
    owner.moveToThread(&soundThread);
    soundThread.start();
    QObject *player = nullptr;
    QObject *parent = nullptr;
    QMetaObject::invokeMethod(
        &owner,
        [&] {
            player = plugin->createPlayer(QStringLiteral(LUKIMO_RUN_DIR "/wav/check.wav"), &owner);
            parent = player ? player->parent() : nullptr;
            delete player;
        },
        Qt::BlockingQueuedConnection);
    soundThread.quit();
    soundThread.wait();
    QVERIFY(player);
    QCOMPARE(parent, &owner);
}

QTEST_MAIN(tst_ClickSound)
#include "tst_clicksound.moc"
