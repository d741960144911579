#include "analysis/calcspectrogramthread.h"
#include "analysis/calldetector.h"
#include "analysis/metatypes.h"
#include "recording/wavfile.h"
#include "signalbuilder.h"
#include "sweeprecording.h"
#include "testregistry.h"
#include "wavwriter.h"

#include <QDir>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <atomic>
#include <cmath>

namespace {

// Sends requests the way the main window does and relays the worker's answers
// into the test's thread, so that the spies record them there.
class SpectrogramClient : public QObject
{
    Q_OBJECT
signals:
    void signalCalcSpektrogramm(int sampleSize, int bitsPerSample, int windowSize, float frameSize, QString window,
                                double overlap, std::vector<int> *timedata, int sampleRate, bool categorize);
    void categorize(int index, QString wavDirectory);
    void finished(QVector<double> data, int numberOfFfts, double minValue, double maxValue,
                  std::unordered_map<int, Blob> blobs, QStringList classes, QList<MyBatCall> calls);
    void progress(int k);
    void tavronFinished(int index, QStringList classes);
    void error(QString err);
};

struct Reply {
    QVector<double> data;
    int numberOfFfts = -1;
    double minValue = 0;
    double maxValue = 0;
    bool containersEmpty = false;
    long samplesLeftAtReply = -1; // size of the caller's vector when finished() was emitted
};

// The worker on its own thread, as the main window runs it.
class WorkerOnThread
{
public:
    WorkerOnThread()
        : worker(new calcSpectrogramThread)
        , finished(&client, &SpectrogramClient::finished)
        , progress(&client, &SpectrogramClient::progress)
        , labels(&client, &SpectrogramClient::tavronFinished)
        , errors(&client, &SpectrogramClient::error)
    {
        using W = calcSpectrogramThread;
        using C = SpectrogramClient;
        worker->moveToThread(&thread);
        QObject::connect(&thread, &QThread::finished, worker, &QObject::deleteLater);
        QObject::connect(&client, &C::signalCalcSpektrogramm, worker, &W::process);
        QObject::connect(&client, &C::categorize, worker, &W::processTavron);
        // Runs in the worker's thread at the moment of the reply and, connected
        // first, before the queued copy is posted to the test: the vector must be
        // empty by then.
        QObject::connect(
            worker, &W::finished, worker, [this] { samplesAtReply = current ? long(current->size()) : -1; },
            Qt::DirectConnection);
        QObject::connect(worker, &W::finished, &client, &C::finished);
        QObject::connect(worker, &W::signalProgressBar, &client, &C::progress);
        QObject::connect(worker, &W::tavronFinished, &client, &C::tavronFinished);
        QObject::connect(worker, &W::error, &client, &C::error);
        thread.start();
    }
    ~WorkerOnThread()
    {
        thread.quit();
        thread.wait();
    }

    Reply run(std::vector<int> &samples, int sampleSize, int windowSize, float frameSize, const QString &window,
              double overlap, int sampleRate, bool categorize = false, int bitsPerSample = 16)
    {
        Reply r;
        const int before = finished.count();
        current = &samples;
        emit client.signalCalcSpektrogramm(sampleSize, bitsPerSample, windowSize, frameSize, window, overlap, &samples,
                                           sampleRate, categorize);
        if (!finished.wait(60000) && finished.count() == before)
            return r;
        const QList<QVariant> args = finished.last();
        r.data = args.at(0).value<QVector<double>>();
        r.numberOfFfts = args.at(1).toInt();
        r.minValue = args.at(2).toDouble();
        r.maxValue = args.at(3).toDouble();
        r.containersEmpty = args.at(4).value<BlobMap>().empty() && args.at(5).toStringList().isEmpty()
                            && args.at(6).value<QList<MyBatCall>>().isEmpty();
        r.samplesLeftAtReply = samplesAtReply;
        return r;
    }

    // Waits for either answer of the single-file categorisation.
    bool categorise(int index, const QString &path)
    {
        const int before = labels.count() + errors.count();
        emit client.categorize(index, path);
        return QTest::qWaitFor([&] { return labels.count() + errors.count() > before; }, 60000);
    }

