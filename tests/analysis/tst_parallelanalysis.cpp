#include "analysis/analysispool.h"
#include "analysis/automaticclassification.h"
#include "analysis/bloblabeler.h"
#include "analysis/calcspectrogramthread.h"
#include "analysis/calldetector.h"
#include "analysis/getfileinfothread.h"
#include "analysis/metatypes.h"
#include "recording/wavfile.h"
#include "signalbuilder.h"
#include "sweeprecording.h"
#include "testregistry.h"
#include "wavwriter.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <cstring>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <thread>

// Every parallel path against the same path on one thread: the single-threaded
// results are the reference, and every value must match to the bit.

namespace {

// The parallel runs use more threads than the CI machine has cores: bands and
// chunks are then split as on a large machine, and threads interleave.
const int manyThreads = 8;

// Runs f with the analysis passes on threads threads.
template <typename F>
auto withThreads(int threads, F f)
{
    AnalysisPool::setThreadCount(threads);
    auto result = f();
    AnalysisPool::setThreadCount(0);
    return result;
}

template <typename T>
QByteArray bytesOf(const T *p, size_t n)
{
    return QByteArray(reinterpret_cast<const char *>(p), int(n * sizeof(T)));
}

QByteArray bytesOf(const Blob &b)
{
    const size_t fields[] = {b.indexMin, b.indexMax, b.frameMin, b.frameMax, b.binMin, b.binMax, b.pixelCount};
    return bytesOf(fields, 7) + bytesOf(&b.valueSum, 1);
}

QByteArray bytesOf(const QList<MyBatCall> &calls)
{
    QByteArray out;
    for (const MyBatCall &c : calls) {
        const double numbers[] = {c.startFreq, c.endFreq,  c.maxFreq,  c.minFreq,      c.centroid,
                                  c.duration,  c.rect.x(), c.rect.y(), c.rect.width(), c.rect.height()};
        const int counts[] = {c.switchCount, c.zeroCount, c.posHist, c.negHist};
        out += bytesOf(numbers, 10) + bytesOf(counts, 4) + c.batClass.toUtf8() + '|';
    }
    return out;
}

QByteArray bytesOf(const std::unordered_map<int, Blob> &blobs)
{
    QByteArray out;
    for (const auto &entry : std::map<int, Blob>(blobs.begin(), blobs.end()))
        out += bytesOf(&entry.first, 1) + bytesOf(entry.second);
    return out;
}

struct Recording {
    QString name;
    std::vector<int> samples;
    int sampleRate = 0;
    int bits = 16;
};

// Generated recordings, and every real recording that opens.
QList<Recording> recordings()
{
    QList<Recording> list;
    const QVector<int> sweeps = sweeprecording::pipistrelleAndNoctule();
    list << Recording{"generated sweeps", std::vector<int>(sweeps.begin(), sweeps.end()), sweeprecording::sampleRate,
                      16};
    // Two seconds at 500 kHz with calls in noise: many regions, bands of every size.
    testsupport::SignalBuilder busy(500000, 2.0);
    for (int i = 0; i < 20; ++i)
        busy.sweep(70000 - 1000 * i, 40000, 0.05 + 0.095 * i, 0.004 + 0.0005 * i, -14);
    busy.noise(-40, 11);
    const QVector<int> b = busy.samples();
    list << Recording{"generated busy", std::vector<int>(b.begin(), b.end()), 500000, 16};

    const QDir dir(testsupport::testDataDir());
    for (const QString &name : dir.entryList({"*.wav"}, QDir::Files, QDir::Name)) {
        WavFile wav;
        wav.open(dir.filePath(name), false);
        if (wav.valid && !wav.samples.empty())
            list << Recording{name, wav.samples, int(wav.sampleRate), wav.bitsPerSample};
    }
    return list;
}

struct Spectrogram {
    QByteArray data;
    int numberOfFfts = -1;
    double minValue = 0;
    double maxValue = 0;
    QList<int> progress;
    bool operator==(const Spectrogram &o) const
    {
        return data == o.data && numberOfFfts == o.numberOfFfts && std::memcmp(&minValue, &o.minValue, 8) == 0
               && std::memcmp(&maxValue, &o.maxValue, 8) == 0 && progress == o.progress;
    }
};

Spectrogram spectrogram(const Recording &r, int windowSize, float frameSize, const QString &window, double overlap)
{
    calcSpectrogramThread worker;
    Spectrogram s;
    QObject::connect(
        &worker, &calcSpectrogramThread::finished,
        [&s](QVector<double> data, int n, double minValue, double maxValue, BlobMap, QStringList, QList<MyBatCall>) {
            s.data = bytesOf(data.constData(), size_t(data.size()));
            s.numberOfFfts = n;
            s.minValue = minValue;
            s.maxValue = maxValue;
        });
    QObject::connect(&worker, &calcSpectrogramThread::signalProgressBar, [&s](int k) { s.progress << k; });
    std::vector<int> samples = r.samples;
    worker.process(int(samples.size()), r.bits, windowSize, frameSize, window, overlap, &samples, r.sampleRate, false);
    return s;
}

struct Detection {
    QByteArray matrix;   // the detection matrix
    QByteArray filtered; // after the filters
    QByteArray regions;  // every labelled region, in label order
    QByteArray cutOut;   // the cells of every region as extractRegion gives them
    QByteArray blobs;
    QStringList classes;
    QByteArray calls;
    QString proposal;
    QStringList categorised; // the single-file slot's labels
    bool operator==(const Detection &o) const
    {
        return matrix == o.matrix && filtered == o.filtered && regions == o.regions && cutOut == o.cutOut
               && blobs == o.blobs && classes == o.classes && calls == o.calls && proposal == o.proposal
               && categorised == o.categorised;
    }
};

Detection detection(const Recording &r, const QString &path)
{
    Detection d;
    const AutomaticClassification::Plan plan = AutomaticClassification::detectionPlan(qint64(r.samples.size()));
    FloatMatrix m;
    AutomaticClassification::buildDetectionMatrix(r.samples.data(), r.bits, plan.hop, plan.frames, m);
    d.matrix = bytesOf(m.data.data(), m.data.size());

    // The stages of detectCalls one by one, each result compared.
    CallDetector detector;
    detector.filterForDetection(m, r.sampleRate);
    d.filtered = bytesOf(m.data.data(), m.data.size());
    BlobLabeler labeler;
    const std::vector<Blob> regions = labeler.labelRegions(m);
    FloatMatrix region;
    for (size_t k = 0; k < regions.size(); ++k) {
        d.regions += bytesOf(regions[k]);
        if (k % 7 == 0) { // a sample of the cut-outs: each one reads the label map
            labeler.extractRegion(m, {int(k + 1), regions[k]}, region);
            d.cutOut += bytesOf(region.data.data(), region.data.size());
        }
    }
    std::unordered_map<int, Blob> top =
        detector.selectTopBlobs(regions, size_t(CallDetector::blobBudget(r.sampleRate, int(r.samples.size()))));
    std::unordered_map<int, Blob> blobs = detector.suppressTrailingBlobs(top);
    QList<MyBatCall> calls;
    detector.measureBlobs(m, labeler, plan.overlap, r.sampleRate, int(r.samples.size()), blobs, d.classes, calls);
    d.blobs = bytesOf(blobs);
    d.calls = bytesOf(calls);
    d.proposal = detector.decideFileGroup(d.classes);

    if (!path.isEmpty()) {
        calcSpectrogramThread worker;
        QObject::connect(&worker, &calcSpectrogramThread::tavronFinished,
                         [&d](int, QStringList labels) { d.categorised = labels; });
        worker.processTavron(0, path);
    }
    return d;
}

// The reply texts and the file's bytes after the header worker classified it and wrote its proposal back.
QStringList writtenBack(const QString &original, const QString &copy)
{
    QFile::remove(copy);
    if (!QFile::copy(original, copy))
        return {QStringLiteral("copy failed")};
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    GetFileInfoThread worker;
    QStringList texts;
    QObject::connect(&worker, &GetFileInfoThread::signalFileInfoHeaderFinished,
                     [&texts](int, QString c1, QString c2, QString c3, QString c4, QString autoClass, QString accepted,
                              QString length, QString date, QString time, QString comment) {
                         texts << c1 << c2 << c3 << c4 << autoClass << accepted << length << date << time << comment;
                     });
    worker.getFileHeaderInfo(0, copy, true, QString(), 0);
    QFile f(copy);
    f.open(QIODevice::ReadOnly);
    return texts << QString::fromLatin1(QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256).toHex());
}

