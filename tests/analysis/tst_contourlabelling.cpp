#include "testregistry.h"

#include "analysis/bloblabeler.h"

#include <QTest>

namespace {

// '#' is a foreground cell of value 1, '.' background; digits give that value.
FloatMatrix picture(const QStringList &lines)
{
    FloatMatrix m(size_t(lines.size()), size_t(lines.first().size()));
    for (int r = 0; r < lines.size(); ++r)
        for (int c = 0; c < lines[r].size(); ++c) {
            const QChar ch = lines[r][c];
            m.at(size_t(r), size_t(c)) = ch == '#' ? 1.0f : ch.isDigit() ? float(ch.digitValue()) : 0.0f;
        }
    return m;
}

// label, additions, value sum, indexMin, indexMax, frames, bins
using Expected = QVector<double>;

} // namespace

class TestContourLabelling : public QObject
{
    Q_OBJECT

private slots:
    void label_data();
    void label();
    void extractRegion_data();
    void extractRegion();
    void extractRegion_beyondSinglePrecision();
    void extractRegion_staysInsideMatrix();
};

void TestContourLabelling::label_data()
{
    QTest::addColumn<QStringList>("shape");
    QTest::addColumn<QVector<Expected>>("regions"); // label, count, sum, iMin, iMax, fMin, fMax, bMin, bMax

    QTest::newRow("single cell") << QStringList{".....", "..#..", "....."}
                                 << QVector<Expected>{{1, 1, 1, 7, 7, 1, 1, 2, 2}};
    // Trace: start (1), right (2), below-right (4), below (3), the start again (1).
    QTest::newRow("2x2 block") << QStringList{"....", ".12.", ".34.", "...."}
                               << QVector<Expected>{{1, 5, 11, 5, 10, 1, 2, 1, 2}};
    // Eight contour points, the start again, one interior cell.
    QTest::newRow("3x3 block") << QStringList{".....", ".###.", ".###.", ".###.", "....."}
                               << QVector<Expected>{{1, 10, 10, 6, 18, 1, 3, 1, 3}};
    QTest::newRow("row of five") << QStringList{".......", ".#####.", "......."}
                                 << QVector<Expected>{{1, 9, 9, 8, 12, 1, 1, 1, 5}};
    // The hole is traced from inside as part of the same region.
    QTest::newRow("ring around a hole") << QStringList{".......", ".#####.", ".#...#.", ".#####.", "......."}
                                        << QVector<Expected>{{1, 22, 22, 8, 26, 1, 3, 1, 5}};
    // One outer walk covers both prongs; each one-cell-wide part is passed twice.
    QTest::newRow("U shape") << QStringList{"......", ".#..#.", ".#..#.", ".####.", "......"}
                             << QVector<Expected>{{1, 13, 13, 7, 22, 1, 3, 1, 4}};
    QTest::newRow("two blocks") << QStringList{".......", ".##.##.", ".##.##.", "......."}
                                << QVector<Expected>{{1, 5, 5, 8, 16, 1, 2, 1, 2}, {2, 5, 5, 11, 19, 1, 2, 4, 5}};
    // Labels follow the raster scan: the upper region comes first although it lies to the right.
    QTest::newRow("scan order") << QStringList{"......", "....#.", ".#....", "......"}
                                << QVector<Expected>{{1, 1, 1, 10, 10, 1, 1, 4, 4}, {2, 1, 1, 13, 13, 2, 2, 1, 1}};
    // The border is cleared first: what is left of a full matrix is its inside.
    QTest::newRow("border cleared") << QStringList{"#####", "#####", "#####", "#####"}
                                    << QVector<Expected>{{1, 7, 7, 6, 13, 1, 2, 1, 3}};
    QTest::newRow("two frames only") << QStringList{"#####", "#####"} << QVector<Expected>{};
}

