#include "guitest.h"
#include "nullsinkserver.h"
#include "scripteddialogs.h"
#include "testregistry.h"
#include "wavwriter.h"

#include "app/mainwindow.h"
#include "app/spectrogramsettingsdialog.h"

#include "audio/audioplayer.h"
#include "audio/playbackbuffers.h"
#include "audio/playbackrefusal.h"
#include "audio/playercontrols.h"
#include "audio/qtaudiooutput.h"
#include "platform/audiodevice.h"
#include "recording/wavfile.h"

#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTestEventLoop>

#include <QToolButton>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// Counts the calls Qt's PulseAudio output queues to itself as they are
// delivered. It feeds the server one period (20 ms) at a time, and queues
// the next feed while the server wants more, as it does in the first
// seconds of a stream: a feed delivered in one pass of the event loop has
// its successor waiting for the next.
struct QueuedFeeds : QObject {
    int delivered = 0;
    bool eventFilter(QObject *receiver, QEvent *event) override
    {
        if (event->type() == QEvent::MetaCall && qstrcmp(receiver->metaObject()->className(), "QPulseAudioOutput") == 0)
            ++delivered;
        return false;
    }
    // Runs the event loop a pass at a time until a feed has come through.
    bool waitForOne()
    {
        const int before = delivered;
        QElapsedTimer waited;
        waited.start();
        while (delivered == before && waited.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        return delivered > before;
    }
};

} // namespace

// Sound through the real QAudioOutput into a PulseAudio null sink; with
// QUILLON_SOUND_SERVER=none the same steps run without any server.
class TestSoundPath : public QObject
{
    Q_OBJECT

    NullSinkServer server; // made before anything asks Qt for an audio device
    const bool withServer = qgetenv("QUILLON_SOUND_SERVER") != "none";
    // Windows and players ended while they play: enough that the unmended
    // ending, which aborts at most of them, cannot pass.
    static constexpr int endingRounds = 5;

    // 2 s at 250 kHz: still playing when a test ends it or its server goes.
    static std::vector<int> longSamples() { return std::vector<int>(250000 * 2, 1000); }
    static PlaybackBuffer longBuffer()
    {
        const std::vector<int> samples = longSamples();
        return buildPlaybackBuffer({qint64(samples.size()), 250000, 16}, samples, {}, 1.0f);
    }
    // The same as a recording in `dir`, for a window to open; empty when it cannot be written.
    static QString writeLongRecording(const QTemporaryDir &dir)
    {
        const std::vector<int> samples = longSamples();
        const QString path = dir.path() + QStringLiteral("/long.wav");
        const QByteArray wav = testsupport::simplePcmWav(QVector<int>(samples.begin(), samples.end()), 250000);
        return testsupport::writeFile(path, wav) ? path : QString();
    }

    // Plays `b` with player and controls wired as the main window wires them;
    // `refused`: whether the player says that nothing will play.
    static void play(const PlaybackBuffer &b, QAudio::State expected, bool refused)
    {
        AudioPlayer player;
        PlayerControls controls;
        player.setFormat(b.format);
        connect(&controls, &PlayerControls::play, &player, [&] { player.play(b.data); });
        connect(&player, &AudioPlayer::signalPlayerStateChanged, &controls, &PlayerControls::setState);
        QSignalSpy states(&player, &AudioPlayer::signalPlayerStateChanged);
        QSignalSpy positions(&player, &AudioPlayer::positionChanged);
        QSignalSpy refusals(&player, &AudioPlayer::outputRefused);
        controls.playClicked();
        // The controls follow the signal, which PulseAudio sends a little after its state changed.
        QTRY_COMPARE_WITH_TIMEOUT(controls.state(), expected, 10000);
        QCOMPARE(player.state(), expected);
        if (expected == QAudio::IdleState) {
            QCOMPARE(states.first().first().value<QAudio::State>(), QAudio::ActiveState);
            QVERIFY(!positions.isEmpty());
        }
        QVERIFY(!controls.findChild<QToolButton *>("stopButton")->isEnabled());
        QCOMPARE(refusals.count(), refused ? 1 : 0);
        if (refused)
            QCOMPARE(refusals.first().first().toInt(), b.format.sampleRate());
    }

private slots:
    void initTestCase()
    {
        if (withServer && !NullSinkServer::installed())
            QSKIP("pulseaudio (with pactl and pacmd) is not installed, so the sound path is not tested "
                  "(apt-get install --no-install-recommends pulseaudio pulseaudio-utils)");
        if (withServer)
            QVERIFY2(server.start(), qPrintable(server.error()));
        QCOMPARE(AudioDevice::defaultOutputDeviceName(), withServer ? QString("nullsink") : QString());
    }