// A Tavron evaluation's header chain over copies of originals made afresh in
// folder: every reply and message in the order sent, then every file's bytes.
QStringList headerChain(const QStringList &originals, const QString &folder, bool lookAhead)
{
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    QStringList paths;
    for (int i = 0; i < originals.size(); ++i) {
        const QString name = QFileInfo(originals.at(i)).fileName();
        paths << QDir(folder).filePath(QString("%1_%2").arg(i, 2, 10, QLatin1Char('0')).arg(name));
        if (!QFile::copy(originals.at(i), paths.last()))
            return {QStringLiteral("copy failed")};
        QFile::setPermissions(paths.last(), QFile::ReadOwner | QFile::WriteOwner);
        // A RAW file's date is its modification time.
        QFile copy(paths.last());
        if (!copy.open(QIODevice::ReadWrite)
            || !copy.setFileTime(QDateTime(QDate(2024, 6, 1), QTime(22, 5, 9)), QFileDevice::FileModificationTime))
            return {QStringLiteral("time not set")};
    }
    GetFileInfoThread worker;
    QStringList events;
    QObject::connect(&worker, &GetFileInfoThread::signalFileInfoHeaderFinished,
                     [&events](int index, QString c1, QString c2, QString c3, QString c4, QString autoClass,
                               QString accepted, QString length, QString date, QString time, QString comment,
                               bool writeBackFailed) {
                         events << QStringList{QString::number(index),
                                               c1,
                                               c2,
                                               c3,
                                               c4,
                                               autoClass,
                                               accepted,
                                               length,
                                               date,
                                               time,
                                               comment,
                                               QString::number(writeBackFailed)}
                                       .join(QLatin1Char('|'));
                     });
    QObject::connect(&worker, &GetFileInfoThread::signalShowMessage, [&events](QString text) { events << text; });
    if (lookAhead)
        worker.expectFileHeaderRequests(paths);
    for (int i = 0; i < paths.size(); ++i)
        worker.getFileHeaderInfo(i, paths.at(i), true, QString(), 0);
    for (const QString &path : paths) {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        events << QString::fromLatin1(QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256).toHex());
    }
    return events;
}

