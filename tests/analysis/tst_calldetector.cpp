#include "testregistry.h"

#include "analysis/bloblabeler.h"
#include "analysis/calldetector.h"

#include <QTest>
#include <cmath>
#include <random>

namespace {

// The detection matrix of a 500 kHz recording: 512-point transforms, hop 65
// (87.5 % overlap), columns 0 .. 254 holding bins 0 .. 254.
const int kRate = 500000;
const int kCols = 255;
const double kBinKHz = kRate / 512.0 / 1000.0; // 0.9765625 kHz per transform bin
const double kStepSeconds = 64.0 / kRate;      // the frame step the duration counts in

int samplesFor(int frames)
{
    return (frames - 1) * 65 + 512;
}

struct Sweep {
    int firstFrame, frames;
    double startKHz, endKHz;
};

// Magnitudes of linear sweeps: a triangular ridge reaching 2 bins beside the bin
// of the instantaneous frequency, on a faint fixed-seed noise floor.
FloatMatrix spectrogram(int frames, const QVector<Sweep> &sweeps)
{
    FloatMatrix m(static_cast<size_t>(frames), static_cast<size_t>(kCols));
    std::mt19937 gen(12345);
    std::uniform_real_distribution<float> noise(0.0f, 1e-4f);
    for (float &x : m.data)
        x = noise(gen);
    for (const Sweep &s : sweeps)
        for (int i = 0; i < s.frames; ++i) {
            const double centre = (s.startKHz + (s.endKHz - s.startKHz) * i / (s.frames - 1)) / kBinKHz;
            for (int c = int(centre) - 3; c <= int(centre) + 3; ++c)
                if (std::abs(c - centre) < 2.5)
                    m.at(size_t(s.firstFrame + i), size_t(c)) += float(1.0 - std::abs(c - centre) / 2.5);
        }
    return m;
}

bool near(double got, double want)
{
    return std::abs(got - want) <= 1e-5 * std::max(1.0, std::abs(want));
}

struct Result {
    std::unordered_map<int, Blob> blobs{{99, Blob()}}; // stale content to be discarded
    QStringList classes{"earlier"};                    // appended to, never cleared
    QList<MyBatCall> calls{MyBatCall()};
};

} // namespace

class TestCallDetector : public QObject
{
    Q_OBJECT

private slots:
    void detectCalls_sweeps_data();
    void detectCalls_sweeps();
    void detectCalls_nothingToDetect_data();
    void detectCalls_nothingToDetect();
    void measureBlobs_rejectedAndNoise();
    void detectCalls_rateNotDividedBy2000();
};

void TestCallDetector::detectCalls_sweeps_data()
{
    QTest::addColumn<double>("startKHz");
    QTest::addColumn<double>("endKHz");
    QTest::addColumn<int>("frames");
    QTest::addColumn<QString>("label");
    // 39 frames of 64 samples = 4.99 ms ending at 45 kHz: "Pip", band 42.5 .. 49.5.
    QTest::newRow("pipistrelle sweep") << 60.0 << 45.0 << 39 << "PipPip";
    // 78 frames = 9.98 ms ending at 18 kHz: "Nyc", band 15 .. 21.
    QTest::newRow("noctule sweep") << 28.0 << 18.0 << 78 << "NycNoc";
    // 20 frames = 2.56 ms ending at 55 kHz: band 51 .. 64, up to 15 ms.
    QTest::newRow("short steep sweep") << 75.0 << 55.0 << 20 << "PipPyg";
    // 391 frames = 50 ms at a constant 40 kHz: longer than 36 ms, no frequency change.
    QTest::newRow("steady tone") << 40.0 << 40.0 << 391 << "Test";
}

void TestCallDetector::detectCalls_sweeps()
{
    QFETCH(double, startKHz);
    QFETCH(double, endKHz);
    QFETCH(int, frames);
    QFETCH(QString, label);
    const int rows = 700;
    const int first = 150;
    FloatMatrix m = spectrogram(rows, {{first, frames, startKHz, endKHz}});
    Result r;
    CallDetector().detectCalls(m, 87.5f, kRate, samplesFor(rows), r.blobs, r.classes, r.calls);

    QCOMPARE(r.classes, (QStringList{"earlier", label}));
    QCOMPARE(r.calls.size(), 2);
    QCOMPARE(int(r.blobs.size()), 1);
    QCOMPARE(r.blobs.count(99), size_t(0));
    const MyBatCall &call = r.calls[1];
    QCOMPARE(call.batClass, label);
    QVERIFY2(std::abs(call.startFreq - startKHz) <= kBinKHz, qPrintable(QString::number(call.startFreq)));
    QVERIFY2(std::abs(call.endFreq - endKHz) <= kBinKHz, qPrintable(QString::number(call.endFreq)));
    QVERIFY(call.minFreq <= std::min(call.startFreq, call.endFreq));
    QVERIFY(call.maxFreq >= std::max(call.startFreq, call.endFreq));
    QVERIFY(call.centroid >= std::min(startKHz, endKHz) - kBinKHz);
    QVERIFY(call.centroid <= std::max(startKHz, endKHz) + kBinKHz);
    QVERIFY2(std::abs(call.duration - frames * kStepSeconds) <= kStepSeconds * 1.0001,
             qPrintable(QString::number(call.duration)));

    // The box: the recording's length spread over the rows, 250 / 255 kHz per column. The ridge
    // reaches 2 bins beside its centre and smoothing one more; the centre's bin and the column scale
    // add up to one bin more.
    const double rowSeconds = double(samplesFor(rows)) / kRate / rows;
    QVERIFY(std::abs(call.rect.x() - first * rowSeconds) <= rowSeconds * 1.0001);
    QVERIFY(std::abs(call.rect.width() - frames * rowSeconds) <= 2 * rowSeconds);
    const double low = std::min(startKHz, endKHz);
    const double high = std::max(startKHz, endKHz);
    QVERIFY2(call.rect.y() <= low && call.rect.y() >= low - 4.5 * kBinKHz, qPrintable(QString::number(call.rect.y())));
    QVERIFY(call.rect.bottom() >= high && call.rect.bottom() <= high + 4.5 * kBinKHz);
}

