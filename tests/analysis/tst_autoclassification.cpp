#include "analysis/automaticclassification.h"
#include "analysis/calldetector.h"
#include "analysis/metatypes.h"
#include "recording/wavfile.h"
#include "sweeprecording.h"
#include "testregistry.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

namespace {

double hamming(int n)
{
    return 0.54 - 0.46 * std::cos(2.0 * M_PI * n / 511.0);
}

} // namespace

class TestAutoClassification : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerAnalysisMetaTypes(); }
    void plan_data();
    void plan();
    void detectionMatrix_impulse();
    void classify_sweeps();
    void classify_bitDepthCopies_data();
    void classify_bitDepthCopies();
    void classify_realRecordings();
};

void TestAutoClassification::plan_data()
{
    QTest::addColumn<bool>("categorisation"); // the single-file slot's plan, else the header worker's
    QTest::addColumn<qint64>("n");
    QTest::addColumn<float>("overlap");
    QTest::addColumn<int>("hop");
    QTest::addColumn<qint64>("frames");
    QTest::addColumn<bool>("fits");

    // Header worker: (n - 512) / hop + 1 frames.
    QTest::newRow("header: shorter than one transform") << false << qint64(511) << 87.5f << 65 << qint64(0) << true;
    QTest::newRow("header: exactly one transform") << false << qint64(512) << 87.5f << 65 << qint64(1) << true;
    QTest::newRow("header: one hop short of the second frame")
        << false << qint64(576) << 87.5f << 65 << qint64(1) << true;
    QTest::newRow("header: second frame") << false << qint64(577) << 87.5f << 65 << qint64(2) << true;
    // (9299999 - 512) / 65 = 143069 (rest 2), plus the first frame.
    QTest::newRow("header: last length with overlap")
        << false << qint64(9299999) << 87.5f << 65 << qint64(143070) << true;
    // (9300000 - 512) / 512 = 18163 (rest 64), plus the first frame.
    QTest::newRow("header: first length without overlap")
        << false << qint64(9300000) << 0.0f << 512 << qint64(18164) << true;
    // 8e7 cells / 255 bins = 313725.49 frames.
    QTest::newRow("header: largest matrix that fits")
        << false << qint64(313725) * 512 << 0.0f << 512 << qint64(313725) << true;
    QTest::newRow("header: one frame too many")
        << false << qint64(313726) * 512 << 0.0f << 512 << qint64(313726) << false;
    QTest::newRow("header: one hour at 500 kHz")
        << false << qint64(1800000000) << 0.0f << 512 << qint64(3515625) << false;

    // Single-file slot: (n - 512) / (hop + 1) frames, truncated, with no first frame added.
    QTest::newRow("file: shorter than one transform") << true << qint64(511) << 87.5f << 65 << qint64(0) << true;
    QTest::newRow("file: one transform gives no frame") << true << qint64(512) << 87.5f << 65 << qint64(0) << true;
    // 4,999,488 / 66 = 75,749.8.
    QTest::newRow("file: 10 s RAW") << true << qint64(5000000) << 87.5f << 65 << qint64(75749) << true;
    // 87.5 %: 29,999,488 / 66 = 454,537 frames, above 8e7 / 255 = 313,725.5; 75 %: / 130.
    QTest::newRow("file: 60 s RAW steps to 75 %") << true << qint64(30000000) << 75.0f << 129 << qint64(230765) << true;
    QTest::newRow("file: largest at 75 %")
        << true << qint64(313725) * 130 + 512 + 129 << 75.0f << 129 << qint64(313725) << true;
    // One sample more makes 313,726 frames at 75 %; at 50 %: 40,784,380 / 257 = 158,694.1.
    QTest::newRow("file: one sample more steps to 50 %")
        << true << qint64(313725) * 130 + 512 + 130 << 50.0f << 256 << qint64(158694) << true;
    // 50 %: 99,999,488 / 257 = 389,103 frames, too many; 0 %: / 513 = 194,930.7.
    QTest::newRow("file: 200 s steps to 0 %") << true << qint64(100000000) << 0.0f << 512 << qint64(194930) << true;
    QTest::newRow("file: largest at 0 %")
        << true << qint64(313725) * 513 + 512 + 512 << 0.0f << 512 << qint64(313725) << true;
    // No overlap step is left: the plan does not fit and the file is refused.
    QTest::newRow("file: one sample more is refused")
        << true << qint64(313725) * 513 + 512 + 513 << 0.0f << 512 << qint64(313726) << false;
}

void TestAutoClassification::plan()
{
    QFETCH(bool, categorisation);
    QFETCH(qint64, n);
    QFETCH(float, overlap);
    QFETCH(int, hop);
    QFETCH(qint64, frames);
    QFETCH(bool, fits);

    const AutomaticClassification::Plan p =
        categorisation ? AutomaticClassification::categorisationPlan(n) : AutomaticClassification::detectionPlan(n);
    QCOMPARE(p.overlap, overlap);
    QCOMPARE(p.hop, hop);
    QCOMPARE(p.frames, frames);
    QCOMPARE(p.fits(), fits);
}