    void playsToTheEnd()
    {
        WavFile wav;
        wav.open(testsupport::testDataDir() + "/Barbastelle.wav", false);
        wav.samples.resize(25000); // a tenth of a second is enough
        const PlaybackBuffer b = buildPlaybackBuffer({25000, int(wav.sampleRate), 16}, wav.samples, {}, 1.0f);
        QCOMPARE(b.format.sampleRate(), 250000);
        // Without any device the output has no format to start with, and
        // the window offers no Play: there is nothing to tell.
        play(b, withServer ? QAudio::IdleState : QAudio::StoppedState, false);
    }

    // PulseAudio takes at most 384 kHz: 500 kHz "Original" (a RAW recording)
    // is refused, and the player says so; 250 kHz is taken.
    void refusesFiveHundredKilohertz()
    {
        std::vector<int> samples(50000, 1000);
        AudioPlayer player;
        QCOMPARE(player.takesSampleRate(250000), withServer);
        QVERIFY(!player.takesSampleRate(500000));
        play(buildPlaybackBuffer({50000, 500000, 16, true}, samples, {}, 1.0f), QAudio::StoppedState, withServer);
    }

    // What the player reports is what the sink plays, within 50 ms, in each
    // mode at the highest and the lowest rate it makes of a 250 kHz
    // recording; while the sink still plays what it held before, 0. Each is
    // judged at its median look: on a loaded machine the report itself and
    // the server's answer wait their turn, and a look now and then misses by
    // far more, while a position that is really wrong is wrong at most looks.
    // bench_playback shows the worst.
    void positionIsWhatTheSinkPlays_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("undersampling");
        QTest::addColumn<int>("rate");
        QTest::newRow("unchanged, 250 kHz") << 0 << 0 << 0;
        QTest::newRow("undersampled 30:1, 8333 Hz") << 1 << 15 << 0;
        QTest::newRow("pitched 10 %, 25 kHz") << 2 << 0 << 4;
        QTest::newRow("pitched 1 %, 2.5 kHz") << 2 << 0 << 6;
        QTest::newRow("heterodyne, 250 kHz") << 3 << 0 << 0;
    }

    void positionIsWhatTheSinkPlays()
    {
        if (!withServer)
            QSKIP("only a sound server tells what it has played");
        QFETCH(int, mode);
        QFETCH(int, undersampling);
        QFETCH(int, rate);
        const PlaybackSettings settings{AudioMode(mode), undersampling, rate, 40.0f};
        const int outputRate = outputSampleRate(250000, settings);
        // Looks while the sink plays the stream: the playing stops once there
        // are so many and the sink has played a second of it. A look is
        // answered within a millisecond or two, and within some 50 ms on two
        // cores beside a dozen busy processes: a second holds about a hundred.
        constexpr size_t wanted = 25;
        // Four seconds of playing time: room for them on a machine busier still.
        constexpr qint64 seconds = 4;
        const std::vector<int> samples(size_t(outputRate * settings.undersampling()) * seconds, 1000);
        const PlaybackBuffer b = buildPlaybackBuffer({qint64(samples.size()), 250000, 16}, samples, settings, 1.0f);
        // Reported less heard at each look, in ms: before the sink plays the stream, and while it does.
        std::vector<qint64> before, playing;
        qint64 worst = 0;
        QString worstSeen;
        AudioOutput *output = nullptr;
        AudioPlayer player(nullptr,
                           [&](const QAudioFormat &format) { return output = QtAudioOutput::factory()(format); });
        player.setFormat(b.format);
        // A real event loop, as the program runs: QTRY's waits handle events
        // only every 10 ms, which would hold back both reports and answers.
        QTestEventLoop &waiting = QTestEventLoop::instance();
        // Idle is the end once all was written: a stream run dry for a moment
        // on a busy machine goes Idle too, and plays on when fed (Qt tells of
        // that Idle late, after the Active that ends it).
        connect(&player, &AudioPlayer::signalPlayerStateChanged, this, [&] {
            if (player.state() == QAudio::IdleState && output->processedUSecs() > seconds * 1000000 - 10000)
                waiting.exitLoop();
        });
        // Gone before the player: an answer that comes later finds nobody asking.
        const QObject asking;
        connect(&player, &AudioPlayer::positionChanged, this, [&](qint64 reported) {
            if (player.state() != QAudio::ActiveState)
                return;
            server.look(
                &asking, [&] { return output->processedUSecs(); },
                [&, reported](qint64 heard) {
                    const qint64 off = reported - qMax<qint64>(0, heard / 1000);
                    (heard > 0 ? playing : before).push_back(off);
                    if (qAbs(off) > qAbs(worst)) {
                        worst = off;
                        worstSeen = QStringLiteral("%1 ms reported, %2 ms heard").arg(reported).arg(heard / 1000);
                    }
                    if (heard >= 1000000 && playing.size() >= wanted)
                        waiting.exitLoop();
                });
        });
        player.play(b.data);
        // The null sink first plays out up to 2 s it held before the stream came.
        waiting.enterLoopMSecs(20000);
        player.stop();
        QVERIFY2(
            playing.size() >= wanted,
            qPrintable(QStringLiteral("%1 looks while the sink played, of %2 wanted").arg(playing.size()).arg(wanted)));
        for (std::vector<qint64> *looks : {&before, &playing}) {
            if (looks->empty())
                continue;
            std::nth_element(looks->begin(), looks->begin() + looks->size() / 2, looks->end());
            const qint64 median = (*looks)[looks->size() / 2];
            QVERIFY2(qAbs(median) <= 50,
                     qPrintable(QStringLiteral("%1 ms off at the median of %2 looks %3; the worst: %4")
                                    .arg(median)
                                    .arg(looks->size())
                                    .arg(looks == &before ? "before the sound" : "while it played")
                                    .arg(worstSeen)));
        }
    }

    // The window offers playback only where there is a device, and plays through it.
    void windowFollowsTheDevice()
    {
        QSettings().clear();
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/short.wav");
        QVERIFY(testsupport::writeFile(path, testsupport::simplePcmWav(QVector<int>(25000, 1000), 250000)));
        ScriptedDialogs dialogs;
        MainWindow w;
        w.plot_Data(path);
        QVERIFY(testsupport::waitForSpectrogram(w));
        QCOMPARE(w.playerControls->isEnabled(), withServer);
        QCOMPARE(w.spectroSettingsDialog->findChild<QGroupBox *>("groupBox_3")->isEnabled(), withServer);
        if (withServer) {
            w.playerControls->playClicked();
            QTRY_COMPARE_WITH_TIMEOUT(w.playerControls->state(), QAudio::IdleState, 10000);
        }
    }

    // A window or a player ended while its output feeds the sound server
    // (within the first second of sound, with its next feed waiting in the
    // queue) ends cleanly: Qt's PulseAudio output handles the events waiting
    // while it closes, and a feed that finds its stream closed aborts.
    void endsWhilePlaying()
    {
        if (!withServer)
            QSKIP("only a sound server feeds the output through the event loop");
        QSettings().clear();
        QTemporaryDir dir;
        const QString path = writeLongRecording(dir);
        QVERIFY(!path.isEmpty());
        const PlaybackBuffer b = longBuffer();
        ScriptedDialogs dialogs;
        QueuedFeeds feeds;
        qApp->installEventFilter(&feeds);
        // An abort ends the process without a word of QtTest's: this line names the test it ended.
        qInfo("%d windows and %d players end while they play", endingRounds, endingRounds);
        for (int round = 0; round < endingRounds; ++round) {
            auto w = std::make_unique<MainWindow>();
            w->plot_Data(path);
            QVERIFY(testsupport::waitForSpectrogram(*w));
            w->playerControls->playClicked();
            QVERIFY(feeds.waitForOne());
            QCOMPARE(w->audioPlayer->state(), QAudio::ActiveState);
            w.reset();

            auto player = std::make_unique<AudioPlayer>();
            player->setFormat(b.format);
            player->play(b.data);
            QVERIFY(feeds.waitForOne());
            QCOMPARE(player->state(), QAudio::ActiveState);
            player.reset();
        }
        qApp->removeEventFilter(&feeds);
    }

    // The sound server's output handles waiting events while it closes. A
    // window closed with events still queued (never shown, or with a
    // spectrogram on its way) must not receive them half torn down; the next
    // window plays as before.
    void windowClosesWithEventsQueued()
    {
        QSettings().clear();
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/short.wav");
        QVERIFY(testsupport::writeFile(path, testsupport::simplePcmWav(QVector<int>(25000, 1000), 250000)));
        ScriptedDialogs dialogs;
        for (const bool calculating : {false, true}) {
            auto w = std::make_unique<MainWindow>();
            if (calculating) {
                w->plot_Data(path);
                QVERIFY(w->calculating);
            }
            QSignalSpy gone(w.get(), &QObject::destroyed);
            w.reset();
            QCOMPARE(gone.count(), 1);
        }
        MainWindow next;
        next.plot_Data(path);
        QVERIFY(testsupport::waitForSpectrogram(next));
        QCOMPARE(next.playerControls->isEnabled(), withServer);
        if (withServer) {
            next.playerControls->playClicked();
            QTRY_COMPARE_WITH_TIMEOUT(next.playerControls->state(), QAudio::IdleState, 10000);
        }
    }

    // The server killed while a recording plays, and started again once Qt's
    // backend has given up on it (its one try of its own, 3 s after the loss,
    // found none): Play plays again, without a new start of the program. A
    // play before that try fails: the backend has a try of its own to come.
    void playsAgainOnceTheServerIsBack()
    {
        if (!withServer)
            QSKIP("only a sound server can go away and come back");
        const PlaybackBuffer b = longBuffer();
        AudioPlayer player;
        player.setFormat(b.format);
        QSignalSpy lost(&player, &AudioPlayer::outputLost);
        QSignalSpy refused(&player, &AudioPlayer::outputRefused);
        player.play(b.data);
        QCOMPARE(player.state(), QAudio::ActiveState);
        server.kill();
        QTRY_COMPARE_WITH_TIMEOUT(lost.count(), 1, 10000);
        QCOMPARE(player.state(), QAudio::StoppedState);
        QVERIFY(AudioDevice::soundServerRetryPending());
        player.play(b.data);
        QCOMPARE(lost.count(), 2);
        QTRY_VERIFY_WITH_TIMEOUT(!AudioDevice::soundServerRetryPending(), 10000);
        QVERIFY2(server.start(), qPrintable(server.error()));
        // Active only once Qt's backend has connected and the server has made the stream.
        player.play(b.data);
        QCOMPARE(player.state(), QAudio::ActiveState);
        QCOMPARE(lost.count(), 2);
        QCOMPARE(refused.count(), 0);
    }

    // The same through the window: the box says once that the server was
    // lost, and the Audio tab's refresh, pressed once it runs again, has Qt's
    // backend connect to it (the server lists it) and names its device.
    void windowFindsTheServerAgain()
    {
        if (!withServer)
            QSKIP("only a sound server can go away and come back");
        QSettings().clear();
        QTemporaryDir dir;
        const QString path = writeLongRecording(dir);
        QVERIFY(!path.isEmpty());
        ScriptedDialogs dialogs;
        MainWindow w;
        w.plot_Data(path);
        QVERIFY(testsupport::waitForSpectrogram(w));
        w.playerControls->playClicked();
        QCOMPARE(w.audioPlayer->state(), QAudio::ActiveState);
        dialogs.expectMessages();
        server.kill();
        QTRY_COMPARE_WITH_TIMEOUT(dialogs.messages.size(), 1, 10000);
        QCOMPARE(dialogs.messages.first().informativeText, soundServerLostText(true).details);
        QTRY_VERIFY_WITH_TIMEOUT(!AudioDevice::soundServerRetryPending(), 10000);
        QVERIFY2(server.start(), qPrintable(server.error()));
        const QString backend = QStringLiteral("QtPulseAudio:%1").arg(QCoreApplication::applicationPid());
        QVERIFY(!server.clientNames().contains(backend));
        w.spectroSettingsDialog->findChild<QPushButton *>("pushButton_refreshAudioDevice")->click();
        QVERIFY(server.clientNames().contains(backend));
        QCOMPARE(w.spectroSettingsDialog->findChild<QLabel *>("label_7")->text(), QStringLiteral("nullsink"));
        w.playerControls->playClicked();
        QCOMPARE(w.audioPlayer->state(), QAudio::ActiveState);
        QCOMPARE(dialogs.messages.size(), 1);
    }
};

QUILLON_TEST(TestSoundPath)
#include "tst_soundpath.moc"