void TestCallDetector::detectCalls_nothingToDetect_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("cols");
    QTest::newRow("0 Hz") << 0 << 300 << kCols;
    QTest::newRow("1999 Hz") << 1999 << 300 << kCols;
    QTest::newRow("negative rate") << -44100 << 300 << kCols;
    // 8 kHz lies above the top bin here: every bin is low and blanked.
    QTest::newRow("2000 Hz") << 2000 << 300 << kCols;
    QTest::newRow("8000 Hz") << 8000 << 300 << kCols;
    QTest::newRow("no frames") << kRate << 0 << kCols;
    QTest::newRow("no bins") << kRate << 300 << 0;
}

void TestCallDetector::detectCalls_nothingToDetect()
{
    QFETCH(int, rate);
    QFETCH(int, rows);
    QFETCH(int, cols);
    FloatMatrix m = spectrogram(300, {{100, 39, 60.0, 45.0}});
    if (rows != 300 || cols != kCols)
        m.resize(size_t(rows), size_t(cols));
    Result r;
    CallDetector().detectCalls(m, 87.5f, rate, samplesFor(300), r.blobs, r.classes, r.calls);
    QVERIFY(r.blobs.empty());
    QCOMPARE(r.classes, QStringList{"earlier"});
    QCOMPARE(r.calls.size(), 1);
}

void TestCallDetector::measureBlobs_rejectedAndNoise()
{
    // At overlap 0 (threshold 9 additions, 512 samples per row) four regions: a row of five cells
    // (9 additions) is dropped; a 3 x 3 block (10 additions) is kept; two blocks of 26 frames
    // (5 .. 30): bins 3 .. 6 lie below 8 kHz and are rejected; bins 100 .. 104 (near 100 kHz,
    // 26.6 ms) are "Noise" by the rules and measured.
    QVERIFY(near(CallDetector::sizeThreshold(0.0f), 9.0) && near(CallDetector::sizeThreshold(87.5f), 72.0));
    QCOMPARE(CallDetector::blobBudget(kRate, kRate * 61 / 2), 620); // 20 per started second plus 20
    QCOMPARE(CallDetector::blobBudget(kRate, kRate * 9 / 10), 20);
    FloatMatrix m(40, size_t(kCols));
    for (size_t f = 5; f <= 30; ++f)
        for (size_t c : {3, 4, 5, 6, 100, 101, 102, 103, 104})
            m.at(f, c) = 1.0f;
    for (size_t c = 20; c < 25; ++c)
        m.at(35, c) = 1.0f;
    for (size_t f = 36; f <= 38; ++f)
        for (size_t c = 50; c <= 52; ++c)
            m.at(f, c) = 1.0f;
    BlobLabeler labeler;
    std::unordered_map<int, Blob> blobs = labeler.label(m);
    QCOMPARE(blobs.at(3).pixelCount, size_t(9));
    QCOMPARE(blobs.at(4).pixelCount, size_t(10));
    QStringList classes;
    QList<MyBatCall> calls;
    CallDetector().measureBlobs(m, labeler, 0.0f, kRate, 40 * 512, blobs, classes, calls);
    QCOMPARE(calls.size(), classes.size());
    for (int i = 0; i < calls.size(); ++i)
        QCOMPARE(calls[i].batClass, classes[i]);
    QStringList sorted = classes;
    sorted.sort();
    QCOMPARE(sorted, (QStringList{"Noise", "Noise", "PipPp"}));
    // The rejected region stays among the regions, the small one goes.
    QCOMPARE(int(blobs.size()), 3);
    QCOMPARE(blobs.count(3), size_t(0));

    auto find = [&](const QString &label, bool placeholder) {
        for (const MyBatCall &c : calls)
            if (c.batClass == label && c.rect.isNull() == placeholder)
                return c;
        return MyBatCall();
    };
    const MyBatCall p = find("Noise", true);
    QCOMPARE(p.batClass, QStringLiteral("Noise"));
    QCOMPARE(p.rect, QRectF(0, 0, 0, 0));
    QCOMPARE(p.startFreq + p.endFreq + p.maxFreq + p.minFreq + p.centroid + p.duration, 0.0);
    QCOMPARE(p.switchCount + p.zeroCount + p.posHist + p.negHist, 0);

    const double kHzPerColumn = 250.0 / 255.0;
    const MyBatCall c = find("Noise", false);
    QCOMPARE(c.batClass, QStringLiteral("Noise"));
    QVERIFY(near(c.centroid, 102 * kHzPerColumn) && near(c.startFreq, 102 * kHzPerColumn));
    QVERIFY(near(c.endFreq, 102 * kHzPerColumn));
    QVERIFY(near(c.maxFreq, 105 * kHzPerColumn)); // C plus the three filled bins from 102 up
    QVERIFY(near(c.minFreq, 98 * kHzPerColumn));  // down past 100 into the empty bin 99
    QVERIFY(near(c.duration, 26 * 512.0 / kRate));
    QCOMPARE(c.switchCount + c.zeroCount + c.posHist + c.negHist, 0);
    // 40 x 512 samples over 40 rows: 1.024 ms per row.
    QVERIFY(near(c.rect.x(), 5 * 0.001024) && near(c.rect.width(), 26 * 0.001024));
    QVERIFY(near(c.rect.y(), 100 * kHzPerColumn) && near(c.rect.height(), 5 * kHzPerColumn));

    // The block: 3 frames of 512 samples (3.07 ms), every row centred on bin 51, that is
    // 250 x 51 / 255 = 50 kHz: "Pip" and, between 49.5 and 51 kHz, "PipPp".
    const MyBatCall b = find("PipPp", false);
    QVERIFY(near(b.startFreq, 50.0) && near(b.endFreq, 50.0) && near(b.centroid, 50.0));
    QVERIFY(near(b.minFreq, 48 * kHzPerColumn) && near(b.maxFreq, 53 * kHzPerColumn));
    QVERIFY(near(b.duration, 3 * 512.0 / kRate));
}

