#include "testregistry.h"

#include "display/maximumlevels.h"

#include <QTest>
#include <qwt_matrix_raster_data.h>

#include <cmath>
#include <random>

namespace {

// rows x columns random levels over 0..seconds and 0..kHz.
void fill(QwtMatrixRasterData &raster, int rows, int columns, double seconds, double kHz, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> level(-120.0, 0.0);
    QVector<double> values(rows * columns);
    for (double &v : values)
        v = level(random);
    raster.setValueMatrix(values, columns);
    raster.setInterval(Qt::XAxis, QwtInterval(0.0, seconds));
    raster.setInterval(Qt::YAxis, QwtInterval(0.0, kHz));
}

// -120 dB everywhere but 0 dB at (row, column).
void loneCell(QwtMatrixRasterData &raster, int rows, int columns, double seconds, double kHz, int row, int column)
{
    QVector<double> values(rows * columns, -120.0);
    values[row * columns + column] = 0.0;
    raster.setValueMatrix(values, columns);
    raster.setInterval(Qt::XAxis, QwtInterval(0.0, seconds));
    raster.setInterval(Qt::YAxis, QwtInterval(0.0, kHz));
}

double highest(const QVector<QPointF> &points, bool overTime)
{
    double level = -300.0;
    for (const QPointF &p : points)
        level = qMax(level, overTime ? p.y() : p.x());
    return level;
}

} // namespace

class TestMaximumLevels : public QObject
{
    Q_OBJECT
private slots:
    void grids();
    void everyCellReadOnce_data();
    void everyCellReadOnce();
    void followingReadsTheVisibleCells();
    void columnMaximaOverThreads();
};

void TestMaximumLevels::grids()
{
    // 8 columns over 1 s, 4 rows over 0..4 kHz of an 8 kHz recording: 1 row a kHz, 8 columns a second.
    QwtMatrixRasterData raster;
    fill(raster, 4, 8, 1.0, 4.0, 1);
    const VisibleArea visible{QwtInterval(0.3, 0.8), QwtInterval(1.5, 3.7)};
    const auto shape = [](const std::optional<RasterGrid> &g) {
        return g ? QVector<double>{g->x0, g->width, double(g->columns), g->y0, g->height, double(g->rows)}
                 : QVector<double>{};
    };
    // Following: rows int(1.5) to int(3.7) over the visible range; columns int(2.4) to int(6.4) over the span.
    QCOMPARE(shape(timeMaximumGrid(raster, 8000, true, visible)), (QVector<double>{0.3, 0.5, 8, 1.5, 3.7 - 1.5, 2}));
    QCOMPARE(shape(frequencyMaximumGrid(raster, 8000, 8000, true, visible)),
             (QVector<double>{0.3, 0.5, 4, 1.5, 3.7 - 1.5, 4}));
    const QVector<double> whole{0.0, 1.0, 8, 0.0, 4.0, 4};
    QCOMPARE(shape(timeMaximumGrid(raster, 8000, false, visible)), whole);
    QCOMPARE(shape(frequencyMaximumGrid(raster, 8000, 8000, false, visible)), whole);
    // Nothing to divide by.
    QVERIFY(!timeMaximumGrid(raster, 0, true, visible));
    QVERIFY(!frequencyMaximumGrid(raster, 0, 8000, true, visible));
    QVERIFY(!timeMaximumGrid(QwtMatrixRasterData(), 8000, false, visible));
}

void TestMaximumLevels::everyCellReadOnce_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::addColumn<double>("seconds");
    QTest::addColumn<double>("kHz");
    QTest::addColumn<bool>("bilinear");
    QTest::addColumn<double>("followed"); // s of a time axis the plots follow; 0: the raster's own columns
    QTest::newRow("1 s at 300 kHz, 1024 points") << 512 << 486 << 1.0 << 150.0 << false << 0.0;
    QTest::newRow("44.1 kHz") << 512 << 300 << 1.0 << 22.05 << false << 0.0;
    QTest::newRow("an odd length") << 256 << 733 << 2.7183 << 125.0 << false << 0.0;
    QTest::newRow("smoothed") << 512 << 486 << 1.0 << 150.0 << true << 0.0;
    // A fixed time axis of 2.5 s over a 1 s recording: the points stand 2.5 columns apart.
    QTest::newRow("a followed span wider than the recording") << 512 << 486 << 1.0 << 128.0 << false << 2.5;
}