    QThread thread;
    calcSpectrogramThread *worker;
    SpectrogramClient client;
    QSignalSpy finished, progress, labels, errors;
    std::vector<int> *current = nullptr;
    std::atomic<long> samplesAtReply{-1};
};

// Row of the largest level in column i.
int peakRow(const Reply &r, int bins, int i)
{
    int best = 0;
    for (int j = 1; j < bins; ++j) {
        if (r.data[j * r.numberOfFfts + i] > r.data[best * r.numberOfFfts + i])
            best = j;
    }
    return best;
}

double windowWeight(const QString &name, int n, int f)
{
    const double m = f - 1;
    const double x = 2.0 * M_PI * n / m;
    if (name == "Hann")
        return 0.5 - 0.5 * std::cos(x);
    if (name == "Hamming")
        return 0.54 - 0.46 * std::cos(x);
    if (name == "Blackman")
        return 0.42 - 0.5 * std::cos(x) + 0.08 * std::cos(2 * x);
    if (name == "Bartlett") {
        const int h = (f - 1) / 2;
        return double(h - std::abs(n - h)) / h;
    }
    if (name == "Flattop")
        return 1 - 1.93 * std::cos(x) + 1.29 * std::cos(2 * x) - 0.388 * std::cos(3 * x) + 0.028 * std::cos(4 * x);
    if (name == "Blackman-Harris")
        return 0.35875 - 0.48829 * std::cos(x) + 0.14128 * std::cos(2 * x) - 0.01168 * std::cos(3 * x);
    return 1.0;
}

} // namespace

class TestSpectrogramWorker : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerAnalysisMetaTypes(); }
    void process_workedExample();
    void process_tonePeak_data();
    void process_tonePeak();
    void process_takesCentreOfBlock();
    void process_progress_data();
    void process_progress();
    void process_unusableRequest_data();
    void process_unusableRequest();
    void process_matrixBeyondMemory();
    void process_levelsAtSixteenBitScale_data();
    void process_levelsAtSixteenBitScale();
    void process_bitDepthCopies_data();
    void process_bitDepthCopies();
    void process_real24BitRecording();
    void processTavron_sweeps_data();
    void processTavron_sweeps();
    void processTavron_refusals();
};

void TestSpectrogramWorker::process_workedExample()
{
    WorkerOnThread w;
    const QVector<int> tone = testsupport::SignalBuilder(500000, 1.0).tone(40000, -20).samples();
    std::vector<int> samples(tone.begin(), tone.end());
    QCOMPARE(samples.size(), size_t(500000));
    const Reply r = w.run(samples, 500000, 512, 100.0f, "Hann", 93.75, 500000, true);
    // H = 512 - 480 = 32: (500000 - 512) / 32 + 1 blocks of 256 bins.
    QCOMPARE(r.numberOfFfts, 15610);
    QCOMPARE(r.data.size(), 256 * 15610);
    QCOMPARE(r.samplesLeftAtReply, 0L);
    // The categorize flag changes nothing: the containers stay empty.
    QVERIFY(r.containersEmpty);
    // 40 kHz at 500 kHz / 512 points is bin 40.96: row 40 holds bin 41.
    QCOMPARE(peakRow(r, 256, 7000), 40);
}

void TestSpectrogramWorker::process_tonePeak_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<float>("frameSize");

    for (const char *name : {"Rectangular", "Hann", "Hamming", "Blackman", "Bartlett", "Flattop", "Blackman-Harris"}) {
        QTest::newRow(QByteArray(name).append(", whole block").constData()) << QString(name) << 100.0f;
        QTest::newRow(QByteArray(name).append(", half block").constData()) << QString(name) << 50.0f;
    }
    // Names are exact: anything else, letter case included, applies no weighting.
    QTest::newRow("hann in lower case is no window") << "hann" << 100.0f;
    QTest::newRow("BlackmanHarris without hyphen is no window") << "BlackmanHarris" << 100.0f;
}

