#include "testregistry.h"

#include "analysis/floatmatrix.h"

#include <QTest>
#include <cmath>
#include <cstring>
#include <limits>

using Rows = QVector<QVector<float>>;
Q_DECLARE_METATYPE(Rows)

namespace {

FloatMatrix matrixOf(const Rows &rows)
{
    FloatMatrix m(size_t(rows.size()), rows.isEmpty() ? 0 : size_t(rows.first().size()));
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c)
            m.at(size_t(r), size_t(c)) = rows[r][c];
    return m;
}

bool sameCells(const FloatMatrix &m, const Rows &expected)
{
    const FloatMatrix e = matrixOf(expected);
    if (m.rows != e.rows || m.cols != e.cols || m.data.size() != m.rows * m.cols)
        return false;
    for (size_t i = 0; i < e.data.size(); ++i)
        if (std::abs(m.data[i] - e.data[i]) > 1e-5f * std::max(1.0f, std::abs(e.data[i])))
            return false;
    return true;
}

void apply(const QString &filter, FloatMatrix &m)
{
    if (filter == "runningMean")
        m.subtractRunningMean();
    else if (filter == "smooth")
        m.smoothRows();
    else if (filter == "rowMean")
        m.removeRowMean();
    else if (filter == "echoes")
        m.suppressEchoes();
    else if (filter.startsWith("lowBins"))
        m.zeroLowBins(filter.section(' ', 1).toInt());
    else
        m = m.transposed();
}

} // namespace

class TestFloatMatrix : public QObject
{
    Q_OBJECT

private slots:
    void filters_data();
    void filters();
    void filters_singlePrecisionOrder_data();
    void filters_singlePrecisionOrder();
    void narrowRows_stayInside();
    void levels_decibelCompressionExtremes();
    void segmentFeatures_data();
    void segmentFeatures();
};

void TestFloatMatrix::filters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<Rows>("input");
    QTest::addColumn<Rows>("expected");

    QTest::newRow("running mean: 4 4 4") << "runningMean" << Rows{{4, 4, 4}} << Rows{{4, 0, 0}};
    // 3 - 1.5 x 1, then 2 - 1.5 x mean(1, 3) < 0: the mean follows the unfiltered cells.
    QTest::newRow("running mean: 1 3 2") << "runningMean" << Rows{{1, 3, 2}} << Rows{{1, 1.5f, 0}};
    QTest::newRow("running mean: fresh per row") << "runningMean" << Rows{{2, 0}, {0, 5}} << Rows{{2, 0}, {0, 5}};
    QTest::newRow("smooth: 1 2 3") << "smooth" << Rows{{1, 2, 3}} << Rows{{1, 8, 3}};
    // From the unsmoothed copy: an in-place pass would give 0 1 3 1 0.
    QTest::newRow("smooth: impulse") << "smooth" << Rows{{0, 0, 1, 0, 0}} << Rows{{0, 1, 2, 1, 0}};
    QTest::newRow("row mean: ten ones") << "rowMean" << Rows{QVector<float>(10, 1.0f)}
                                        << Rows{{0, 0, 0, 1, 1, 1, 1, 0, 0, 0}};
    // Sum after zeroing 22, invN 1/5: the 7-bin windows hold 18, 20, 22, 22, 20, 18.
    QTest::newRow("row mean: spike") << "rowMean" << Rows{{9, 9, 9, 2, 2, 2, 12, 2, 2, 9, 9, 9}}
                                     << Rows{{0, 0, 0, 1.2f, 1.6f, 2, 12, 1.6f, 1.2f, 0, 0, 0}};
    // Sum 21, invN 1/4: column 3 would go negative, column 7 loses 1/4.
    QTest::newRow("row mean: negative clipped")
        << "rowMean" << Rows{{0, 0, 0, 1, 0, 0, 0, 20, 0, 0, 0}} << Rows{{0, 0, 0, 0, 0, 0, 0, 19.75f, 0, 0, 0}};
    // Envelope 9.5 is not above 2 x 5; 9.4 is above 2 x 4.
    QTest::newRow("echoes: half kept") << "echoes" << Rows{{10}, {5}} << Rows{{10}, {5}};
    QTest::newRow("echoes: below half") << "echoes" << Rows{{10}, {4}} << Rows{{10}, {0}};
    // The envelope follows the input, not the blanked cell: 0.9 x 9.1 + 0.5 = 8.69 < 10.
    QTest::newRow("echoes: envelope of input") << "echoes" << Rows{{10}, {1}, {5}} << Rows{{10}, {0}, {5}};
    QTest::newRow("low bins: 2") << "lowBins 2" << Rows{{1, 2, 3}, {4, 5, 6}} << Rows{{0, 0, 3}, {0, 0, 6}};
    // More bins than a row must not run into the next row or past the end.
    QTest::newRow("low bins: 500") << "lowBins 500" << Rows{{1, 2, 3}, {4, 5, 6}} << Rows{{0, 0, 0}, {0, 0, 0}};
    QTest::newRow("transposed") << "transposed" << Rows{{1, 2, 3}, {4, 5, 6}} << Rows{{1, 4}, {2, 5}, {3, 6}};
}

