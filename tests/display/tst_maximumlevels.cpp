#include "testregistry.h"

#include "display/maximumlevels.h"

#include <QTest>
#include <qwt_matrix_raster_data.h>

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

// One plain pass over QwtMatrixRasterData::value at every grid position.
QVector<QPointF> plainMaxima(const QwtMatrixRasterData &raster, const RasterGrid &g, int step, bool overTime)
{
    const int outer = overTime ? g.columns : g.rows;
    const int inner = overTime ? g.rows : g.columns;
    QVector<QPointF> points;
    double running = -300.0;
    for (int i = 0; i < outer; ++i) {
        for (int j = 0; j < inner; ++j) {
            const int c = overTime ? i : j;
            const int r = overTime ? j : i;
            const double v = raster.value(g.x0 + g.width * c / g.columns, g.y0 + g.height * r / g.rows);
            if (v > running)
                running = v;
        }
        if (i >= 1 && i % step == 0) {
            const double at = overTime ? g.x0 + g.width * i / g.columns : g.y0 + g.height * i / g.rows;
            points.append(overTime ? QPointF(at, running) : QPointF(running, at));
            running = -300.0;
        }
    }
    return points;
}

} // namespace

class TestMaximumLevels : public QObject {
    Q_OBJECT
private slots:
    void grids();
    void againstValue_data();
    void againstValue();
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

void TestMaximumLevels::againstValue_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::addColumn<bool>("bilinear");
    QTest::addColumn<bool>("follow");
    QTest::addColumn<int>("step");
    QTest::newRow("nearest, whole raster") << 13 << 37 << false << false << 3;
    QTest::newRow("bilinear, whole raster") << 13 << 37 << true << false << 3;
    QTest::newRow("nearest, following a zoom") << 13 << 37 << false << true << 2;
    QTest::newRow("bilinear, following a zoom") << 13 << 37 << true << true << 2;
    QTest::newRow("every column a point") << 5 << 9 << false << false << 1;
    QTest::newRow("shared out over threads") << 64 << 20011 << true << false << 7;
}

void TestMaximumLevels::againstValue()
{
    QFETCH(int, rows);
    QFETCH(int, columns);
    QFETCH(bool, bilinear);
    QFETCH(bool, follow);
    QFETCH(int, step);
    // 1.5 s at 100 kHz; a zoom that reaches past the recording's end reads no level there.
    QwtMatrixRasterData raster;
    fill(raster, rows, columns, 1.5, 50.0, 11);
    raster.setResampleMode(bilinear ? QwtMatrixRasterData::BilinearInterpolation
                                    : QwtMatrixRasterData::NearestNeighbour);
    const VisibleArea visible{QwtInterval(0.41, 1.9), QwtInterval(3.3, 41.7)};

    const RasterGrid t = *timeMaximumGrid(raster, 100000, follow, visible);
    QCOMPARE(maximumOverTime(raster, t, step), plainMaxima(raster, t, step, true));
    const RasterGrid f = *frequencyMaximumGrid(raster, 150000, 100000, follow, visible);
    QCOMPARE(maximumOverFrequency(raster, f, step), plainMaxima(raster, f, step, false));
    QVERIFY(!maximumOverTime(raster, t, step).isEmpty());
}

QUILLON_TEST(TestMaximumLevels)
#include "tst_maximumlevels.moc"
