#include "testregistry.h"

#include "display/myrectcallsmarker.h"
#include "display/myrectrangemarker.h"
#include "display/rangemarker.h"

#include <QImage>
#include <QPainter>
#include <QtTest>
#include <qwt_plot.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_layout.h>
#include <qwt_plot_renderer.h>
#include <qwt_scale_map.h>

// The items are drawn through a whole plot rendered into an image. The plot
// has no axes, frame or margins, so its canvas covers the image exactly: an
// x value v of [xMin, xMax] lands at column W * (v - xMin) / (xMax - xMin)
// and a y value at row H - H * (v - yMin) / (yMax - yMin).
class TestPlotItems : public QObject
{
    Q_OBJECT
private slots:
    void rangeMarker_bandWhereIntervalMaps_data();
    void rangeMarker_bandWhereIntervalMaps();
    void rangeMarker_emptyIntervalLeavesPlotUnshaded();
    void rectRangeMarker_boxWhereIntervalsMap();
    void rectRangeMarker_durationText_data();
    void rectRangeMarker_durationText();
    void rectRangeMarker_textsFollowRoundedPixels();
    void rectCallsMarker_text_data();
    void rectCallsMarker_text();
    void rectCallsMarker_boxAndPanel();
    void cleanup() { QLocale::setDefault(QLocale::c()); }
};

namespace {

const int W = 400;
const int H = 200;

struct BarePlot {
    QwtPlot plot;
    explicit BarePlot(const QColor &background = Qt::white)
    {
        for (int axis = 0; axis < QwtPlot::axisCnt; ++axis)
            plot.enableAxis(axis, false);
        plot.setAxisScale(QwtPlot::xBottom, 0, 10);
        plot.setAxisScale(QwtPlot::yLeft, 0, 100);
        plot.setContentsMargins(0, 0, 0, 0);
        plot.plotLayout()->setCanvasMargin(0);
        auto *canvas = qobject_cast<QwtPlotCanvas *>(plot.canvas());
        canvas->setFrameStyle(QFrame::NoFrame);
        plot.setCanvasBackground(background);
        plot.resize(W, H);
    }
    QImage render()
    {
        plot.replot();
        QImage image(W, H, QImage::Format_ARGB32);
        image.fill(Qt::gray);
        QPainter painter(&image);
        QwtPlotRenderer renderer;
        renderer.setDiscardFlags(QwtPlotRenderer::DiscardBackground | QwtPlotRenderer::DiscardTitle
                                 | QwtPlotRenderer::DiscardLegend | QwtPlotRenderer::DiscardCanvasFrame
                                 | QwtPlotRenderer::DiscardFooter);
        renderer.render(&plot, &painter, QRectF(0, 0, W, H));
        return image;
    }
};

int columnOf(double seconds)
{
    return qRound(W * seconds / 10.0);
}
int rowOf(double kHz)
{
    return qRound(H - H * kHz / 100.0);
}

QColor pixel(const QImage &image, int x, int y)
{
    return QColor(image.pixel(x, y));
}

int countPixels(const QImage &image, const QRect &area, const std::function<bool(QColor)> &match)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (match(pixel(image, x, y)))
                ++n;
    return n;
}

} // namespace

void TestPlotItems::rangeMarker_bandWhereIntervalMaps_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QColor>("shade");
    const QColor blue(Qt::blue);
    // The axis plots' bands: black at alpha 30 darkens white to 255 - 30 = 225.
    const QColor translucent(0, 0, 0, 30), grey(225, 225, 225);
    QTest::newRow("time band 2 s to 4 s") << 0 << 2.0 << 4.0 << blue << blue;
    QTest::newRow("time band from the start") << 0 << 0.0 << 1.5 << blue << blue;
    QTest::newRow("translucent time band") << 0 << 6.0 << 8.0 << translucent << grey;
    QTest::newRow("frequency band 20 to 60 kHz") << 1 << 20.0 << 60.0 << blue << blue;
    QTest::newRow("frequency band up to the top") << 1 << 75.0 << 100.0 << translucent << grey;
}

