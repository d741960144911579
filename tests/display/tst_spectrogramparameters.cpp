#include "testregistry.h"

#include "display/spectrogramparameters.h"

#include <QTest>

class TestSpectrogramParameters : public QObject
{
    Q_OBJECT
private slots:
    void parameters_data();
    void parameters();
    void reduceOverlap_data();
    void reduceOverlap();
};

void TestSpectrogramParameters::parameters_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("windowSize");
    QTest::addColumn<float>("frameSize");
    QTest::addColumn<double>("overlap");
    QTest::addColumn<QString>("window");
    QTest::newRow("first row") << 0 << 2048 << 100.0f << 98.4375 << "Rectangular";
    QTest::newRow("defaults of a fresh store") << 1 << 1024 << 75.0f << 96.875 << "Hamming";
    QTest::newRow("flat top") << 5 << 64 << 12.5f << 50.0 << "Flattop";
    // The worker knows the seventh window only with its hyphen.
    QTest::newRow("last row") << 6 << 64 << 12.5f << 0.0 << "Blackman-Harris";
    QTest::newRow("beyond the table") << 9 << 64 << 12.5f << 0.0 << "Blackman-Harris";
    QTest::newRow("negative index") << -1 << 64 << 12.5f << 0.0 << "Blackman-Harris";
}

void TestSpectrogramParameters::parameters()
{
    QFETCH(int, index);
    const SpectrogramParameters p = spectrogramParameters(index, index, index, index);
    QTEST(p.windowSize, "windowSize");
    QTEST(p.frameSize, "frameSize");
    QTEST(p.overlap, "overlap");
    QTEST(p.window, "window");
}

void TestSpectrogramParameters::reduceOverlap_data()
{
    QTest::addColumn<qint64>("samples");
    QTest::addColumn<int>("windowSize");
    QTest::addColumn<double>("overlap");
    QTest::addColumn<int>("storedIndex");
    QTest::addColumn<bool>("autoReduce");
    QTest::addColumn<double>("expectedOverlap");
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("storeIndex");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("percent");

    // 20 s at 300 kHz: 181787 frames x 511 = 92.9e6 cells at 96.875 %, 47.2e6 at 93.75 %.
    QTest::newRow("one step") << qint64(6000000) << 1024 << 96.875 << 1 << true << 93.75 << 1 << 2 << false << "93.75";
    QTest::newRow("reduction switched off")
        << qint64(6000000) << 1024 << 96.875 << 1 << false << 96.875 << 0 << -1 << false << "";
    // 77.4e6 cells: within the limit.
    QTest::newRow("fits") << qint64(5000000) << 1024 << 96.875 << 1 << true << 96.875 << 0 << -1 << false << "";
    // 12e6 samples: 94.3e6 cells at 93.75 %, 47.5e6 at 87.5 %; three steps, one index.
    QTest::newRow("three steps raise the index once")
        << qint64(12000000) << 1024 << 98.4375 << 0 << true << 87.5 << 3 << 1 << false << "87.5";
    // 9e7 samples at 50 %: 175436 frames x 511 = 89.6e6; at 0 %: 44.9e6.
    QTest::newRow("50 % goes to index 6")
        << qint64(90000000) << 1024 << 50.0 << 5 << true << 0.0 << 1 << 6 << false << "0";
    QTest::newRow("never past the last index")
        << qint64(90000000) << 1024 << 50.0 << 6 << true << 0.0 << 1 << 6 << false << "0";
    // 2e8 samples with a 64-point window: 3076922 frames x 31 = 95.4e6 cells even at 0 %.
    QTest::newRow("too large at 0 %") << qint64(200000000) << 64 << 50.0 << 5 << true << 0.0 << 1 << -1 << true << "";
    QTest::newRow("too large, no step possible")
        << qint64(200000000) << 64 << 0.0 << 6 << true << 0.0 << 0 << -1 << true << "";
    QTest::newRow("shorter than one window")
        << qint64(500) << 1024 << 96.875 << 1 << true << 96.875 << 0 << -1 << false << "";
}

void TestSpectrogramParameters::reduceOverlap()
{
    QFETCH(qint64, samples);
    QFETCH(int, windowSize);
    QFETCH(double, overlap);
    QFETCH(int, storedIndex);
    QFETCH(bool, autoReduce);
    QFETCH(double, expectedOverlap);
    QFETCH(int, steps);
    QFETCH(int, storeIndex);
    QFETCH(bool, refused);
    QFETCH(QString, percent);

    const OverlapReduction r = ::reduceOverlap(samples, windowSize, overlap, storedIndex, autoReduce);
    QCOMPARE(r.overlap, expectedOverlap);
    QCOMPARE(r.steps, steps);
    QCOMPARE(r.storeOverlapIndex, storeIndex);
    QCOMPARE(r.refused, refused);
    QCOMPARE(r.refusal.isEmpty(), !refused);
    if (storeIndex >= 0) {
        QCOMPARE(r.notice, QStringLiteral("Current spectrogram matrix size is over the limit.\n Overlap for this "
                                          "spectrogram calculation is reduced to ")
                               + percent + QStringLiteral("%"));
    } else {
        QVERIFY(r.notice.isEmpty());
    }
    if (autoReduce && !refused)
        QVERIFY(estimatedMatrixCells(samples, windowSize, r.overlap) <= matrixCellLimit);
}

QUILLON_TEST(TestSpectrogramParameters)
#include "tst_spectrogramparameters.moc"
