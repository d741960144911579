#include "testregistry.h"

#include "display/cursorcurves.h"

#include <QTest>
#include <qwt_matrix_raster_data.h>

#include <cmath>
#include <random>

Q_DECLARE_METATYPE(QVector<QPointF>)

namespace {

// 4 frequency rows (0..4 kHz, 1 kHz each) by 8 time columns (0..1 s, 1/8 s
// each): power-of-two steps keep every cursor position exact.
QwtMatrixRasterData *makeRaster()
{
    const QVector<double> row0{5, -400, 1, 7, -500, -500, -600, 9};
    const QVector<double> row1{0, 0, 10, 0, 0, 0, 0, 0};
    const QVector<double> row2{0, 0, -20, 0, 0, 0, 0, 0};
    const QVector<double> row3{0, 0, 3, 0, 0, 0, 0, 0};
    auto *raster = new QwtMatrixRasterData;
    raster->setValueMatrix(row0 + row1 + row2 + row3, 8);
    raster->setInterval(Qt::XAxis, QwtInterval(0.0, 1.0));
    raster->setInterval(Qt::YAxis, QwtInterval(0.0, 4.0));
    raster->setInterval(Qt::ZAxis, QwtInterval(-100.0, 0.0));
    return raster;
}

// The time curve as a plain single pass over QwtMatrixRasterData::value.
QVector<QPointF> plainTimeCurve(const QwtMatrixRasterData &raster, double f, double a, double b, int step)
{
    QVector<QPointF> points;
    const int n = raster.numColumns();
    float running = -300.0f;
    for (int i = 0; i < n; ++i) {
        const float x = float((b - a) * i / n + a);
        const float v = float(raster.value(x, f));
        if (!std::isnan(v)) // a position outside the raster is no level
            running = qMax(v, running);
        if (i > 0 && i % step == 0) {
            points.append(QPointF(x, running));
            running = -300.0f;
        }
    }
    return points;
}

// The frequency curve as a plain single pass over QwtMatrixRasterData::value.
QVector<QPointF> plainFrequencyCurve(const QwtMatrixRasterData &raster, double t, double a, double b, int step)
{
    QVector<QPointF> points;
    const int n = raster.numRows();
    float running = -300.0f;
    for (int j = 0; j < n; ++j) {
        const float y = float((b - a) * j / n + a);
        const float v = float(raster.value(t, y));
        if (!std::isnan(v))
            running = qMax(v, running);
        if (j > 0 && j % step == 0) {
            points.append(QPointF(running, y));
            running = -300.0f;
        }
    }
    return points;
}

bool sameValue(double a, double b)
{
    return (std::isnan(a) && std::isnan(b)) || a == b;
}

} // namespace

class TestCursorCurves : public QObject
{
    Q_OBJECT
private slots:
    void timeCurve_data();
    void timeCurve();
    void frequencyCurve_data();
    void frequencyCurve();
    void readerMatchesQwt_data();
    void readerMatchesQwt();
    void longRecordingCurve_data();
    void longRecordingCurve();
    void emptyRaster_data();
    void emptyRaster();
};

void TestCursorCurves::timeCurve_data()
{
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<int>("screenWidth");
    QTest::addColumn<QVector<QPointF>>("points");
    // Row 0 (cursor at 0.5 kHz): 5, -400, 1, 7, -500, -500, -600, 9 over columns 0..7.
    // Step 2: points at columns 2, 4, 6, each the maximum since the last one;
    // a group entirely below -300 dB shows -300; column 7 gives no point.
    QTest::newRow("step 2, whole recording") << 0.0 << 1.0 << 4 << QVector<QPointF>{{0.25, 5}, {0.5, 7}, {0.75, -300}};
    // Step 1: the first point merges columns 0 and 1.
    QTest::newRow("step 1 merges the first two columns")
        << 0.0 << 1.0 << 1920
        << QVector<QPointF>{{0.125, 5}, {0.25, 1}, {0.375, 7}, {0.5, -300}, {0.625, -300}, {0.75, -300}, {0.875, 9}};
    // Visible span 0.5 .. 1 s: x = 0.5 + i / 16 reads columns 4, 4, 5, 5, 6, 6, 7, 7.
    QTest::newRow("zoomed span") << 0.5 << 1.0 << 4 << QVector<QPointF>{{0.625, -300}, {0.75, -300}, {0.875, 9}};
    // Span 0 .. 2 s on a 1 s recording: columns 0, 2, 4, 6, 7, then outside the raster.
    QTest::newRow("span longer than the recording")
        << 0.0 << 2.0 << 4 << QVector<QPointF>{{0.5, 5}, {1.0, 9}, {1.5, -300}};
}

void TestCursorCurves::timeCurve()
{
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(int, screenWidth);
    QFETCH(QVector<QPointF>, points);
    QScopedPointer<QwtMatrixRasterData> raster(makeRaster());
    const auto curve = timeCursorCurve(*raster, 0.5, a, b, screenWidth);
    QVERIFY(curve.has_value());
    QCOMPARE(*curve, points);
    QVERIFY(!timeCursorCurve(*raster, 0.5, a, b, 0).has_value());
}

void TestCursorCurves::frequencyCurve_data()
{
    QTest::addColumn<int>("screenHeight");
    QTest::addColumn<QVector<QPointF>>("points");
    // Column 2 (cursor at 0.3 s) from row 0 up: 1, 10, -20, 3; rows at 0, 1, 2, 3 kHz.
    QTest::newRow("step 2") << 2 << QVector<QPointF>{{10, 2}};
    QTest::newRow("step 1") << 1080 << QVector<QPointF>{{10, 1}, {-20, 2}, {3, 3}};
}

