#include "testregistry.h"

#include "analysis/metatypes.h"
#include "audio/playbackbuffers.h"
#include "audio/playbackposition.h"
#include "recording/wavfile.h"

#include <QFile>
#include <QSettings>
#include <QTest>
#include <QtEndian>

#include <limits>

Q_DECLARE_METATYPE(PlaybackSettings)

class TestPlaybackBuffers : public QObject
{
    Q_OBJECT

    static PlaybackSettings mode(int mode, int undersampling, int rate, float mixerKHz = 20.0f)
    {
        return PlaybackSettings{AudioMode(mode), undersampling, rate, mixerKHz};
    }

private slots:
    // Worked out by hand in single precision: g = 0.8 / (limit / 1.1) is
    // 0.87999999523 for the limit 1.0, so 32767 x g = 28834.96 plays as 28834.
    void build_data()
    {
        QTest::addColumn<std::vector<int>>("samples");
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("rate");
        QTest::addColumn<PlaybackSettings>("settings");
        QTest::addColumn<float>("limit");
        QTest::addColumn<int>("outputRate");
        QTest::addColumn<qint64>("durationMs");
        QTest::addColumn<QVector<int>>("expected");
        const auto row = [](const char *name, const std::vector<int> &samples, int bits, int rate,
                            PlaybackSettings settings, float limit, int outputRate, qint64 ms, QVector<int> expected) {
            QTest::newRow(name) << samples << bits << rate << settings << limit << outputRate << ms << expected;
        };
        row("16-bit full scale at limit 1.0", {32767, -32768, 100, -100, 1}, 16, 1000, mode(0, 3, 6), 1.0f, 1000, 5,
            {28834, -28835, 88, -88, 0});
        // 6.5 ms: a half millisecond rounds up, as the file list and the information line round it.
        row("length of 6.5 ms reads 7 ms", std::vector<int>(13, 0), 16, 2000, mode(0, 0, 0), 1.0f, 2000, 7,
            QVector<int>(13, 0));
        row("envelope peak at half scale", {16384}, 16, 1000, mode(0, 0, 0), 0.55f, 1000, 1, {26214});
        row("silent recording plays at gain 1", {0, 1000, -7}, 16, 1000, mode(0, 0, 0), 0.0f, 1000, 3, {0, 1000, -7});
        row("gain 8 saturates", {32767, -32768, 4000, -5000}, 16, 1000, mode(0, 0, 0), 0.11f, 1000, 4,
            {32767, -32768, 32000, -32768});
        row("8-bit becomes 16-bit", {127, -128, 0}, 8, 1000, mode(0, 0, 0), 1.0f, 1000, 3, {28834, -29062, 0});
        row("24-bit becomes 16-bit", {8388607, -8388608, 4096}, 24, 1000, mode(0, 0, 0), 1.0f, 1000, 3,
            {28834, -28834, 14});
        row("undersampled 4:1 ignores the playback rate", {0, 1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000}, 16,
            1000, mode(1, 2, 6), 1.0f, 250, 10, {0, 3520});
        row("RAW at 30:1", std::vector<int>(30, 1000), 16, 500000, mode(1, 15, 0), 1.0f, 16666, 0, {880});
        row("pitched 1 % ignores undersampling", {1000, 0}, 16, 500000, mode(2, 15, 6), 1.0f, 5000, 0, {880, 0});
        row("pitched below 1 Hz plays nothing", {1000}, 16, 50, mode(2, 0, 6), 1.0f, 0, 20, {});
        row("no sample rate plays nothing", {1000}, 16, 0, mode(0, 0, 0), 1.0f, 0, 0, {});
        // 0.75 Hz at 4 Hz: 880 x sin(i x 3 pi / 8), the phase starting again at sample 4.
        row("mixed at 0.75 Hz ignores both indexes", std::vector<int>(5, 1000), 16, 4, mode(3, 2, 6, 0.00075f), 1.0f, 4,
            1250, {0, 813, 622, -336, 0});
    }