void TestContourLabelling::label()
{
    QFETCH(QStringList, shape);
    QFETCH(QVector<Expected>, regions);
    FloatMatrix m = picture(shape);
    BlobLabeler labeler;
    const std::unordered_map<int, Blob> found = labeler.label(m);
    QCOMPARE(int(found.size()), regions.size());
    for (const Expected &e : regions) {
        QVERIFY(found.count(int(e[0])));
        const Blob &b = found.at(int(e[0]));
        QCOMPARE(b.pixelCount, size_t(e[1]));
        QCOMPARE(double(b.valueSum), e[2]);
        QCOMPARE(QVector<double>({double(b.indexMin), double(b.indexMax), double(b.frameMin), double(b.frameMax),
                                  double(b.binMin), double(b.binMax)}),
                 e.mid(3));
    }
    for (size_t c = 0; c < m.cols; ++c)
        QVERIFY(m.at(0, c) == 0.0f && m.at(m.rows - 1, c) == 0.0f);
    for (size_t r = 0; r < m.rows; ++r)
        QVERIFY(m.at(r, 0) == 0.0f && m.at(r, m.cols - 1) == 0.0f);
}

void TestContourLabelling::extractRegion_data()
{
    QTest::addColumn<QStringList>("shape");
    QTest::addColumn<int>("label");
    QTest::addColumn<QStringList>("expected");
    // indexMin 8, indexMax 16: ceil(8 / 7) + 1 = 3 frames from cell 7; the other region stays out.
    QTest::newRow("left of two") << QStringList{".......", ".12.56.", ".34.78.", "......."} << 1
                                 << QStringList{".12....", ".34....", "......."};
    // The last cell's bin lies left of the first cell's: exactly the region's frames.
    QTest::newRow("leaning left") << QStringList{".....", "...#.", "..#..", "....."} << 1
                                  << QStringList{"...#.", "..#.."};
}

void TestContourLabelling::extractRegion()
{
    QFETCH(QStringList, shape);
    QFETCH(int, label);
    QFETCH(QStringList, expected);
    FloatMatrix m = picture(shape);
    BlobLabeler labeler;
    const auto found = labeler.label(m);
    FloatMatrix out;
    labeler.extractRegion(m, *found.find(label), out);
    const FloatMatrix want = picture(expected);
    QCOMPARE(out.rows, want.rows);
    QCOMPARE(out.cols, want.cols);
    QCOMPARE(out.data, want.data);
}

void TestContourLabelling::extractRegion_beyondSinglePrecision()
{
    // Frame 65,795 of 255 bins starts at cell 16,777,725, which a float cannot hold:
    // a start computed in single precision lands on a neighbouring cell.
    const size_t cols = 255;
    const size_t firstFrame = 65795;
    FloatMatrix m(firstFrame + 5, cols);
    for (size_t f = 0; f < 3; ++f)
        for (size_t c = 0; c < 3; ++c)
            m.at(firstFrame + f, 100 + c) = float(1 + f * 3 + c);
    m.at(1, 1) = 1e-5f; // 9.99999975e-6 as a float: below 1e-5 in double, so no region
    BlobLabeler labeler;
    const auto found = labeler.label(m);
    QCOMPARE(found.size(), size_t(1));
    QCOMPARE(found.begin()->second.indexMin, firstFrame * cols + 100);
    FloatMatrix out;
    labeler.extractRegion(m, *found.begin(), out);
    QCOMPARE(out.rows, size_t(4)); // three frames, the last cell's bin right of the first's
    FloatMatrix want(4, cols);
    for (size_t f = 0; f < 3; ++f)
        for (size_t c = 0; c < 3; ++c)
            want.at(f, 100 + c) = float(1 + f * 3 + c);
    QVERIFY(out.data == want.data);
}

void TestContourLabelling::extractRegion_staysInsideMatrix()
{
    FloatMatrix m = picture({"....", ".##.", ".##.", "...."});
    BlobLabeler labeler;
    QCOMPARE(labeler.label(m).size(), size_t(1));
    // A region record from elsewhere whose frames reach past this matrix.
    Blob stray;
    stray.addPixel(13, 1, 3, 1.0f);
    stray.addPixel(14, 2, 3, 1.0f);
    FloatMatrix out;
    labeler.extractRegion(m, std::pair<const int, Blob>(1, stray), out);
    QCOMPARE(out.data, FloatMatrix::Cells(8, 0.0f)); // frame 3 is background, frame 4 does not exist
    labeler.extractRegion(m, std::pair<const int, Blob>(1, Blob()), out);
    QCOMPARE(out.rows, size_t(0));
}

QUILLON_TEST(TestContourLabelling)
#include "tst_contourlabelling.moc"