void TestCallDetector::detectCalls_rateNotDividedBy2000()
{
    // 441 kHz: frequencies count sampleRate / 2000 = 220 kHz (an integer division)
    // over the 255 columns, the box 441000 / 2000.0 = 220.5 kHz. One steady line in
    // column 51, frames 20 .. 49 of 60.
    const int rate = 441000;
    const int rows = 60;
    FloatMatrix m{size_t(rows), size_t(kCols)};
    for (size_t f = 20; f < 50; ++f)
        m.at(f, 51) = 1.0f;

    // Worked out from the filters: smoothing gives 1, 2, 1 in columns 50 .. 52; the
    // running mean of the columns to their left takes 1.5 x 1/51 from column 51 and
    // 1.5 x 3/52 from column 52; echoes and the row mean leave the three cells alone
    // and blank every other. Each cell then weighs log10(20 x + 1).
    const double cells[3] = {1.0, 2.0 - 1.5 / 51, 1.0 - 4.5 / 52};
    double weight = 0;
    double moment = 0;
    for (int i = 0; i < 3; ++i) {
        const double v = std::log10(20.0 * cells[i] + 1.0);
        weight += v;
        moment += (50 + i) * v;
    }
    const double centreBin = moment / weight;
    const double kHzPerBin = 220.0 / kCols;
    const double boxKHzPerBin = 220.5 / kCols;

    Result r;
    const int samples = samplesFor(rows);
    CallDetector().detectCalls(m, 87.5f, rate, samples, r.blobs, r.classes, r.calls);
    QCOMPARE(r.calls.size(), 2);
    const MyBatCall &c = r.calls[1];
    auto near = [](double got, double want) { return std::abs(got - want) <= 1e-5 * want; };
    QVERIFY2(near(c.centroid, centreBin * kHzPerBin), qPrintable(QString::number(c.centroid, 'g', 9)));
    QVERIFY(near(c.startFreq, centreBin * kHzPerBin) && near(c.endFreq, centreBin * kHzPerBin));
    // The band edges walk from the centre through the three filled columns.
    QVERIFY(near(c.maxFreq, (centreBin + 3) * kHzPerBin));
    QVERIFY(near(c.minFreq, (centreBin - 2) * kHzPerBin));
    QVERIFY(near(c.duration, 30 * 64.0 / rate));
    QVERIFY2(near(c.rect.y(), 50 * boxKHzPerBin), qPrintable(QString::number(c.rect.y(), 'g', 9)));
    QVERIFY(near(c.rect.height(), 3 * boxKHzPerBin));
    const double rowSeconds = double(samples) / rate / rows;
    QVERIFY(near(c.rect.x(), 20 * rowSeconds) && near(c.rect.width(), 30 * rowSeconds));
    // 4.35 ms ending near 44 kHz.
    QCOMPARE(c.batClass, QStringLiteral("PipPip"));
}

QUILLON_TEST(TestCallDetector)
#include "tst_calldetector.moc"
