#include "testregistry.h"

#include "activity/validhourscurve.h"

#include <QImage>
#include <QPainter>
#include <QtTest>
#include <qwt_scale_map.h>

namespace {

QwtScaleMap map(double s1, double s2, double p1, double p2)
{
    QwtScaleMap m;
    m.setScaleInterval(s1, s2);
    m.setPaintInterval(p1, p2);
    return m;
}

// Bars as the days chart lays them out: up at 06:00, down at 18:00, one per day, some days without hours.
QVector<QPointF> dailyBars(int days, double zero)
{
    QVector<QPointF> samples{{-0.25, zero}};
    for (int d = 0; d < days; ++d) {
        samples << QPointF(d + 0.25, d % 4 == 3 ? zero : 1 + (d * 7) % 11);
        samples << QPointF(d + 0.75, zero);
    }
    return samples;
}

QImage drawn(QwtPlotCurve &curve, const QVector<QPointF> &samples, double yFrom, int days)
{
    curve.setSamples(samples);
    curve.setStyle(QwtPlotCurve::Steps);
    curve.setBrush(QBrush(Qt::black));
    curve.setPen(QPen(Qt::NoPen));
    curve.setBaseline(0.0);
    QImage image(4 * days + 8, 120, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    curve.draw(&painter, map(-1, days + 1, 0, image.width()), map(yFrom, 12, 110, 0), QRectF(image.rect()));
    return image;
}

} // namespace

class TestValidHoursCurve : public QObject
{
    Q_OBJECT
private slots:
    void fillsWhatTheWholePolygonFills_data();
    void fillsWhatTheWholePolygonFills();
};

void TestValidHoursCurve::fillsWhatTheWholePolygonFills_data()
{
    QTest::addColumn<int>("days");
    QTest::addColumn<double>("zero");
    QTest::addColumn<double>("yFrom");
    QTest::newRow("bars down to the baseline") << 60 << 0.0 << 0.0;
    QTest::newRow("baseline below the axis") << 60 << 0.0 << 2.0;
    QTest::newRow("zero standing in above the baseline") << 60 << 0.01 << -1.0;
}

void TestValidHoursCurve::fillsWhatTheWholePolygonFills()
{
    QFETCH(int, days);
    QFETCH(double, zero);
    QFETCH(double, yFrom);
    // The plain curve fills the polygon at once: the reference, pixel for pixel.
    QwtPlotCurve whole(QStringLiteral("Valid Hours"));
    ValidHoursCurve bars(QStringLiteral("Valid Hours"));
    const QImage expected = drawn(whole, dailyBars(days, zero), yFrom, days);
    const QImage image = drawn(bars, dailyBars(days, zero), yFrom, days);
    // The reference is filled at all: half an hour up, the bars cross the image.
    const int row = qRound(map(yFrom, 12, 110, 0).transform(qMax(yFrom, 0.0) + 0.5));
    int filled = 0;
    for (int x = 0; x < expected.width(); ++x)
        filled += expected.pixel(x, row) != qRgb(255, 255, 255);
    QVERIFY(filled > days);
    QCOMPARE(image, expected);
}

QUILLON_TEST(TestValidHoursCurve)
#include "tst_validhourscurve.moc"