    void build()
    {
        QFETCH(std::vector<int>, samples);
        QFETCH(PlaybackSettings, settings);
        QFETCH(QVector<int>, expected);
        QFETCH(float, limit);
        QFETCH(int, rate);
        QFETCH(int, bits);
        const PlaybackBuffer b = buildPlaybackBuffer({qint64(samples.size()), rate, bits}, samples, settings, limit);
        QByteArray bytes;
        for (int v : expected)
            bytes.append(char(v & 0xff)).append(char((v >> 8) & 0xff));
        QCOMPARE(b.data.toHex(), bytes.toHex());
        QTEST(b.format.sampleRate(), "outputRate");
        QCOMPARE(b.format.sampleSize(), 16);
        QTEST(b.durationMs, "durationMs");
    }

    // The real 8- and 24-bit recordings against their own bytes, at gain 0.8 (limit 1.1).
    void build_realRecordings_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("width");
        QTest::newRow("8-bit unsigned") << "wav_pcm_u8.wav" << 1;
        QTest::newRow("24-bit") << "wav_pcm_24.wav" << 3;
    }

    void build_realRecordings()
    {
        QFETCH(QString, name);
        QFETCH(int, width);
        WavFile wav;
        wav.open(testsupport::testDataDir() + "/" + name, false);
        QFile file(testsupport::testDataDir() + "/" + name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const uchar *data = reinterpret_cast<const uchar *>(bytes.constData() + bytes.indexOf("data") + 8);
        const int n = int(wav.samples.size());
        QVERIFY(n > 1000);
        const PlaybackBuffer b = buildPlaybackBuffer({n, int(wav.sampleRate), 8 * width}, wav.samples, {}, 1.1f);
        QCOMPARE(b.data.size(), 2 * n);
        for (int i = 0; i < n; ++i) {
            const uchar *p = data + i * width; // 8-bit has 128 as zero; 24-bit is signed, low byte first
            const double s =
                width == 1 ? p[0] - 128.0 : double(qint32(uint(p[0]) << 8 | uint(p[1]) << 16 | uint(p[2]) << 24) >> 8);
            const double expected = s * 32767 / ((1 << (8 * width - 1)) - 1) * 0.8;
            QVERIFY(std::abs(qFromLittleEndian<qint16>(b.data.constData() + 2 * i) - expected) < 1.01);
        }
    }

    void slice_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("undersampling");
        QTest::addColumn<float>("start");
        QTest::addColumn<float>("end");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("length");
        QTest::newRow("0.5 to 1.0 s at 500 kHz 10:1") << 500000 << 5 << 0.5f << 1.0f << 50000 << 50000;
        QTest::newRow("cut at the recording's end") << 1024 << 0 << 0.5f << 5.0f << 1024 << 1024;
        // 3 / 2048 s at 1024 Hz is byte 3, 7 / 2048 s byte 7.
        QTest::newRow("odd bytes are left out") << 1024 << 0 << 3.0f / 2048 << 7.0f / 2048 << 2 << 4;
        QTest::newRow("a start before 0 begins at byte 0") << 1024 << 0 << -3.0f / 2048 << 7.0f / 2048 << 0 << 6;
        QTest::newRow("no sample rate") << 0 << 0 << 0.0f << 1.0f << 0 << 0;
    }

    void slice()
    {
        QFETCH(int, rate);
        QFETCH(int, undersampling);
        QFETCH(float, start);
        QFETCH(float, end);
        QFETCH(int, first);
        QFETCH(int, length);
        const std::vector<int> samples(size_t(qMax(rate, 1024))); // one second
        const PlaybackSettings s = mode(1, undersampling, 0);
        QByteArray audio(2 * int(samples.size()) / s.undersampling(), 0);
        for (int i = 0; i < audio.size(); ++i)
            audio[i] = char(i * 7);
        const QByteArray cut = playbackSlice(audio, {qint64(samples.size()), rate, 16}, s, start, end);
        QCOMPARE(cut.toHex(), audio.mid(first, length).toHex());
    }

    // The loudest sample a slice plays, in units of the recording's full scale.
    void playedPeak_data()
    {
        QTest::addColumn<std::vector<int>>("samples");
        QTest::addColumn<int>("bits");
        QTest::addColumn<PlaybackSettings>("settings");
        QTest::addColumn<float>("start");
        QTest::addColumn<float>("end");
        QTest::addColumn<float>("peak");
        const std::vector<int> ten{0, 100, -200, 300, -16384, 500, 0, 0, 32767, 0}; // at 1000 Hz
        QTest::newRow("only the slice counts") << ten << 16 << mode(0, 0, 0) << 0.002f << 0.006f << 16384.0f / 32767.0f;
        QTest::newRow("a negative full scale")
            << std::vector<int>{-32768, 0} << 16 << mode(0, 0, 0) << 0.0f << 1.0f << 32768.0f / 32767.0f;
        QTest::newRow("undersampled 2:1 plays every other") << std::vector<int>{0, 30000, 100, -30000, -200, 0} << 16
                                                            << mode(1, 1, 0) << 0.0f << 1.0f << 200.0f / 32767.0f;
        QTest::newRow("24-bit") << std::vector<int>{4194304, -7} << 24 << mode(0, 0, 0) << 0.0f << 1.0f
                                << 4194304.0f / 8388607.0f;
        QTest::newRow("an empty slice") << ten << 16 << mode(0, 0, 0) << 0.004f << 0.004f << 0.0f;
    }

    void playedPeak()
    {
        QFETCH(std::vector<int>, samples);
        QFETCH(int, bits);
        QFETCH(PlaybackSettings, settings);
        QFETCH(float, start);
        QFETCH(float, end);
        QFETCH(float, peak);
        const float got = ::playedPeak({qint64(samples.size()), 1000, bits}, samples, settings, start, end);
        QVERIFY2(qAbs(got - peak) < 1e-6f, qPrintable(QString::number(double(got))));
    }

    void playbackAxisLimit_data()
    {
        QTest::addColumn<float>("drawn");
        QTest::addColumn<float>("peak");
        QTest::addColumn<float>("limit");
        QTest::newRow("the plot's limit when it covers the slice") << 0.55f << 0.5f << 0.55f;
        QTest::newRow("a louder slice raises it") << 0.11f << 1.0f << 1.1f;
        QTest::newRow("no limit drawn") << std::numeric_limits<float>::quiet_NaN() << 0.5f << 0.55f;
        QTest::newRow("silence") << 0.0f << 0.0f << 0.0f;
    }

    void playbackAxisLimit()
    {
        QFETCH(float, drawn);
        QFETCH(float, peak);
        QTEST(::playbackAxisLimit(drawn, peak), "limit");
    }

    // As the settings dialog stores them; a mode it does not offer plays unchanged.
    void readSettings_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("mode");
        QTest::newRow("Mixed") << 3 << int(AudioMode::Mixed);
        QTest::newRow("beyond Mixed") << 4 << int(AudioMode::Original);
    }

    void readSettings()
    {
        QFETCH(int, stored);
        QSettings().setValue("audioMode", stored);
        QSettings().setValue("mixerFrequency", 35);
        const PlaybackSettings s = readPlaybackSettings();
        QSettings().remove("audioMode");
        QSettings().remove("mixerFrequency");
        QTEST(int(s.mode), "mode");
        QCOMPARE(s.mixerFrequencyKHz, 35.0f);
    }

    void position()
    {
        // "Pitched" at 10 %: one second of playing is 0.1 s of recording.
        QCOMPARE(recordingPositionMs(1000, 2.0f, 0.1f) / 1000, 2.1f);
        QCOMPARE(playbackTimeText(0, 12500), QStringLiteral("00:00.000 / 00:12.500"));
        QCOMPARE(playbackTimeText(3723004, 3600001), QStringLiteral("01:02:03.004 / 01:00:00.001"));
        QCOMPARE(playbackTimeText(5, 0), QString());
    }
};

QUILLON_TEST(TestPlaybackBuffers)
#include "tst_playbackbuffers.moc"