// A sparse random matrix of density fill: clusters of every size cross the
// labeller's band edges, up to one that spans the whole matrix.
FloatMatrix randomMatrix(size_t rows, size_t cols, double fill, unsigned seed)
{
    FloatMatrix m(rows, cols);
    std::mt19937 gen(seed);
    std::uniform_real_distribution<float> u(0.0f, 1.0f);
    for (float &x : m.data) {
        const float p = u(gen);
        // Some cells just above and just below the foreground threshold.
        x = p < fill ? u(gen) + 1e-5f * float(p < fill / 4) : (p < fill * 1.1 ? 9.9e-6f : 0.0f);
    }
    return m;
}

} // namespace

class TestParallelAnalysis : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerAnalysisMetaTypes(); }
    void cleanup() { AnalysisPool::setThreadCount(0); }
    void pool_everyChunkOnce();
    void pool_threadCount();
    void pool_serialScope();
    void labelling_randomMatrices_data();
    void labelling_randomMatrices();
    void filters_eachOnItsOwn();
    void spectrogram_recordings();
    void detection_recordings();
    void writeBack_recordings();
    void headerChain_recordings();
};

void TestParallelAnalysis::pool_everyChunkOnce()
{
    for (int threads : {1, 3, manyThreads}) {
        AnalysisPool::setThreadCount(threads);
        const qint64 count = 1003;
        const int slotTotal = AnalysisPool::slotCount(count, 10);
        QCOMPARE(slotTotal, threads);
        std::vector<int> runs(size_t(count), 0);
        std::vector<qint64> lastBegin(size_t(slotTotal), -1);
        std::vector<Qt::HANDLE> threadOfSlot(size_t(slotTotal), nullptr);
        std::mutex mutex;
        bool inOrder = true;
        bool oneThreadPerSlot = true;
        QList<qint64> progress;
        AnalysisPool::forEachChunk(
            count, 10,
            [&](int slot, qint64 begin, qint64 end) {
                std::lock_guard<std::mutex> lock(mutex);
                inOrder =
                    inOrder && begin > lastBegin[size_t(slot)] && end - begin == std::min<qint64>(10, count - begin);
                lastBegin[size_t(slot)] = begin;
                if (!threadOfSlot[size_t(slot)])
                    threadOfSlot[size_t(slot)] = QThread::currentThreadId();
                oneThreadPerSlot = oneThreadPerSlot && threadOfSlot[size_t(slot)] == QThread::currentThreadId();
                for (qint64 i = begin; i < end; ++i)
                    ++runs[size_t(i)];
            },
            [&](qint64 done) { progress << done; });
        QVERIFY(std::all_of(runs.begin(), runs.end(), [](int n) { return n == 1; }));
        QVERIFY(inOrder);
        QVERIFY(oneThreadPerSlot);
        // Slot 0 is the caller (when the helpers left it any chunk at all).
        QVERIFY(!threadOfSlot[0] || threadOfSlot[0] == QThread::currentThreadId());
        QVERIFY(!progress.isEmpty());
        QCOMPARE(progress.last(), count);
        QVERIFY(std::is_sorted(progress.begin(), progress.end()));
        QCOMPARE(std::set<qint64>(progress.begin(), progress.end()).size(), size_t(progress.size()));
    }
    // Nothing to do: no call at all.
    AnalysisPool::forEachChunk(0, 10, [](int, qint64, qint64) { QFAIL("called"); });
}