void TestSpectrogramWorker::process_tonePeak()
{
    QFETCH(QString, window);
    QFETCH(float, frameSize);

    // 256 points at 256 kHz: 1 kHz per bin; a 40 kHz tone sits exactly on bin 40,
    // which is row 39 (the matrix starts at bin 1).
    const int rate = 256000;
    const int points = 256;
    const double amplitude = 16384.0;
    std::vector<int> samples(4096);
    for (size_t n = 0; n < samples.size(); ++n)
        samples[n] = int(std::lround(amplitude * std::sin(2.0 * M_PI * 40000.0 * n / rate)));

    WorkerOnThread w;
    const Reply r = w.run(samples, int(samples.size()), points, frameSize, window, 0.0, rate);
    QCOMPARE(r.numberOfFfts, 16);
    QCOMPARE(r.data.size(), 128 * 16);
    for (int i = 0; i < r.numberOfFfts; ++i)
        QCOMPARE(peakRow(r, 128, i), 39);

    // Level of the peak worked out from the window: |X_40| = A/2 x sum of weights,
    // power normalised by the Hann energy of the filled part and 2 / rate.
    const int f = int(points * frameSize / 100.0f);
    double sumW = 0.0;
    double hannEnergy = 0.0;
    for (int n = 0; n < f; ++n) {
        sumW += windowWeight(window, n, f);
        hannEnergy += std::pow(windowWeight("Hann", n, f), 2);
    }
    const double magnitude = amplitude / 2.0 * sumW;
    const double expected = 10.0 * std::log10(std::log(magnitude * magnitude / hannEnergy * 2.0 / rate + 1.0));
    const double level = r.data[39 * r.numberOfFfts + 3];
    QVERIFY2(std::fabs(level - expected) < 0.05,
             qPrintable(QString("level %1 dB, expected %2 dB").arg(level).arg(expected)));
    // Levels are never clamped; only the reported limits are.
    QVERIFY(level > 0.0);
    QCOMPARE(r.maxValue, 0.0);
    QVERIFY(r.minValue >= -40.0);
}

void TestSpectrogramWorker::process_takesCentreOfBlock()
{
    // 256 points at 50 %: 128 samples from offset 64. Tone outside that stretch
    // must not show; tone inside must.
    const int rate = 256000;
    std::vector<int> outside(256, 0);
    std::vector<int> inside(256, 0);
    for (int n = 0; n < 256; ++n) {
        const int v = int(std::lround(10000.0 * std::sin(2.0 * M_PI * 40000.0 * n / rate)));
        if (n < 64 || n >= 192)
            outside[size_t(n)] = v;
        else
            inside[size_t(n)] = v;
    }

    WorkerOnThread w;
    Reply r = w.run(outside, 256, 256, 50.0f, "Rectangular", 0.0, rate);
    QCOMPARE(r.numberOfFfts, 1);
    // Zero samples give ln(1) = 0, which is minus infinity in dB; the minimum reported is -40.
    for (double v : r.data)
        QVERIFY(std::isinf(v) && v < 0);
    QCOMPARE(r.minValue, -40.0);

    r = w.run(inside, 256, 256, 50.0f, "Rectangular", 0.0, rate);
    QCOMPARE(peakRow(r, 128, 0), 39);
    QVERIFY(r.data[39] > 0.0);
}

void TestSpectrogramWorker::process_progress_data()
{
    QTest::addColumn<int>("sampleSize");
    QTest::addColumn<QList<int>>("expected");

    // 64 points, no overlap: one block per 64 samples.
    QList<int> every2nd;
    for (int i = 0; i < 250; i += 2)
        every2nd << i * 100 / 250;
    QTest::newRow("250 blocks: every 2nd block") << 249 * 64 + 64 << every2nd;
    QTest::newRow("99 blocks: no progress at all") << 98 * 64 + 64 << QList<int>();
    QList<int> each;
    for (int i = 0; i < 100; ++i)
        each << i;
    QTest::newRow("100 blocks: every block, never 100") << 99 * 64 + 64 << each;
}

void TestSpectrogramWorker::process_progress()
{
    QFETCH(int, sampleSize);
    QFETCH(QList<int>, expected);
    std::vector<int> samples(size_t(sampleSize), 100);
    WorkerOnThread w;
    QCOMPARE(w.run(samples, sampleSize, 64, 100.0f, "Hann", 0.0, 256000).numberOfFfts, sampleSize / 64);
    QList<int> got;
    for (const QList<QVariant> &args : qAsConst(w.progress))
        got << args.at(0).toInt();
    QCOMPARE(got, expected);
}

