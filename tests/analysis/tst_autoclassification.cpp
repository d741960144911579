#include "analysis/automaticclassification.h"
#include "analysis/calldetector.h"
#include "analysis/metatypes.h"
#include "recording/wavfile.h"
#include "signalbuilder.h"
#include "testregistry.h"

#include <QDir>
#include <QTest>
#include <cmath>

namespace {

const int sweepRate = 250000;

// One second at 250 kHz: five pipistrelle-like sweeps, 49 -> 44 kHz in 6 ms,
// whose end frequency can only fall in the PipPip band (42.5 .. 49.5 kHz), and
// five noctule-like sweeps, 24.5 -> 22 kHz in 14 ms, whose end frequency can only
// fall in the NycMid band (21 .. 26.5 kHz).
QVector<int> sweepRecording()
{
    testsupport::SignalBuilder b(sweepRate, 1.0);
    for (int i = 0; i < 5; ++i)
        b.sweep(49000, 44000, 0.05 + 0.09 * i, 0.006, -12);
    for (int i = 0; i < 5; ++i)
        b.sweep(24500, 22000, 0.52 + 0.09 * i, 0.014, -12);
    return b.samples();
}

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
    void detectionPlan_data();
    void detectionPlan();
    void detectionMatrix_impulse();
    void classify_sweeps();
    void classify_realRecordings();
};

void TestAutoClassification::detectionPlan_data()
{
    QTest::addColumn<qint64>("n");
    QTest::addColumn<float>("overlap");
    QTest::addColumn<int>("hop");
    QTest::addColumn<qint64>("frames");
    QTest::addColumn<bool>("fits");

    QTest::newRow("shorter than one transform") << qint64(511) << 87.5f << 65 << qint64(0) << true;
    QTest::newRow("exactly one transform") << qint64(512) << 87.5f << 65 << qint64(1) << true;
    QTest::newRow("one hop short of the second frame") << qint64(576) << 87.5f << 65 << qint64(1) << true;
    QTest::newRow("second frame") << qint64(577) << 87.5f << 65 << qint64(2) << true;
    // (9299999 - 512) / 65 = 143069 (rest 2), plus the first frame.
    QTest::newRow("last length with overlap") << qint64(9299999) << 87.5f << 65 << qint64(143070) << true;
    // (9300000 - 512) / 512 = 18163 (rest 64), plus the first frame.
    QTest::newRow("first length without overlap") << qint64(9300000) << 0.0f << 512 << qint64(18164) << true;
    // 8e7 cells / 255 bins = 313725.49 frames.
    QTest::newRow("largest matrix that fits") << qint64(313725) * 512 << 0.0f << 512 << qint64(313725) << true;
    QTest::newRow("one frame too many") << qint64(313726) * 512 << 0.0f << 512 << qint64(313726) << false;
    QTest::newRow("one hour at 500 kHz") << qint64(1800000000) << 0.0f << 512 << qint64(3515625) << false;
}

void TestAutoClassification::detectionPlan()
{
    QFETCH(qint64, n);
    QFETCH(float, overlap);
    QFETCH(int, hop);
    QFETCH(qint64, frames);
    QFETCH(bool, fits);

    const AutomaticClassification::Plan p = AutomaticClassification::detectionPlan(n);
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
            QVERIFY2(std::fabs(m.at(f, j) - expected) <= 1e-9 + 1e-5 * expected,
                     qPrintable(QString("frame %1 bin %2: %3, expected %4").arg(f).arg(j).arg(m.at(f, j)).arg(expected)));
        }
    }
}

void TestAutoClassification::classify_sweeps()
{
    const QVector<int> s = sweepRecording();
    const std::vector<int> samples(s.begin(), s.end());
    const AutomaticClassification::Result r =
        AutomaticClassification::classify(samples, qint64(samples.size()), sweepRate, 16);
    QVERIFY(!r.refused);
    QCOMPARE(r.labels.size(), r.calls.size());
    QVERIFY2(r.labels.count("PipPip") >= 3, qPrintable(r.labels.join(',')));
    QVERIFY2(r.labels.count("NycMid") >= 3, qPrintable(r.labels.join(',')));
    QCOMPARE(r.proposal, QStringLiteral("NycMid, PipPip"));
}

void TestAutoClassification::classify_realRecordings()
{
    QString folder = testsupport::testDataDir();
#ifdef QUILLON_TESTDATA_DIR
    // The support library is built without the executable's definition.
    if (folder.isEmpty())
        folder = QStringLiteral(QUILLON_TESTDATA_DIR);
#endif
    const QDir dir(folder);
    const QStringList names = dir.entryList({"*.wav"}, QDir::Files, QDir::Name);
    if (names.isEmpty())
        QSKIP("no real recordings available");
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
    QVERIFY(classified >= 6);
}

QUILLON_TEST(TestAutoClassification)
#include "tst_autoclassification.moc"