void TestParallelAnalysis::pool_threadCount()
{
    AnalysisPool::setThreadCount(0);
    QCOMPARE(AnalysisPool::threadCount(), std::max(1, QThread::idealThreadCount()));
    AnalysisPool::setThreadCount(5);
    QCOMPARE(AnalysisPool::threadCount(), 5);
    // Fewer chunks than threads: one slot per chunk.
    QCOMPARE(AnalysisPool::slotCount(21, 10), 3);
    QCOMPARE(AnalysisPool::slotCount(0, 10), 1);
    AnalysisPool::setThreadCount(-3);
    QCOMPARE(AnalysisPool::threadCount(), std::max(1, QThread::idealThreadCount()));
}

void TestParallelAnalysis::pool_serialScope()
{
    AnalysisPool::setThreadCount(manyThreads);
    int elsewhere = 0;
    std::set<Qt::HANDLE> threads;
    {
        const AnalysisPool::SerialScope alone;
        QCOMPARE(AnalysisPool::threadCount(), 1);
        {
            const AnalysisPool::SerialScope nested;
            const AnalysisPool::SerialScope notEngaged(false);
            QCOMPARE(AnalysisPool::slotCount(1000, 10), 1);
        }
        QCOMPARE(AnalysisPool::threadCount(), 1);
        // Other threads keep the pool's count.
        std::thread other([&elsewhere] { elsewhere = AnalysisPool::threadCount(); });
        other.join();
        AnalysisPool::forEachChunk(100, 1,
                                   [&threads](int, qint64, qint64) { threads.insert(QThread::currentThreadId()); });
    }
    QCOMPARE(elsewhere, manyThreads);
    QCOMPARE(threads, std::set<Qt::HANDLE>{QThread::currentThreadId()});
    QCOMPARE(AnalysisPool::threadCount(), manyThreads);
    {
        const AnalysisPool::SerialScope notEngaged(false);
        QCOMPARE(AnalysisPool::threadCount(), manyThreads);
    }
}

void TestParallelAnalysis::labelling_randomMatrices_data()
{
    QTest::addColumn<double>("fill");
    QTest::addColumn<int>("cols");
    // Below, near and above the density at which one cluster spans the matrix.
    QTest::newRow("sparse") << 0.04 << 255;
    QTest::newRow("clustered") << 0.15 << 255;
    QTest::newRow("one cluster everywhere") << 0.45 << 255;
    QTest::newRow("narrow rows") << 0.3 << 9;
}