void TestCursorCurves::frequencyCurve()
{
    QFETCH(int, screenHeight);
    QFETCH(QVector<QPointF>, points);
    QScopedPointer<QwtMatrixRasterData> raster(makeRaster());
    const auto curve = frequencyCursorCurve(*raster, 0.3, 0.0, 4.0, screenHeight);
    QVERIFY(curve.has_value());
    QCOMPARE(*curve, points);
    QVERIFY(!frequencyCursorCurve(*raster, 0.3, 0.0, 4.0, -1).has_value());
}

void TestCursorCurves::readerMatchesQwt_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("nearest neighbour") << int(QwtMatrixRasterData::NearestNeighbour);
    QTest::newRow("bilinear") << int(QwtMatrixRasterData::BilinearInterpolation);
}

void TestCursorCurves::readerMatchesQwt()
{
    QFETCH(int, mode);
    // Odd sizes and bounds, so that no position falls on an exact column edge by luck.
    const int columns = 37;
    const int rows = 13;
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> level(-150.0, 0.0);
    QVector<double> values(columns * rows);
    for (double &v : values)
        v = level(rng);
    QwtMatrixRasterData raster;
    raster.setValueMatrix(values, columns);
    raster.setInterval(Qt::XAxis, QwtInterval(0.25, 3.7));
    raster.setInterval(Qt::YAxis, QwtInterval(0.0, 22.05));
    raster.setResampleMode(QwtMatrixRasterData::ResampleMode(mode));

    std::uniform_real_distribution<double> x(0.0, 4.0);
    std::uniform_real_distribution<double> y(-1.0, 23.0);
    QVector<QPointF> probes{{0.25, 0.0}, {3.7, 22.05}, {0.25, 22.05}, {3.7, 0.0}, {0.2499, 5.0}, {3.7001, 5.0}};
    for (int i = 0; i < 5000; ++i)
        probes.append(QPointF(x(rng), y(rng)));
    for (const QPointF &p : probes) {
        const double expected = raster.value(p.x(), p.y());
        const double actual = rasterValue(raster, p.x(), p.y());
        QVERIFY2(sameValue(actual, expected), qPrintable(QStringLiteral("at (%1, %2): %3 instead of %4")
                                                             .arg(p.x(), 0, 'g', 17)
                                                             .arg(p.y(), 0, 'g', 17)
                                                             .arg(actual)
                                                             .arg(expected)));
    }
    // The curves read the raster the same way along either axis.
    for (const double t : {0.25, 1.3, 3.7}) {
        const auto spectrum = frequencyCursorCurve(raster, t, 0.0, 22.05, rows);
        QVERIFY(spectrum.has_value());
        QCOMPARE(*spectrum, plainFrequencyCurve(raster, t, 0.0, 22.05, 1));
    }
    for (const double f : {0.0, 10.3, 22.05}) {
        const auto levels = timeCursorCurve(raster, f, 0.25, 3.7, columns);
        QVERIFY(levels.has_value());
        QCOMPARE(*levels, plainTimeCurve(raster, f, 0.25, 3.7, 1));
    }
}

void TestCursorCurves::longRecordingCurve_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("nearest neighbour") << int(QwtMatrixRasterData::NearestNeighbour);
    QTest::newRow("bilinear") << int(QwtMatrixRasterData::BilinearInterpolation);
}

void TestCursorCurves::longRecordingCurve()
{
    QFETCH(int, mode);
    // Enough columns that the curve is computed in parts; it must equal one plain pass.
    const int columns = 700001;
    const int rows = 3;
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> level(-320.0, 0.0);
    QVector<double> values(columns * rows);
    for (double &v : values)
        v = level(rng);
    QwtMatrixRasterData raster;
    raster.setValueMatrix(values, columns);
    raster.setInterval(Qt::XAxis, QwtInterval(0.0, 350.0005));
    raster.setInterval(Qt::YAxis, QwtInterval(0.0, 250.0));
    raster.setResampleMode(QwtMatrixRasterData::ResampleMode(mode));
    for (const double f : {10.0, 125.0, 249.9}) {
        const auto curve = timeCursorCurve(raster, f, 0.0, 351.0, 1366);
        QVERIFY(curve.has_value());
        QCOMPARE(curve->size(), (columns - 1) / (columns / 1366));
        QCOMPARE(*curve, plainTimeCurve(raster, f, 0.0, 351.0, columns / 1366));
    }
}

void TestCursorCurves::emptyRaster_data()
{
    readerMatchesQwt_data();
}

void TestCursorCurves::emptyRaster()
{
    QFETCH(int, mode);
    // What a failed load or a calculation leaves under the mouse: no columns,
    // yet axes of 0 to 1 s and 0 to 150 kHz. Nothing can be read; Qwt's own
    // value() would read before the matrix.
    QwtMatrixRasterData raster;
    raster.setValueMatrix(QVector<double>(1, 0.0), 0);
    raster.setInterval(Qt::XAxis, QwtInterval(0.0, 1.0));
    raster.setInterval(Qt::YAxis, QwtInterval(0.0, 150.0));
    raster.setResampleMode(QwtMatrixRasterData::ResampleMode(mode));
    for (const QPointF &p : {QPointF(0.0, 0.0), QPointF(0.5, 75.0), QPointF(1.0, 150.0)})
        QVERIFY(std::isnan(rasterValue(raster, p.x(), p.y())));
    const auto levels = timeCursorCurve(raster, 75.0, 0.0, 1.0, 1920);
    QVERIFY(levels && levels->isEmpty());
    const auto spectrum = frequencyCursorCurve(raster, 0.5, 0.0, 150.0, 1080);
    QVERIFY(spectrum && spectrum->isEmpty());
}

QUILLON_TEST(TestCursorCurves)
#include "tst_cursorcurves.moc"
