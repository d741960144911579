#include "testregistry.h"

#include "display/amplitudeenvelope.h"
#include "display/myqwtzoomer2.h"
#include "display/rangemarker.h"
#include "display/timeplot.h"

#include <QtTest>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_scaleitem.h>
#include <qwt_series_data.h>

#include <algorithm>
#include <cmath>

namespace {

// Curve data that counts its own deletion: a curve deletes its data when it goes itself.
struct CountedCurveData : QwtPointSeriesData {
    explicit CountedCurveData(int *deleted)
        : deleted(deleted)
    {
    }
    ~CountedCurveData() override { ++*deleted; }
    int *deleted;
};

// What a theme recolours, as text, so that two looks compare.
QStringList lookOf(const TimePlot &plot)
{
    const TimePlot::Items &d = plot.items();
    const auto pen = [](const QPen &p) { return p.color().name(QColor::HexArgb) + "/" + QString::number(p.style()); };
    return {d.canvas->palette().color(QPalette::Window).name(QColor::HexArgb),
            pen(d.grid->majorPen()),
            pen(d.zoomer->trackerPen()),
            d.scaleItem->palette().color(QPalette::Window).name(QColor::HexArgb),
            d.bands[0]->colorValue().name(QColor::HexArgb),
            d.bands[1]->colorValue().name(QColor::HexArgb),
            pen(d.cursorLine->linePen()),
            pen(d.baseline->linePen())};
}

// Relative luminance of an opaque colour (WCAG 2).
double luminance(const QColor &c)
{
    const auto linear = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

// 1 (alike) to 21 (black on white); a line or a text needs 3 to be read at a glance (WCAG 2).
double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// c painted over the opaque background.
QColor over(const QColor &c, const QColor &background)
{
    const double a = c.alphaF();
    return QColor::fromRgbF(c.redF() * a + background.redF() * (1 - a), c.greenF() * a + background.greenF() * (1 - a),
                            c.blueF() * a + background.blueF() * (1 - a));
}

} // namespace

class TestTimePlot : public QObject
{
    Q_OBJECT
private slots:
    void items_drawnInOrder();
    void colours_darkAndBackToTheStartUpLook();
    void colours_readableOnTheCanvas_data();
    void colours_readableOnTheCanvas();
    void itemsOffThePlot_goWithIt();
    void showEnvelope_rmsAndZeroLineByStep_data();
    void showEnvelope_rmsAndZeroLineByStep();
    void levelCurves_filledDownToTheAxisFoot();
    void cursorLine_hiddenWithOrWithoutTheCurve();
    void spanAndGrid();
};

void TestTimePlot::items_drawnInOrder()
{
    TimePlot plot(true);
    const TimePlot::Items &d = plot.items();
    // Bottom to top: the envelope's extremes under its RMS, the bands over
    // both, the grid and the playback line, the cursor lines, the numbers.
    const QwtPlotItemList expected{d.curves[0], d.curves[1],    d.curves[2],  d.curves[3], d.bands[0], d.bands[1],
                                   d.grid,      d.playbackLine, d.cursorLine, d.baseline,  d.scaleItem};
    QCOMPARE(plot.itemList(), expected);
    QCOMPARE(d.curves[2]->pen().color(), QColor(160, 220, 0));
    QVERIFY(d.grid->xEnabled() && d.grid->yEnabled());
    QVERIFY(d.playbackLine->isVisible() && !d.cursorLine->isVisible() && !d.baseline->isVisible());
    QVERIFY(!TimePlot(false).items().grid->xEnabled());
}

void TestTimePlot::colours_darkAndBackToTheStartUpLook()
{
    TimePlot plot(false);
    const QStringList start = lookOf(plot);
    plot.setColours(true);
    // Each part the theme colours changes with it: none keeps the light look on the dark canvas.
    const QStringList dark = lookOf(plot);
    for (int i = 0; i < start.size(); ++i)
        QVERIFY2(dark.at(i) != start.at(i), qPrintable(start.at(i)));
    plot.setColours(false);
    QCOMPARE(lookOf(plot), start);
}

void TestTimePlot::colours_readableOnTheCanvas_data()
{
    QTest::addColumn<bool>("dark");
    QTest::newRow("light") << false;
    QTest::newRow("dark") << true;
}

void TestTimePlot::colours_readableOnTheCanvas()
{
    QFETCH(bool, dark);
    TimePlot plot(true);
    plot.setColours(dark);
    const TimePlot::Items &d = plot.items();
    const QColor canvas = d.canvas->palette().color(QPalette::Window);
    // What the user reads off the plot: the read-out beside the cursor, the cursor and zero lines, the numbers.
    const QColor read[] = {d.zoomer->trackerPen().color(), d.cursorLine->linePen().color(),
                           d.baseline->linePen().color(), d.scaleItem->palette().color(QPalette::Text)};
    for (const QColor &c : read)
        QVERIFY2(contrast(over(c, canvas), canvas) >= 3.0, qPrintable(c.name(QColor::HexArgb)));
    // The bands and the grid show on the canvas, and the curves show through them.
    for (const QColor &c : {d.bands[0]->colorValue(), d.bands[1]->colorValue(), d.grid->majorPen().color()}) {
        QVERIFY2(c.alpha() < 255, qPrintable(c.name(QColor::HexArgb)));
        QVERIFY2(contrast(over(c, canvas), canvas) >= 1.1, qPrintable(c.name(QColor::HexArgb)));
    }
}

void TestTimePlot::itemsOffThePlot_goWithIt()
{
    int deleted = 0;
    {
        TimePlot plot(false);
        // The display takes the curves off while a recording loads, or when its mode leaves some out.
        for (QwtPlotCurve *curve : plot.items().curves) {
            curve->setData(new CountedCurveData(&deleted));
            curve->detach();
        }
        plot.items().curves[0]->attach(&plot);
    }
    QCOMPARE(deleted, 4);
}

void TestTimePlot::showEnvelope_rmsAndZeroLineByStep_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<bool>("rms");
    QTest::addColumn<bool>("zeroLine");
    QTest::newRow("every sample a point") << 1 << false << true;
    QTest::newRow("blocks of 10: the RMS would blur the extremes") << 10 << false << false;
    QTest::newRow("blocks of 11") << 11 << true << false;
}