void TestFloatMatrix::filters()
{
    QFETCH(QString, filter);
    QFETCH(Rows, input);
    QFETCH(Rows, expected);
    FloatMatrix m = matrixOf(input);
    apply(filter, m);
    QVERIFY(sameCells(m, expected));
}

void TestFloatMatrix::filters_singlePrecisionOrder_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<Rows>("input");
    QTest::addColumn<Rows>("expected");

    // Each result holds only when the sums run in float in the stated order: adding
    // a neighbour first, or in double, rounds 153092096 up to 153092112.
    QTest::newRow("smooth: (t + t) + left + right")
        << "smooth" << Rows{{10.75f, 48758784, 55574528}} << Rows{{10.75f, 153092096, 55574528}};
    // The row sum in double rounded once, the seven subtractions centre first, then
    // x 1/5 in float: a float sum gives 73610040 and 10.7 in columns 4 and 6, the
    // subtractions from the left 5.3 in column 6, a division 4.3000002 there.
    QTest::newRow("row mean: sum, subtractions, 1 / (cols - 7)")
        << "rowMean"
        << Rows{{80740352, 93, 161792, 99, 79691776, 331350016, 8.5f, 8.75f, 30408704, 17664, 1920, 1325400064}}
        << Rows{{0, 0, 0, 0, 73610032, 331350016, 4.29999971f, 0, 14470323, 0, 0, 0}};
    // The envelope takes 1 - 0.9f = 0.100000024 of each cell: after 19 rows of
    // 54.625 it still lies above 109.25 (109.250053), where with 0.1f it would just
    // have fallen to it.
    Rows echo{{459}};
    Rows echoExpected{{459}};
    for (int i = 0; i < 19; ++i) {
        echo << QVector<float>{54.625f};
        echoExpected << QVector<float>{0};
    }
    QTest::newRow("echoes: 1 - 0.9 in float") << "echoes" << echo << echoExpected;
    // 0.9f x 21.1111126 + 0.100000024 x 10 rounds to 20 in float; in double the
    // envelope lands just above 20 and would blank the cell.
    QTest::newRow("echoes: envelope in float") << "echoes" << Rows{{21.1111126f}, {10}} << Rows{{21.1111126f}, {10}};
}

void TestFloatMatrix::filters_singlePrecisionOrder()
{
    QFETCH(QString, filter);
    QFETCH(Rows, input);
    QFETCH(Rows, expected);
    FloatMatrix m = matrixOf(input);
    apply(filter, m);
    const FloatMatrix e = matrixOf(expected);
    for (size_t i = 0; i < e.data.size(); ++i) {
        QVERIFY2(std::memcmp(&m.data[i], &e.data[i], sizeof(float)) == 0,
                 qPrintable(QString("cell %1: %2, expected %3")
                                .arg(i)
                                .arg(double(m.data[i]), 0, 'g', 9)
                                .arg(double(e.data[i]), 0, 'g', 9)));
    }
}

void TestFloatMatrix::narrowRows_stayInside()
{
    // Rows too narrow for a filter's window: every cell is an edge cell, none outside is touched.
    for (size_t cols : {7, 3, 1, 0}) {
        FloatMatrix m(3, cols);
        std::fill(m.data.begin(), m.data.end(), 1.0f);
        m.removeRowMean();
        QCOMPARE(m.data, FloatMatrix::Cells(3 * cols, 0.0f));
        std::fill(m.data.begin(), m.data.end(), 1.0f);
        m.smoothRows();
        if (cols < 3)
            QCOMPARE(m.data, FloatMatrix::Cells(3 * cols, 1.0f));
    }
}

void TestFloatMatrix::levels_decibelCompressionExtremes()
{
    FloatMatrix m = matrixOf(Rows{{100, 1, 0}});
    m.toDecibel();
    QVERIFY(sameCells(matrixOf(Rows{{m.at(0, 0), m.at(0, 1)}}), Rows{{20, 0}}));
    QVERIFY(std::isinf(m.minValue()) && m.minValue() < 0);
    QCOMPARE(m.maxValue(), 20.0f);

    FloatMatrix c = matrixOf(Rows{{0, 4.95f, 0.45f}});
    c.logCompress(20.0f); // log10(20 x + 1)
    QVERIFY(sameCells(c, Rows{{0, 2, 1}}));

    const float nan = std::numeric_limits<float>::quiet_NaN();
    const FloatMatrix n = matrixOf(Rows{{nan, 3}, {-2, nan}});
    QCOMPARE(n.maxValue(), 3.0f);
    QCOMPARE(n.minValue(), -2.0f);
    QCOMPARE(FloatMatrix().maxValue(), -1e8f);
    QCOMPARE(FloatMatrix().minValue(), 1e8f);
}