void TestSpectrogramWorker::process_unusableRequest_data()
{
    QTest::addColumn<int>("vectorSize");
    QTest::addColumn<int>("sampleSize");
    QTest::addColumn<int>("windowSize");
    QTest::addColumn<double>("overlap");
    QTest::addColumn<int>("sampleRate");

    QTest::newRow("fewer samples than one window") << 511 << 511 << 512 << 50.0 << 250000;
    QTest::newRow("no samples") << 0 << 0 << 512 << 50.0 << 250000;
    QTest::newRow("sample count beyond the vector") << 1000 << 100000 << 512 << 50.0 << 250000;
    QTest::newRow("overlap of a whole window") << 4096 << 4096 << 512 << 100.0 << 250000;
    QTest::newRow("sample rate 0") << 4096 << 4096 << 512 << 50.0 << 0;
    QTest::newRow("window size 0") << 4096 << 4096 << 0 << 50.0 << 250000;
}

void TestSpectrogramWorker::process_unusableRequest()
{
    QFETCH(int, vectorSize);
    QFETCH(int, sampleSize);
    QFETCH(int, windowSize);
    QFETCH(double, overlap);
    QFETCH(int, sampleRate);

    std::vector<int> samples(size_t(vectorSize), 1000);
    WorkerOnThread w;
    const Reply r = w.run(samples, sampleSize, windowSize, 100.0f, "Hann", overlap, sampleRate);
    QCOMPARE(w.finished.count(), 1);
    QCOMPARE(r.numberOfFfts, 0);
    QVERIFY(r.data.isEmpty());
    QCOMPARE(r.minValue, -40.0);
    QCOMPARE(r.maxValue, 0.0);
    QCOMPARE(r.samplesLeftAtReply, 0L);
}

void TestSpectrogramWorker::process_matrixBeyondMemory()
{
    // 16 blocks of 128 bins need 2048 levels. With memory for one level fewer
    // the worker refuses as for a matrix no reply can carry, with exactly one
    // empty reply, and answers the next request in full once memory suffices.
    std::vector<int> samples(4096, 1000);
    WorkerOnThread w;
    calcSpectrogramThread::setAllocationLimit(16 * 128 - 1);
    const auto unlimited = qScopeGuard([] { calcSpectrogramThread::setAllocationLimit(0); });
    const Reply refused = w.run(samples, 4096, 256, 100.0f, "Hann", 0.0, 256000);
    QCOMPARE(w.errors.count(), 1);
    QCOMPARE(w.errors.at(0).at(0).toString(),
             QStringLiteral("The spectrogram of this recording would be too large. Choose a smaller overlap."));
    QCOMPARE(w.finished.count(), 1);
    QCOMPARE(refused.numberOfFfts, 0);
    QVERIFY(refused.data.isEmpty());
    QCOMPARE(refused.minValue, -40.0);
    QCOMPARE(refused.maxValue, 0.0);
    QCOMPARE(refused.samplesLeftAtReply, 0L);

    calcSpectrogramThread::setAllocationLimit(16 * 128);
    samples.assign(4096, 1000);
    const Reply answered = w.run(samples, 4096, 256, 100.0f, "Hann", 0.0, 256000);
    // A second reply to the refused request would have arrived first and been taken here.
    QCOMPARE(answered.numberOfFfts, 16);
    QCOMPARE(answered.data.size(), 16 * 128);
    QCOMPARE(w.finished.count(), 2);
    QCOMPARE(w.errors.count(), 1);
}

void TestSpectrogramWorker::process_levelsAtSixteenBitScale_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("impulse");
    // 25600 at 16 bits is 100 at 8, 6553600 at 24 and 1677721600 at 32 bits.
    QTest::newRow("16 bits") << 16 << 25600;
    QTest::newRow("8 bits") << 8 << 100;
    QTest::newRow("24 bits") << 24 << 25600 * 256;
    QTest::newRow("32 bits") << 32 << 25600 * 65536;
}

