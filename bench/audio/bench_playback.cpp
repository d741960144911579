// Playback buffers of a 60 s recording at 500 kHz in each audio mode (wall
// time and the peak memory the build adds), cutting a 1 s slice from the
// whole buffer, and the start latency through the real audio output: from a
// click on play to the output's Active state and to the first position
// report, with a PulseAudio server of its own playing into a null sink; and
// the position the player reports against what that sink plays, in every
// audio mode and rate of a 250 kHz recording.
#include "audio/audioplayer.h"
#include "audio/playbackbuffers.h"
#include "audio/playercontrols.h"
#include "audio/qtaudiooutput.h"
#include "benchutil.h"
#include "nullsinkserver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int sampleRate = 500000;
constexpr int seconds = 60;

void buildPerMode(const std::vector<int> &samples)
{
    const ShownFormat format{qint64(samples.size()), sampleRate, 16, true};
    struct Mode {
        const char *name;
        PlaybackSettings settings;
    };
    const Mode modes[] = {{"Original", {AudioMode::Original, 0, 0, 20.0f}},
                          {"Undersampled 10:1", {AudioMode::Undersampled, 5, 0, 20.0f}},
                          {"Pitched 10 %", {AudioMode::Pitched, 0, 4, 20.0f}},
                          {"Mixed 40 kHz", {AudioMode::Mixed, 0, 0, 40.0f}}};
    std::printf("%-20s %10s %14s\n", "mode", "build s", "peak +MiB");
    QByteArray original;
    for (const Mode &m : modes) {
        benchutil::resetPeakRss();
        const long long before = benchutil::rssBytes();
        const double t0 = benchutil::nowSeconds();
        PlaybackBuffer b = buildPlaybackBuffer(format, samples, m.settings, 1.0f);
        const double t = benchutil::nowSeconds() - t0;
        std::printf("%-20s %10.3f %14.1f  (%d bytes)\n", m.name, t,
                    double(benchutil::peakRssBytes() - before) / (1 << 20), b.data.size());
        if (m.settings.mode == AudioMode::Original)
            original = b.data;
    }

    constexpr int repeats = 200;
    const double t0 = benchutil::nowSeconds();
    qint64 bytes = 0;
    for (int i = 0; i < repeats; ++i) {
        const float start = float(i % 59);
        bytes += playbackSlice(original, format, PlaybackSettings{}, start, start + 1.0f).size();
    }
    std::printf("1 s slice: %.3f ms each (%lld bytes)\n", (benchutil::nowSeconds() - t0) * 1000 / repeats,
                bytes / repeats);
}

void startLatency(NullSinkServer &server)
{
    if (!NullSinkServer::installed() || !server.start()) {
        std::printf("start latency: skipped (%s)\n", NullSinkServer::installed()
                                                         ? qPrintable(server.error())
                                                         : "pulseaudio, pactl or pacmd is not installed");
        return;
    }
    std::vector<int> samples(125000, 1000); // 0.5 s at 250 kHz
    const PlaybackBuffer b = buildPlaybackBuffer({qint64(samples.size()), 250000, 16}, samples, {}, 1.0f);
    AudioPlayer player;
    PlayerControls controls;
    player.setFormat(b.format);
    QObject::connect(&controls, &PlayerControls::play, &player, [&] { player.play(b.data); });
    QObject::connect(&player, &AudioPlayer::signalPlayerStateChanged, &controls, &PlayerControls::setState);

    std::vector<double> toActive, toReport;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer clock;
        qint64 active = -1, report = -1;
        const auto a = QObject::connect(&player, &AudioPlayer::signalPlayerStateChanged, [&](QAudio::State s) {
            if (s == QAudio::ActiveState && active < 0)
                active = clock.nsecsElapsed();
        });
        const auto r = QObject::connect(&player, &AudioPlayer::positionChanged, [&] {
            if (report < 0)
                report = clock.nsecsElapsed();
        });
        clock.start();
        controls.playClicked();
        const bool reported = QTest::qWaitFor([&] { return report >= 0; }, 5000);
        QObject::disconnect(a);
        QObject::disconnect(r);
        player.stop();
        if (!reported || active < 0) {
            std::printf("start latency: no %s within 5 s\n", active < 0 ? "Active state" : "position report");
            return;
        }
        toActive.push_back(active / 1e6);
        toReport.push_back(report / 1e6);
    }
    std::sort(toActive.begin(), toActive.end());
    std::sort(toReport.begin(), toReport.end());
    std::printf("start latency over 5 runs (median, max): to Active %.2f / %.2f ms, to first report %.2f / %.2f ms\n",
                toActive[2], toActive[4], toReport[2], toReport[4]);
}