void TestPlotItems::rangeMarker_bandWhereIntervalMaps()
{
    QFETCH(int, orientation);
    QFETCH(double, from);
    QFETCH(double, to);
    QFETCH(QColor, colour);
    QFETCH(QColor, shade);
    BarePlot p;
    auto *band = new RangeMarker(orientation);
    band->setColor(colour);
    band->setInterval(QwtInterval(from, to));
    band->attach(&p.plot);
    const QImage image = p.render();
    const QColor white(Qt::white);
    const QColor blue = shade;

    if (orientation == 0) {
        const int x1 = columnOf(from), x2 = columnOf(to);
        // Across the full height, inside the band; background a few pixels outside it.
        for (int y : {0, H / 2, H - 1}) {
            QCOMPARE(pixel(image, x1 + 2, y), blue);
            QCOMPARE(pixel(image, x2 - 3, y), blue);
            if (x1 >= 3)
                QCOMPARE(pixel(image, x1 - 3, y), white);
            QCOMPARE(pixel(image, x2 + 2, y), white);
        }
    } else {
        const int yTop = rowOf(to), yBottom = rowOf(from);
        for (int x : {0, W / 2, W - 1}) {
            QCOMPARE(pixel(image, x, yTop + 2), blue);
            QCOMPARE(pixel(image, x, yBottom - 3), blue);
            if (yTop >= 3)
                QCOMPARE(pixel(image, x, yTop - 3), white);
            QCOMPARE(pixel(image, x, yBottom + 2), white);
        }
    }
}

void TestPlotItems::rangeMarker_emptyIntervalLeavesPlotUnshaded()
{
    BarePlot p;
    for (int orientation : {0, 1}) {
        auto *band = new RangeMarker(orientation);
        band->setColor(Qt::blue);
        band->setInterval(QwtInterval(5, 5));
        band->attach(&p.plot);
    }
    const QImage image = p.render();
    QCOMPARE(countPixels(image, image.rect(), [](QColor c) { return c != QColor(Qt::white); }), 0);
}

void TestPlotItems::rectRangeMarker_boxWhereIntervalsMap()
{
    BarePlot p(Qt::black);
    auto *rect = new MyRectRangeMarker;
    // 3 s to 7 s, upper 80 kHz first, lower 30 kHz second.
    rect->setIntervals(QwtInterval(3, 7), QwtInterval(80, 30));
    rect->attach(&p.plot);
    const QImage image = p.render();
    auto isRed = [](QColor c) { return c.red() > 150 && c.green() < 80 && c.blue() < 80; };

    const int x1 = columnOf(3), x2 = columnOf(7), yUpper = rowOf(80), yLower = rowOf(30);
    const int sideLength = yLower - yUpper;
    // Dashed lines of width 2: a good share of each side's pixels is red.
    QVERIFY(countPixels(image, QRect(x1 - 1, yUpper, 3, sideLength), isRed) > sideLength / 2);
    QVERIFY(countPixels(image, QRect(x2 - 1, yUpper, 3, sideLength), isRed) > sideLength / 2);
    QVERIFY(countPixels(image, QRect(x1, yUpper - 1, x2 - x1, 3), isRed) > (x2 - x1) / 2);
    QVERIFY(countPixels(image, QRect(x1, yLower - 1, x2 - x1, 3), isRed) > (x2 - x1) / 2);
    // Inside the box stays clear; the duration label sits under it.
    QCOMPARE(countPixels(image, QRect(x1 + 5, yUpper + 5, x2 - x1 - 10, sideLength - 10), isRed), 0);
    QVERIFY(countPixels(image, QRect(x1, yLower + 5, x2 - x1, 20), isRed) > 0);
    // Start label ends just above and left of the upper-left corner, the end
    // label starts just below and right of the lower-right one, the bandwidth
    // stands right of the box at half height.
    QVERIFY(countPixels(image, QRect(x1 - 100, yUpper - 30, 95, 25), isRed) > 0);
    QVERIFY(countPixels(image, QRect(x2 + 5, yLower + 5, 100, 35), isRed) > 0);
    QVERIFY(countPixels(image, QRect(x2 + 5, (yUpper + yLower) / 2 - 10, 100, 20), isRed) > 0);
    // Nothing in the other two corners' neighbourhoods.
    QCOMPARE(countPixels(image, QRect(x1 - 100, yLower + 5, 95, 35), isRed), 0);
    QCOMPARE(countPixels(image, QRect(x2 + 5, yUpper - 30, 100, 25), isRed), 0);
}

void TestPlotItems::rectRangeMarker_durationText_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("expected");
    QTest::newRow("quarter second in ms") << 0.25 << "C"
                                          << "250 ms";
    QTest::newRow("ms rounded to whole") << 0.0126 << "C"
                                         << "13 ms";
    QTest::newRow("one and a half seconds") << 1.5 << "C"
                                            << "1.500 s";
    QTest::newRow("exactly one second") << 1.0 << "C"
                                        << "1.000 s";
    QTest::newRow("German separator") << 1.5 << "de_DE"
                                      << "1,500 s";
}

void TestPlotItems::rectRangeMarker_durationText()
{
    QFETCH(double, seconds);
    QFETCH(QString, locale);
    QFETCH(QString, expected);
    QCOMPARE(MyRectRangeMarker::durationText(seconds, QLocale(locale)), expected);
}