void TestSpectrogramWorker::process_levelsAtSixteenBitScale()
{
    QFETCH(int, bits);
    QFETCH(int, impulse);
    // An impulse at the first sample of an unweighted block has the flat spectrum
    // X_k = 25600 at 16-bit scale, exactly. Every level follows from it and the
    // Hann normalisation in the single-precision steps the levels are made in.
    const int points = 256;
    const int rate = 256000;
    float hannSum = 0.0f;
    for (int n = 0; n < points; ++n)
        hannSum = float(double(hannSum) + std::pow((1.0 - std::cos(2.0 * M_PI * n / (points - 1))) * 0.5, 2));
    const double norm = float(double(1.0f / hannSum) * (2.0 / rate));
    const float power = float(std::log(25600.0 * 25600.0 * norm + 1.0));
    const double expected = 10.0f * std::log10(power);

    std::vector<int> samples(points, 0);
    samples[0] = impulse;
    WorkerOnThread w;
    const Reply r = w.run(samples, points, points, 100.0f, "Rectangular", 0.0, rate, false, bits);
    QCOMPARE(r.numberOfFfts, 1);
    for (int j = 0; j < points / 2; ++j)
        QVERIFY2(r.data[j] == expected, qPrintable(QString("bin %1: %2 dB, expected %3 dB")
                                                       .arg(j + 1)
                                                       .arg(r.data[j], 0, 'g', 17)
                                                       .arg(expected, 0, 'g', 17)));
}

void TestSpectrogramWorker::process_bitDepthCopies_data()
{
    QTest::addColumn<int>("bits");
    QTest::newRow("24 bits") << 24;
    QTest::newRow("32 bits") << 32;
    QTest::newRow("8 bits") << 8;
}

void TestSpectrogramWorker::process_bitDepthCopies()
{
    QFETCH(int, bits);
    // A recording and its copy at another width: the same picture.
    QTemporaryDir dir;
    sweeprecording::TwoWidths files = sweeprecording::atTwoWidths(bits, QDir(dir.path()));
    std::vector<int> &reference = files.sixteen;
    std::vector<int> &copy = files.copy;
    QCOMPARE(copy.size(), reference.size());
    QVERIFY(!reference.empty());

    WorkerOnThread w;
    const int n = int(reference.size());
    const Reply want = w.run(reference, n, 512, 100.0f, "Hann", 75.0, sweeprecording::sampleRate);
    const Reply got = w.run(copy, n, 512, 100.0f, "Hann", 75.0, sweeprecording::sampleRate, false, bits);
    QCOMPARE(got.numberOfFfts, want.numberOfFfts);
    QVERIFY(got.data == want.data);
    QCOMPARE(got.minValue, want.minValue);
    QCOMPARE(got.maxValue, want.maxValue);
    // The sweeps stand well above the floor: a level range of the picture, not a flat field.
    QVERIFY2(want.maxValue > want.minValue + 20.0,
             qPrintable(QString("%1 .. %2").arg(want.minValue).arg(want.maxValue)));
}

void TestSpectrogramWorker::process_real24BitRecording()
{
    // A real 24-bit file against its own 16-bit rendering (each sample rounded to
    // 16 bits): the same levels up to the rounding of the lowest eight bits.
    WavFile wav;
    wav.open(QDir(testsupport::testDataDir()).filePath(QStringLiteral("wav_pcm_24.wav")), false);
    QVERIFY2(wav.valid && wav.bitsPerSample == 24, qPrintable(wav.errorText));
    std::vector<int> samples = wav.samples;
    std::vector<int> rounded(samples.size());
    for (size_t i = 0; i < samples.size(); ++i)
        rounded[i] = int(std::lround(samples[i] / 256.0));

    WorkerOnThread w;
    const int n = int(samples.size());
    const int rate = int(wav.sampleRate);
    const Reply got = w.run(samples, n, 256, 100.0f, "Hann", 50.0, rate, false, 24);
    const Reply want = w.run(rounded, n, 256, 100.0f, "Hann", 50.0, rate, false, 16);
    QCOMPARE(got.numberOfFfts, want.numberOfFfts);
    const auto peak = [](const Reply &r) { return *std::max_element(r.data.begin(), r.data.end()); };
    QVERIFY2(std::abs(peak(got) - peak(want)) < 0.01,
             qPrintable(QString("%1 dB, %2 dB").arg(peak(got)).arg(peak(want))));
    // The quietest cell is the one most touched by the rounding.
    QVERIFY2(std::abs(got.minValue - want.minValue) < 0.1, qPrintable(QString("%1 dB").arg(got.minValue)));
    QCOMPARE(got.maxValue, want.maxValue);
    // Unscaled, the quietest level lay above the clamped top: a colour bar upside down.
    QVERIFY(got.minValue < got.maxValue);
}