void TestParallelAnalysis::labelling_randomMatrices()
{
    QFETCH(double, fill);
    QFETCH(int, cols);
    const FloatMatrix input = randomMatrix(2100, size_t(cols), fill, 5);
    auto label = [&input](int threads) {
        return withThreads(threads, [&input] {
            FloatMatrix m = input;
            BlobLabeler labeler;
            const std::vector<Blob> regions = labeler.labelRegions(m);
            QByteArray out = bytesOf(m.data.data(), m.data.size());
            FloatMatrix region;
            for (size_t k = 0; k < regions.size(); ++k) {
                out += bytesOf(regions[k]);
                if (k % 5 == 0) {
                    labeler.extractRegion(m, {int(k + 1), regions[k]}, region);
                    out += bytesOf(region.data.data(), region.data.size());
                }
            }
            return std::make_pair(regions.size(), out);
        });
    };
    const auto want = label(1);
    QVERIFY(want.first > 0);
    for (int threads : {3, manyThreads}) {
        const auto got = label(threads);
        QCOMPARE(got.first, want.first);
        QVERIFY2(got.second == want.second, qPrintable(QString("%1 threads").arg(threads)));
    }
}

void TestParallelAnalysis::filters_eachOnItsOwn()
{
    // The public filters, each in its own bands, as the detector's chain does them together.
    const FloatMatrix input = randomMatrix(4500, 255, 0.5, 9);
    const std::vector<void (FloatMatrix::*)()> filters{&FloatMatrix::smoothRows, &FloatMatrix::subtractRunningMean,
                                                       &FloatMatrix::suppressEchoes, &FloatMatrix::removeRowMean};
    for (size_t f = 0; f < filters.size(); ++f) {
        auto run = [&](int threads) {
            return withThreads(threads, [&] {
                FloatMatrix m = input;
                (m.*filters[f])();
                m.zeroLowBins(int(f) * 3);
                return bytesOf(m.data.data(), m.data.size());
            });
        };
        QVERIFY2(run(manyThreads) == run(1), qPrintable(QString("filter %1").arg(f)));
    }
}

void TestParallelAnalysis::spectrogram_recordings()
{
    struct Setting {
        int windowSize;
        float frameSize;
        const char *window;
        double overlap;
    };
    const Setting settings[] = {{512, 100.0f, "Hann", 93.75},
                                {1024, 50.0f, "Blackman-Harris", 75.0},
                                {256, 12.5f, "Bartlett", 50.0},
                                {2048, 100.0f, "Rectangular", 0.0}};
    // Every setting on the first recording, one setting in turn on each other.
    const QList<Recording> list = recordings();
    for (int k = 0; k < list.size(); ++k) {
        const Recording &r = list.at(k);
        for (int i = 0; i < 4; ++i) {
            if (k > 0 && i != k % 4)
                continue;
            const Setting &s = settings[i];
            auto run = [&](int threads) {
                return withThreads(threads,
                                   [&] { return spectrogram(r, s.windowSize, s.frameSize, s.window, s.overlap); });
            };
            const Spectrogram want = run(1);
            const QString what = QString("%1, %2 points, %3").arg(r.name).arg(s.windowSize).arg(s.window);
            QVERIFY2(want.numberOfFfts > 0, qPrintable(what));
            QVERIFY2(run(manyThreads) == want, qPrintable(what));
        }
    }
}

void TestParallelAnalysis::detection_recordings()
{
    QTemporaryDir dir;
    int found = 0;
    const QList<Recording> list = recordings();
    for (int k = 0; k < list.size(); ++k) {
        const Recording &r = list.at(k);
        // The single-file slot reads a file: the generated recordings, written out.
        QString path;
        if (k < 2) {
            path = dir.filePath(QString("recording%1.wav").arg(k));
            QVERIFY(
                testsupport::writeFile(path, testsupport::simplePcmWav(QVector<int>(r.samples.begin(), r.samples.end()),
                                                                       quint32(r.sampleRate), r.bits)));
        }
        const Detection want = withThreads(1, [&] { return detection(r, path); });
        found += want.classes.size();
        QVERIFY2(k >= 2 || !want.categorised.isEmpty(), qPrintable(r.name));
        QVERIFY2(withThreads(manyThreads, [&] { return detection(r, path); }) == want, qPrintable(r.name));
    }
    // The recordings hold calls: the comparison covered measured regions, not only empty lists.
    QVERIFY(found > 20);
}