void TestFloatMatrix::segmentFeatures_data()
{
    QTest::addColumn<Rows>("region");
    QTest::addColumn<QVector<float>>("expected"); // C, u, l, first, last, switch, zero, pos, neg

    // Every row peaks in bin 2: only the no-shift entry; the edges walk from C = 2.
    QTest::newRow("constant bin") << Rows{{0, 0, 1, 0, 0, 0}, {0, 0, 1, 0, 0, 0}, {0, 0, 1, 0, 0, 0}}
                                  << QVector<float>{2, 3, 0, 2, 2, 0, 0, 0, 0};
    QTest::newRow("one filled row") << Rows{{0, 0, 0, 0, 0, 0}, {0, 0, 1, 0, 0, 0}}
                                    << QVector<float>{2, 3, 0, 2, 2, -1, 0, 0, 0};
    // Peaks 5 4 4 3: steps -1, 0, -1 fill D[7] twice and D[8] once; C = 16 / 4.
    QTest::newRow("falling sweep") << Rows{{0, 0, 0, 0, 0, 1, 0, 0},
                                           {0, 0, 0, 0, 1, 0, 0, 0},
                                           {0, 0, 0, 0, 1, 0, 0, 0},
                                           {0, 0, 0, 1, 0, 0, 0, 0}}
                                   << QVector<float>{4, 6, 1, 5, 3, 0, 0, 0, 1};
    // Peaks 3 5 3 4: steps +2, -2, +1 fill D[12], D[8], D[11]; D[9] and D[10] stay empty.
    QTest::newRow("zigzag") << Rows{{0, 0, 0, 1, 0, 0, 0, 0, 0, 0},
                                    {0, 0, 0, 0, 0, 1, 0, 0, 0, 0},
                                    {0, 0, 0, 1, 0, 0, 0, 0, 0, 0},
                                    {0, 0, 0, 0, 1, 0, 0, 0, 0, 0}}
                            << QVector<float>{3.75f, 6.75f, 1.75f, 3, 4, 1, 2, 2, 1};
    // An empty row resets the previous peak, so the step 3 -> 5 is not recorded.
    QTest::newRow("gap breaks the track")
        << Rows{{0, 0, 0, 1, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 1, 0, 0}}
        << QVector<float>{4, 4, 3, 3, 5, -1, 0, 0, 0};
    // Centroids 2.6 and 3.4 both round to 3: no shift (truncation would see 2 -> 3).
    QTest::newRow("centroids round to nearest")
        << Rows{{0, 0, 0.4f, 0.6f, 0, 0}, {0, 0, 0, 0.6f, 0.4f, 0}} << QVector<float>{3, 5, 0, 2.6f, 3.4f, 0, 0, 0, 0};
    // 2.5 rounds away from zero to 3, so 2.5 -> 3 is no shift either (to even would give 2 -> 3).
    QTest::newRow("2.5 rounds to 3") << Rows{{0, 0, 1, 1, 0, 0}, {0, 0, 0, 1, 0, 0}}
                                     << QVector<float>{8.0f / 3, 8.0f / 3 + 2, 8.0f / 3 - 2, 2.5f, 3, 0, 0, 0, 0};
    // Energy in the first and last column only: nothing inside to weigh, the edge search starts at 0.
    QTest::newRow("edge columns only") << Rows{{1, 0, 0, 0, 1}} << QVector<float>{0, 0, 0, 2, 2, -1, 0, 0, 0};
    // No row with energy: nine zeros, whatever the shape.
    QTest::newRow("all zero") << Rows{{0, 0, 0}, {0, 0, 0}} << QVector<float>(9, 0.0f);
    QTest::newRow("no rows") << Rows{} << QVector<float>(9, 0.0f);
}

void TestFloatMatrix::segmentFeatures()
{
    QFETCH(Rows, region);
    QFETCH(QVector<float>, expected);
    std::vector<float> out{42.0f};
    matrixOf(region).segmentFeatures(out);
    QCOMPARE(int(out.size()), 10);
    QCOMPARE(out[0], 42.0f); // appended, not replaced
    for (int i = 0; i < 9; ++i)
        QVERIFY2(std::abs(out[size_t(i) + 1] - expected[i]) <= 1e-5f,
                 qPrintable(QStringLiteral("feature %1 is %2").arg(i).arg(double(out[size_t(i) + 1]))));
}

QUILLON_TEST(TestFloatMatrix)
#include "tst_floatmatrix.moc"