void TestSpectrogramWorker::processTavron_sweeps_data()
{
    QTest::addColumn<int>("bits");
    QTest::newRow("16 bits") << 16;
    QTest::newRow("24-bit copy") << 24;
}

void TestSpectrogramWorker::processTavron_sweeps()
{
    QFETCH(int, bits);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sweeps.WAV"));
    const QVector<int> samples = sweeprecording::rescaled(sweeprecording::pipistrelleAndNoctule(), 16, bits);
    QVERIFY(testsupport::writeFile(path, testsupport::simplePcmWav(samples, sweeprecording::sampleRate, bits)));

    WorkerOnThread w;
    QVERIFY(w.categorise(7, path));
    QCOMPARE(w.errors.count(), 0);
    QCOMPARE(w.labels.at(0).at(0).toInt(), 7);
    QCOMPARE(CallDetector().decideFileGroup(w.labels.at(0).at(1).toStringList()), QStringLiteral("NycMid, PipPip"));
}

void TestSpectrogramWorker::processTavron_refusals()
{
    QTemporaryDir dir;
    auto file = [&](const char *name, const QByteArray &bytes) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        testsupport::writeFile(path, bytes);
        return path;
    };
    const QString mp3 = file("call.mp3", QByteArray(2000, '\x11'));
    const QString empty = file("empty.wav", testsupport::simplePcmWav(QVector<int>(), 250000));
    const QString slow = file(
        "slow.wav", testsupport::simplePcmWav(testsupport::SignalBuilder(8000, 0.5).tone(3000, -6).samples(), 8000));
    const QString shortRaw = file("short.raw", QByteArray(600, '\x05'));
    // 2^31 data bytes claimed at 8 bits: 2.1e9 samples need 4.2 million frames even
    // without overlap, above 8e7 / 255; refused from the header, before any sample is read.
    testsupport::WavWriter huge;
    huge.fmt(500000, 8).chunk("data", QByteArray(1024, '\x80'), true, 0x80000000LL);
    const QString tooLong = file("huge.wav", huge.bytes());

    WorkerOnThread w;
    QVERIFY(w.categorise(1, mp3));
    QVERIFY(w.categorise(2, empty));
    QVERIFY(w.categorise(5, tooLong));
    QCOMPARE(w.labels.count(), 0);
    QCOMPARE(w.errors.count(), 3);
    QCOMPARE(w.errors.at(0).at(0).toString(),
             "File format of file " + mp3 + " not supported.\nCategorization aborted!");
    QCOMPARE(w.errors.at(1).at(0).toString(), "The file " + empty + " could not be loaded.\nCategorization aborted!");
    QCOMPARE(w.errors.at(2).at(0).toString(),
             "The file " + tooLong + " is too long to be categorized.\nCategorization aborted!");

    // Below 16 kHz the detector does not run; 300 RAW samples are less than one
    // transform. Both answer with an empty label list and no message.
    QVERIFY(w.categorise(3, slow));
    QVERIFY(w.categorise(4, shortRaw));
    QCOMPARE(w.errors.count(), 3);
    QCOMPARE(w.labels.count(), 2);
    QCOMPARE(w.labels.at(0), QVariantList({3, QStringList()}));
    QCOMPARE(w.labels.at(1), QVariantList({4, QStringList()}));
}

QUILLON_TEST(TestSpectrogramWorker)
#include "tst_spectrogramworker.moc"