void TestTimePlot::showEnvelope_rmsAndZeroLineByStep()
{
    QFETCH(int, step);
    QFETCH(bool, rms);
    QFETCH(bool, zeroLine);
    TimePlot plot(false);
    const TimePlot::Items &d = plot.items();
    EnvelopeCurves curves;
    curves.maxima = {{0.1, 0.5}};
    curves.minima = {{0.1, -0.4}};
    curves.rms = {{0.1, 0.2}};
    curves.rmsNegative = {{0.1, -0.2}};
    plot.clear();
    plot.showEnvelope(curves, step, 0.55);
    QCOMPARE(d.curves[0]->plot(), &plot);
    QCOMPARE(d.curves[1]->sample(0), QPointF(0.1, -0.4));
    QCOMPARE(d.curves[2]->plot() != nullptr, rms);
    QCOMPARE(d.curves[3]->plot() != nullptr, rms);
    QCOMPARE(d.baseline->isVisible(), zeroLine);
    plot.updateAxes();
    QCOMPARE(plot.axisInterval(QwtPlot::yLeft), QwtInterval(-0.55, 0.55));

    plot.clear();
    for (const QwtPlotCurve *curve : d.curves)
        QVERIFY(!curve->plot());
    QVERIFY(!d.baseline->isVisible());
}

void TestTimePlot::levelCurves_filledDownToTheAxisFoot()
{
    TimePlot plot(false);
    const QwtPlotCurve *curve = plot.items().curves[0];
    const QwtInterval levels(-90, -20);
    plot.clear();
    // Until the cursor moves nothing is drawn; what it then draws never lies below -300 dB.
    plot.prepareCursorLevels(levels);
    QVERIFY(!curve->plot());
    QCOMPARE(curve->baseline(), -300.0);
    plot.updateAxes();
    QCOMPARE(plot.axisInterval(QwtPlot::yLeft), levels);
    plot.showCursorLevels({{0.1, -50.0}, {0.2, -40.0}}, levels);
    QCOMPARE(curve->plot(), &plot);
    QCOMPARE(curve->baseline(), -90.0);

    plot.setLevels(QwtInterval(-80, -30));
    QCOMPARE(curve->baseline(), -80.0);
    plot.updateAxes();
    QCOMPARE(plot.axisInterval(QwtPlot::yLeft), QwtInterval(-80, -30));
    plot.showLevels({{0.1, -60.0}}, levels);
    QCOMPARE(curve->baseline(), -90.0);
    QCOMPARE(curve->brush().color(), QColor(122, 184, 0));
}

void TestTimePlot::cursorLine_hiddenWithOrWithoutTheCurve()
{
    TimePlot plot(false);
    const TimePlot::Items &d = plot.items();
    plot.setAxisScale(QwtPlot::yLeft, -1, 1);
    plot.updateAxes();
    plot.showCursorLine(0.3);
    QVERIFY(d.cursorLine->isVisible());
    QCOMPARE(d.cursorLine->value(), QPointF(0.3, 1.0));
    plot.hideCursor(false);
    QVERIFY(!d.cursorLine->isVisible() && d.curves[0]->isVisible());
    plot.showCursorLine(0.4);
    plot.hideCursor(true);
    QVERIFY(!d.cursorLine->isVisible() && !d.curves[0]->isVisible());
}

void TestTimePlot::spanAndGrid()
{
    TimePlot plot(true);
    const TimePlot::Items &d = plot.items();
    plot.setShownSpan(0.5, 1.5);
    plot.updateAxes();
    QCOMPARE(plot.axisInterval(QwtPlot::xTop), QwtInterval(0.5, 1.5));
    QCOMPARE(plot.axisInterval(QwtPlot::xBottom), QwtInterval(0.5, 1.5));
    // Hidden as a whole item, a grid switched on again must show.
    d.grid->hide();
    plot.showGrid(true);
    QVERIFY(d.grid->isVisible() && d.grid->xEnabled() && d.grid->yEnabled());
    plot.showGrid(false);
    QVERIFY(!d.grid->isVisible() && !d.grid->xEnabled() && !d.grid->yEnabled());
}

QUILLON_TEST(TestTimePlot)
#include "tst_timeplot.moc"