// At every position report while the player is Active, unless an answer is
// still awaited: the position reported less the one the sink has played by
// then (NullSinkServer::look), in ms of playing time; and when the sink began
// to play the stream.
void positionAgainstSound(NullSinkServer &server, const char *mode, const PlaybackSettings &settings)
{
    constexpr int recordingRate = 250000;
    const int rate = outputSampleRate(recordingRate, settings);
    // 1.5 s of playing time, whatever the mode makes of the recording.
    std::vector<int> samples(size_t(rate * 3 / 2) * size_t(settings.undersampling()), 1000);
    const PlaybackBuffer b = buildPlaybackBuffer({qint64(samples.size()), recordingRate, 16}, samples, settings, 1.0f);
    QElapsedTimer sincePlay;
    qint64 soundStart = -1;
    std::vector<qint64> whilePlaying, beforeSound;
    AudioOutput *output = nullptr;
    AudioPlayer player(nullptr, [&](const QAudioFormat &format) {
        output = QtAudioOutput::factory()(format);
        return output;
    });
    player.setFormat(b.format);
    const QObject asking; // gone before the player: a late answer finds nobody asking
    QObject::connect(&player, &AudioPlayer::positionChanged, [&](qint64 shown) {
        if (player.state() != QAudio::ActiveState)
            return;
        server.look(
            &asking, [&] { return output->processedUSecs(); },
            [&, shown](qint64 heard) {
                if (heard <= 0) {
                    beforeSound.push_back(shown);
                    return;
                }
                if (soundStart < 0)
                    soundStart = sincePlay.elapsed() - heard / 1000;
                whilePlaying.push_back(shown - heard / 1000);
            });
    });
    // A real event loop, as the program runs: QTest::qWaitFor handles events
    // only every 10 ms, which would hold back both reports and answers.
    QEventLoop playing;
    const auto ended = [&] { return player.state() == QAudio::IdleState || player.state() == QAudio::StoppedState; };
    QObject::connect(&player, &AudioPlayer::signalPlayerStateChanged, &playing, [&] {
        if (ended())
            playing.quit();
    });
    QTimer::singleShot(10000, &playing, &QEventLoop::quit);
    sincePlay.start();
    player.play(b.data);
    playing.exec();
    const bool toItsEnd = ended();
    player.stop();
    if (!toItsEnd || whilePlaying.empty()) {
        std::printf("%-18s %7d Hz: %s within 10 s\n", mode, rate, toItsEnd ? "no sound" : "not played to its end");
        return;
    }
    std::sort(whilePlaying.begin(), whilePlaying.end());
    const qint64 worstSilent = beforeSound.empty() ? 0 : *std::max_element(beforeSound.begin(), beforeSound.end());
    std::printf("%-18s %7d Hz %8lld %5zu %6lld %6lld %6lld %9lld\n", mode, rate, soundStart, whilePlaying.size(),
                whilePlaying.front(), whilePlaying[whilePlaying.size() / 2], whilePlaying.back(), worstSilent);
}

void positionsAgainstSound(NullSinkServer &server)
{
    std::printf("position reported less position heard, ms of playing time (null sink):\n");
    std::printf("%-18s %10s %8s %5s %6s %6s %6s %9s\n", "mode", "rate", "sound at", "looks", "least", "median", "most",
                "reported before sound");
    positionAgainstSound(server, "Original", {});
    for (int i = 1; i < undersamplingChoices; ++i) {
        const QByteArray name = "Undersampled " + QByteArray::number(undersamplingFactor(i)) + ":1";
        positionAgainstSound(server, name.constData(), {AudioMode::Undersampled, i, 0, 20.0f});
    }
    for (int i = 1; i < playbackRateChoices; ++i) {
        const QByteArray name = "Pitched " + QByteArray::number(double(playbackRateFactor(i)) * 100) + " %";
        positionAgainstSound(server, name.constData(), {AudioMode::Pitched, 0, i, 20.0f});
    }
    positionAgainstSound(server, "Heterodyne 40 kHz", {AudioMode::Mixed, 0, 0, 40.0f});
}

} // namespace

int main(int argc, char *argv[])
{
    NullSinkServer server; // before anything asks Qt for an audio device
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    {
        std::vector<int> samples(size_t(sampleRate) * seconds);
        quint32 x = 12345;
        for (int &s : samples) {
            x = x * 1664525u + 1013904223u; // fixed seed: the same noise every run
            s = int(x >> 16) - 32768;
        }
        std::printf("%d s at %d Hz, 16-bit\n", seconds, sampleRate);
        buildPerMode(samples);
    }
    startLatency(server);
    if (NullSinkServer::installed() && server.error().isEmpty())
        positionsAgainstSound(server);
    return 0;
}