void TestPlotItems::rectRangeMarker_textsFollowRoundedPixels()
{
    // 1000 pixels per second and 10 pixels per kHz (upwards).
    QwtScaleMap xMap;
    xMap.setPaintInterval(0, 1000);
    xMap.setScaleInterval(0, 1);
    QwtScaleMap yMap;
    yMap.setPaintInterval(1000, 0);
    yMap.setScaleInterval(0, 100);
    // 0.1004 s lands on pixel 100 and 1.1006 s on pixel 1101: the box shows
    // 0.100 s to 1.101 s, which is 1.001 s, not the unrounded 1.0002 s.
    const auto t =
        MyRectRangeMarker::texts(QwtInterval(0.1004, 1.1006), QwtInterval(60.04, 20.06), xMap, yMap, QLocale::c());
    QCOMPARE(t.duration, QStringLiteral("1.001 s"));
    // 60.04 kHz -> row 399.6 -> 400 -> 60.0 kHz; 20.06 -> row 799.4 -> 799 -> 20.1 kHz.
    QCOMPARE(t.bandwidth, QStringLiteral("39.900 kHz"));
    QCOMPARE(t.start, QStringLiteral("0.100 s\n60.000 kHz"));
    QCOMPARE(t.end, QStringLiteral("1.101 s\n20.100 kHz"));
}

void TestPlotItems::rectCallsMarker_text_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    QTest::addColumn<double>("duration");
    QTest::addColumn<QString>("expected");
    QTest::newRow("4.6 ms rounds to 5 ms")
        << 45.1234 << 38.5 << 0.0046 << " Start Frequency: 45.123 kHz \n End Frequency: 38.500 kHz \n Duration: 5 ms";
    QTest::newRow("4.4 ms rounds to 4 ms")
        << 110.0 << 105.9996 << 0.0044
        << " Start Frequency: 110.000 kHz \n End Frequency: 106.000 kHz \n Duration: 4 ms";
}

void TestPlotItems::rectCallsMarker_text()
{
    QFETCH(double, start);
    QFETCH(double, end);
    QFETCH(double, duration);
    QFETCH(QString, expected);
    MyBatCall call;
    call.startFreq = start;
    call.endFreq = end;
    call.duration = duration;
    // The panel keeps '.' whatever the locale.
    QLocale::setDefault(QLocale(QLocale::German));
    QCOMPARE(MyRectCallsMarker::callText(call), expected);
}

void TestPlotItems::rectCallsMarker_boxAndPanel()
{
    BarePlot p(Qt::black);
    auto *box = new MyRectCallsMarker;
    MyBatCall call;
    call.rect = QRectF(3, 30, 2, 20); // 3 s to 5 s, 30 kHz up to 50 kHz
    call.startFreq = 50;
    call.endFreq = 30;
    call.duration = 2;
    box->setCall(call);
    box->attach(&p.plot);
    const QImage image = p.render();
    auto isWhite = [](QColor c) { return c.red() > 230 && c.green() > 230 && c.blue() > 230; };
    // The white panel at alpha 200 over black gives 200 grey; text on it is black.
    auto isPanel = [](QColor c) { return qAbs(c.red() - 200) < 8 && c.red() == c.green() && c.green() == c.blue(); };

    const int x1 = columnOf(3), x2 = columnOf(5), yUpper = rowOf(50), yLower = rowOf(30);
    const int sideLength = yLower - yUpper;
    // Dashed white lines of width 1 on all four sides.
    QVERIFY(countPixels(image, QRect(x1 - 1, yUpper, 3, sideLength), isWhite) > sideLength / 2);
    QVERIFY(countPixels(image, QRect(x2 - 1, yUpper, 3, sideLength), isWhite) > sideLength / 2);
    QVERIFY(countPixels(image, QRect(x1, yUpper - 1, x2 - x1, 3), isWhite) > (x2 - x1) / 2);
    QVERIFY(countPixels(image, QRect(x1, yLower - 1, x2 - x1, 3), isWhite) > (x2 - x1) / 2);
    QCOMPARE(countPixels(image, QRect(x1 + 3, yUpper + 3, x2 - x1 - 6, sideLength - 6), isWhite), 0);

    // The panel starts 10 pixels below the canvas top, centred over the call.
    QCOMPARE(countPixels(image, QRect(0, 0, W, 10), isPanel), 0);
    int left = W, right = -1;
    for (int x = 0; x < W; ++x) {
        if (isPanel(pixel(image, x, 10))) {
            left = qMin(left, x);
            right = qMax(right, x);
        }
    }
    QVERIFY(right > left);
    QVERIFY2(qAbs((left + right) / 2 - (x1 + x2) / 2) <= 2, qPrintable(QStringLiteral("%1..%2").arg(left).arg(right)));
}

QUILLON_TEST(TestPlotItems)
#include "tst_plotitems.moc"
