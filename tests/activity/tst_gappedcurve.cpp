#include "testregistry.h"

#include "activity/qwtplotgappedcurve.h"

#include <QImage>
#include <QPainter>
#include <QtTest>
#include <cmath>
#include <qwt_scale_map.h>

namespace {

// Records the sample ranges that the base class's drawing hands on to its curve
// drawing: one call per run.
class RunRecorder : public QwtPlotGappedCurve
{
public:
    using QwtPlotGappedCurve::QwtPlotGappedCurve;
    mutable QStringList runs;

protected:
    void drawCurve(QPainter *, int, const QwtScaleMap &, const QwtScaleMap &, const QRectF &, int from,
                   int to) const override
    {
        runs << QStringLiteral("%1-%2").arg(from).arg(to);
    }
};

QwtScaleMap map(double s1, double s2, double p1, double p2)
{
    QwtScaleMap m;
    m.setScaleInterval(s1, s2);
    m.setPaintInterval(p1, p2);
    return m;
}

} // namespace

class TestGappedCurve : public QObject
{
    Q_OBJECT
private slots:
    void runs_data();
    void runs();
    void noLineAcrossAGap();
};

void TestGappedCurve::runs_data()
{
    QTest::addColumn<QVector<double>>("ys");
    QTest::addColumn<double>("gap");
    QTest::addColumn<QString>("expected");
    const double nan = std::nan("");
    QTest::newRow("two runs") << QVector<double>{1, 2, -1, -1, 3, 4} << -1.0 << "0-1 4-5";
    QTest::newRow("leading and trailing gaps") << QVector<double>{-1, -1, 5, 6, -1} << -1.0 << "2-3";
    QTest::newRow("all gaps") << QVector<double>{-1, -1, -1} << -1.0 << "";
    QTest::newRow("isolated sample") << QVector<double>{-1, 5, -1, 6, 7} << -1.0 << "1-1 3-4";
    QTest::newRow("isolated last sample") << QVector<double>{1, 1, -1, 5} << -1.0 << "0-1 3-3";
    QTest::newRow("single sample") << QVector<double>{5} << -1.0 << "";
    QTest::newRow("NaN is no gap") << QVector<double>{1, nan, -1, 2, 3} << -1.0 << "0-1 3-4";
    QTest::newRow("gap value 0 leaves zeros out") << QVector<double>{0, 1, 0, 2, 2} << 0.0 << "1-1 3-4";
    QTest::newRow("gap value -1 draws zeros") << QVector<double>{0, 1, 0, 2, 2} << -1.0 << "0-4";
}

void TestGappedCurve::runs()
{
    QFETCH(QVector<double>, ys);
    QFETCH(double, gap);
    QFETCH(QString, expected);
    QVector<QPointF> samples;
    for (int i = 0; i < ys.size(); ++i)
        samples << QPointF(i, ys.at(i));
    RunRecorder curve(QStringLiteral("Sunrise"), gap);
    curve.setSamples(samples);
    QImage image(100, 100, QImage::Format_RGB32);
    QPainter painter(&image);
    curve.drawSeries(&painter, map(0, 10, 0, 100), map(-2, 10, 100, 0), QRectF(0, 0, 100, 100), 0, -1);
    QCOMPARE(curve.runs.join(' '), expected);
}

void TestGappedCurve::noLineAcrossAGap()
{
    // Samples at x = 0 .. 4 (pixels 0 .. 400), the one at x = 2 a gap.
    QwtPlotGappedCurve curve(QStringLiteral("Sunset"), -1);
    curve.setSamples(QVector<QPointF>{{0, 1}, {1, 1}, {2, -1}, {3, 1}, {4, 1}});
    curve.setPen(Qt::black, 1);
    QImage image(401, 201, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    curve.draw(&painter, map(0, 4, 0, 400), map(-2, 2, 200, 0), QRectF(0, 0, 401, 201));
    painter.end();

    const auto inkIn = [&](int x1, int x2) {
        int ink = 0;
        for (int x = x1; x <= x2; ++x)
            for (int y = 0; y < image.height(); ++y)
                ink += image.pixel(x, y) != qRgb(255, 255, 255);
        return ink;
    };
    QCOMPARE(inkIn(102, 298), 0);
    // The runs themselves are drawn: a line at y = 1 (row 50) on either side.
    QVERIFY(inkIn(10, 90) >= 81);
    QVERIFY(inkIn(310, 390) >= 81);
    QCOMPARE(image.pixel(50, 50), qRgb(0, 0, 0));
}

QUILLON_TEST(TestGappedCurve)
#include "tst_gappedcurve.moc"