void TestAutoClassification::detectionMatrix_impulse()
{
    // One impulse at sample 600 lies in the frames f with f x 65 <= 600 < f x 65 + 512,
    // that is 2 .. 9. Its spectrum is flat: every kept bin is 2 x x w(600 - 65 f) / 512 / 32767.
    std::vector<int> samples(1200, 0);
    samples[600] = 20000;
    const qint64 frames = (1200 - 512) / 65 + 1; // 11
    FloatMatrix m;
    AutomaticClassification::buildDetectionMatrix(samples.data(), 16, 65, frames, m);
    QCOMPARE(m.rows, size_t(11));
    QCOMPARE(m.cols, size_t(255));
    for (size_t f = 0; f < m.rows; ++f) {
        const bool hit = f >= 2 && f <= 9;
        const double expected = hit ? 2.0 * 20000.0 * hamming(600 - 65 * int(f)) / 512.0 / 32767.0 : 0.0;
        for (size_t j = 0; j < m.cols; j += 27) {
            QVERIFY2(
                std::fabs(m.at(f, j) - expected) <= 1e-9 + 1e-5 * expected,
                qPrintable(QString("frame %1 bin %2: %3, expected %4").arg(f).arg(j).arg(m.at(f, j)).arg(expected)));
        }
    }
}

void TestAutoClassification::classify_sweeps()
{
    const QVector<int> s = sweeprecording::pipistrelleAndNoctule();
    const std::vector<int> samples(s.begin(), s.end());
    const AutomaticClassification::Result r =
        AutomaticClassification::classify(samples, qint64(samples.size()), sweeprecording::sampleRate, 16);
    QVERIFY(!r.refused);
    QCOMPARE(r.labels.size(), r.calls.size());
    QVERIFY2(r.labels.count("PipPip") >= 3, qPrintable(r.labels.join(',')));
    QVERIFY2(r.labels.count("NycMid") >= 3, qPrintable(r.labels.join(',')));
    QCOMPARE(r.proposal, QStringLiteral("NycMid, PipPip"));
}

void TestAutoClassification::classify_bitDepthCopies_data()
{
    QTest::addColumn<int>("bits");
    QTest::newRow("24 bits") << 24;
    QTest::newRow("32 bits") << 32;
    // Against the sweeps cut to eight bits and shifted back up.
    QTest::newRow("8 bits") << 8;
}

void TestAutoClassification::classify_bitDepthCopies()
{
    QFETCH(int, bits);
    // A 16-bit recording and its copy at another width: the same matrix cell for
    // cell, so the same calls and proposal.
    QTemporaryDir dir;
    const sweeprecording::TwoWidths files = sweeprecording::atTwoWidths(bits, QDir(dir.path()));
    const std::vector<int> &reference = files.sixteen;
    const std::vector<int> &copy = files.copy;
    QVERIFY(!reference.empty());
    QCOMPARE(copy.size(), reference.size());

    const AutomaticClassification::Plan plan = AutomaticClassification::detectionPlan(qint64(reference.size()));
    FloatMatrix want;
    FloatMatrix got;
    AutomaticClassification::buildDetectionMatrix(reference.data(), 16, plan.hop, plan.frames, want);
    AutomaticClassification::buildDetectionMatrix(copy.data(), bits, plan.hop, plan.frames, got);
    QVERIFY(got.data == want.data);

    const AutomaticClassification::Result r =
        AutomaticClassification::classify(copy, qint64(copy.size()), sweeprecording::sampleRate, bits);
    const AutomaticClassification::Result r16 =
        AutomaticClassification::classify(reference, qint64(reference.size()), sweeprecording::sampleRate, 16);
    QCOMPARE(r.labels, r16.labels);
    QCOMPARE(r.proposal, r16.proposal);
    QVERIFY(!r.proposal.isEmpty());
}

void TestAutoClassification::classify_realRecordings()
{
    const QDir dir(testsupport::testDataDir());
    const QStringList names = dir.entryList({"*.wav"}, QDir::Files, QDir::Name);
    QVERIFY2(!names.isEmpty(), qPrintable(QStringLiteral("no recordings in ") + dir.path()));
    int classified = 0;
    for (const QString &name : names) {
        WavFile wav;
        wav.open(dir.filePath(name), false);
        if (!wav.valid || wav.samples.empty())
            continue; // compressed and float files are refused by the reader
        ++classified;
        const qint64 frames = qint64(wav.dataSize) / (wav.bytesPerSample * wav.numberOfChannels);
        const AutomaticClassification::Result r =
            AutomaticClassification::classify(wav.samples, frames, int(wav.sampleRate), wav.bitsPerSample);
        QVERIFY2(!r.refused, qPrintable(name));
        QCOMPARE(r.labels.size(), r.calls.size());
        const double nyquistKHz = wav.sampleRate / 2000.0;
        const double seconds = double(wav.samples.size()) / wav.sampleRate;
        for (int i = 0; i < r.calls.size(); ++i) {
            const MyBatCall &c = r.calls.at(i);
            QCOMPARE(c.batClass, r.labels.at(i));
            const QString what = name + ": " + c.batClass;
            QVERIFY2(c.duration >= 0.0, qPrintable(what));
            for (double f : {c.startFreq, c.endFreq, c.maxFreq, c.minFreq, c.centroid})
                QVERIFY2(f >= 0.0 && f <= nyquistKHz, qPrintable(what + " " + QString::number(f)));
            QVERIFY2(c.rect.left() >= 0.0 && c.rect.right() <= seconds + 1e-6, qPrintable(what));
            QVERIFY2(c.rect.top() >= 0.0 && c.rect.bottom() <= nyquistKHz + 1e-6, qPrintable(what));
        }
    }
    // At least the six plain 16-bit PCM recordings at bat rates open; without
    // them this test would pass having classified nothing.
    QVERIFY(classified >= 6);
}

QUILLON_TEST(TestAutoClassification)
#include "tst_autoclassification.moc"