void TestMaximumLevels::everyCellReadOnce()
{
    QFETCH(int, rows);
    QFETCH(int, columns);
    QFETCH(double, seconds);
    QFETCH(double, kHz);
    QFETCH(bool, bilinear);
    QFETCH(double, followed);
    const bool follow = followed > 0.0;
    const VisibleArea visible{QwtInterval(0.0, follow ? followed : seconds), QwtInterval(0.0, kHz)};
    const int sampleRate = int(std::lround(kHz * 2000.0));
    const auto mode = bilinear ? QwtMatrixRasterData::BilinearInterpolation : QwtMatrixRasterData::NearestNeighbour;
    // A lone loud cell shows at full level at the point of the grid column
    // whose stretch holds it, its own column unless the axis is followed;
    // grid column 0 belongs to the first point.
    for (int c = 0; c < columns; ++c) {
        QwtMatrixRasterData raster;
        loneCell(raster, rows, columns, seconds, kHz, (c * 7) % rows, c);
        raster.setResampleMode(mode);
        const QVector<QPointF> points =
            maximumOverTime(raster, *timeMaximumGrid(raster, sampleRate, follow, visible), 1);
        QCOMPARE(points.size(), columns - 1);
        // Grid column i starts in column floor(i x followed / seconds) and
        // reads up to where the next one starts: the last to start at c or before.
        const int own = follow ? int(std::ceil((c + 1) * seconds / followed - 1e-9)) - 1 : c;
        QVERIFY2(points[qMax(own, 1) - 1].y() == 0.0, qPrintable(QString("column %1").arg(c)));
    }
    const qint64 sampleCount = qint64(seconds * sampleRate);
    for (int r = 0; r < rows; ++r) {
        QwtMatrixRasterData raster;
        loneCell(raster, rows, columns, seconds, kHz, r, (r * 7) % columns);
        raster.setResampleMode(mode);
        const QVector<QPointF> points =
            maximumOverFrequency(raster, *frequencyMaximumGrid(raster, sampleCount, sampleRate, follow, visible), 1);
        QCOMPARE(points.size(), rows - 1);
        QVERIFY2(points[qMax(r, 1) - 1].x() == 0.0, qPrintable(QString("row %1").arg(r)));
    }
}

void TestMaximumLevels::followingReadsTheVisibleCells()
{
    // 40 columns over 1 s, 20 rows over 0..10 kHz of a 20 kHz recording. The
    // zoom shows columns 10..19 and rows 5..11 (whole rows only: 6.0 kHz is
    // row 12's lower edge).
    const VisibleArea zoom{QwtInterval(0.25, 0.5), QwtInterval(2.5, 6.0)};
    const auto timeLevel = [&zoom](int row, int column) {
        QwtMatrixRasterData raster;
        loneCell(raster, 20, 40, 1.0, 10.0, row, column);
        return highest(maximumOverTime(raster, *timeMaximumGrid(raster, 20000, true, zoom), 1), true);
    };
    const auto frequencyLevel = [&zoom](int row, int column) {
        QwtMatrixRasterData raster;
        loneCell(raster, 20, 40, 1.0, 10.0, row, column);
        return highest(maximumOverFrequency(raster, *frequencyMaximumGrid(raster, 20000, 20000, true, zoom), 1), false);
    };
    for (int c = 10; c < 20; ++c) {
        for (int r = 5; r < 12; ++r) {
            QCOMPARE(timeLevel(r, c), 0.0);
            QCOMPARE(frequencyLevel(r, c), 0.0);
        }
    }
    for (const QPoint &outside : {QPoint(9, 8), QPoint(20, 8), QPoint(15, 4), QPoint(15, 12)}) {
        QCOMPARE(timeLevel(outside.y(), outside.x()), -120.0);
        QCOMPARE(frequencyLevel(outside.y(), outside.x()), -120.0);
    }
}

void TestMaximumLevels::columnMaximaOverThreads()
{
    // Enough reads to be shared out: every point still holds the largest
    // level of its own column and those before it since the last point.
    QwtMatrixRasterData raster;
    const int rows = 64;
    const int columns = 20011;
    fill(raster, rows, columns, 1.5, 50.0, 11);
    const QVector<double> values = raster.valueMatrix();
    const VisibleArea unused{QwtInterval(), QwtInterval()};
    const int step = 7;
    const QVector<QPointF> overTime = maximumOverTime(raster, *timeMaximumGrid(raster, 100000, false, unused), step);
    QCOMPARE(overTime.size(), (columns - 1) / step);
    for (int i = 0; i < overTime.size(); ++i) {
        double expected = -300.0;
        for (int c = (i == 0 ? 0 : i * step + 1); c <= (i + 1) * step; ++c)
            for (int r = 0; r < rows; ++r)
                expected = qMax(expected, values[r * columns + c]);
        QCOMPARE(overTime[i], QPointF(1.5 * (i + 1) * step / columns, expected));
    }
}

QUILLON_TEST(TestMaximumLevels)
#include "tst_maximumlevels.moc"