void TestParallelAnalysis::writeBack_recordings()
{
    QTemporaryDir dir;
    const QDir data(testsupport::testDataDir());
    QStringList originals;
    for (const QString &name : data.entryList({"*.wav"}, QDir::Files, QDir::Name))
        originals << data.filePath(name);
    const QString generated = dir.filePath(QStringLiteral("generated.wav"));
    QVERIFY(testsupport::writeFile(generated, testsupport::simplePcmWav(sweeprecording::pipistrelleAndNoctule(),
                                                                        quint32(sweeprecording::sampleRate))));
    originals << generated;
    int proposals = 0;
    for (const QString &original : originals) {
        const QString copy = dir.filePath(QStringLiteral("copy.wav"));
        const QStringList want = withThreads(1, [&] { return writtenBack(original, copy); });
        QCOMPARE(want.size(), 11);
        proposals += want.at(4).isEmpty() ? 0 : 1;
        QCOMPARE(withThreads(manyThreads, [&] { return writtenBack(original, copy); }), want);
    }
    QVERIFY(proposals >= 6);
}

void TestParallelAnalysis::headerChain_recordings()
{
    // Every real recording (the refused formats among them), and generated
    // ones beside: calls to classify, a proposal already stored, a class to
    // drop, no samples to load, a RAW file and a file that is no recording.
    QTemporaryDir dir;
    const QDir data(testsupport::testDataDir());
    QStringList originals;
    for (const QString &name : data.entryList({"*.wav"}, QDir::Files, QDir::Name))
        originals << data.filePath(name);
    const QVector<int> sweeps = sweeprecording::pipistrelleAndNoctule();
    auto made = [&dir](const QString &name, const QByteArray &bytes) {
        const QString path = dir.filePath(QStringLiteral("made/") + name);
        QDir().mkpath(QFileInfo(path).path());
        return testsupport::writeFile(path, bytes) ? path : QString();
    };
    testsupport::WavWriter stored;
    stored.fmt(quint32(sweeprecording::sampleRate), 16).bext("Nyc + Bat|Pip|1|kept").data(sweeps, 16);
    testsupport::WavWriter dropped;
    dropped.fmt(quint32(sweeprecording::sampleRate), 16).bext("Bat + Nyc|note").data(sweeps, 16);
    testsupport::WavWriter empty;
    empty.fmt(250000, 16).bext("Nyc").data(QVector<int>(), 16);
    originals.insert(3, made("sweeps.wav", testsupport::simplePcmWav(sweeps, quint32(sweeprecording::sampleRate))));
    originals.insert(5, made("stored.wav", stored.bytes()));
    originals.insert(6, made("dropped.wav", dropped.bytes()));
    originals.insert(8, made("empty.wav", empty.bytes()));
    originals << made("noise.raw", testsupport::WavWriter::pack(QVector<int>(50000, 7), 16))
              << made("notes.txt", "notes") << originals.at(1);
    QVERIFY(!originals.contains(QString()));

    const QString folder = dir.filePath(QStringLiteral("chain"));
    const QStringList want = withThreads(1, [&] { return headerChain(originals, folder, false); });
    // A reply, and a hash, for every recording; at least one message, one write-back and several proposals.
    QCOMPARE(want.filter(QRegularExpression("^\\d+\\|")).size(), originals.size());
    QVERIFY(want.filter("could not be loaded").size() == 1);
    QVERIFY(want.filter(QRegularExpression("\\|(Nyc|Pip)[^|]*\\|[01]?\\|")).size() >= 4);
    // One thread, a few threads (several look-aheads in one chain), more threads than recordings.
    for (int threads : {1, 3, manyThreads}) {
        const QStringList got = withThreads(threads, [&] { return headerChain(originals, folder, true); });
        QVERIFY2(got == want, qPrintable(QString("%1 threads").arg(threads)));
    }
}

QUILLON_TEST(TestParallelAnalysis)
#include "tst_parallelanalysis.moc"
