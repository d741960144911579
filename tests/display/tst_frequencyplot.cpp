#include "testregistry.h"

#include "display/axisplotmode.h"
#include "display/frequencyplot.h"
#include "display/myqwtzoomer10.h"
#include "display/powerspectraldensity.h"
#include "display/rangemarker.h"

#include <QtTest>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_scaleitem.h>
#include <qwt_scale_widget.h>
#include <qwt_series_data.h>

namespace {

struct CountedCurveData : QwtPointSeriesData {
    explicit CountedCurveData(int *deleted)
        : deleted(deleted)
    {
    }
    ~CountedCurveData() override { ++*deleted; }
    int *deleted;
};

} // namespace

class TestFrequencyPlot : public QObject
{
    Q_OBJECT
private slots:
    void items_drawnInOrder();
    void colours_darkAndBack();
    void curveOffThePlot_goesWithIt();
    void curve_fillAndNumbersFollowWhatIsShown();
    void cursorLine_threePixelsInFromTheLevelAxisEnd();
    void clearAndShading();
    void title_oneLineAtTheNarrowestPlot_data();
    void title_oneLineAtTheNarrowestPlot();
};

void TestFrequencyPlot::items_drawnInOrder()
{
    FrequencyPlot plot(false);
    const FrequencyPlot::Items &d = plot.items();
    // Bottom to top: the spectrum, the grid, the bands, the cursor line, the numbers.
    const QwtPlotItemList expected{d.curve, d.grid, d.bands[0], d.bands[1], d.cursorLine, d.scaleItem};
    QCOMPARE(plot.itemList(), expected);
    QCOMPARE(d.curve->orientation(), Qt::Horizontal);
    QVERIFY(!d.cursorLine->isVisible() && !d.grid->xEnabled());
}

void TestFrequencyPlot::colours_darkAndBack()
{
    FrequencyPlot plot(true);
    const FrequencyPlot::Items &d = plot.items();
    plot.setColours(true);
    QCOMPARE(d.canvas->palette().color(QPalette::Window), QColor(Qt::black));
    QCOMPARE(d.grid->majorPen().color(), QColor(255, 255, 255, 50));
    QCOMPARE(d.zoomer->trackerPen().color(), QColor(Qt::white));
    QCOMPARE(d.scaleItem->palette().color(QPalette::Window), QColor(Qt::black));
    QCOMPARE(d.cursorLine->linePen().color(), QColor(Qt::white));
    QCOMPARE(d.bands[1]->colorValue(), QColor(255, 255, 255, 120));
    plot.setColours(false);
    QCOMPARE(d.canvas->palette().color(QPalette::Window), QColor(250, 250, 250));
    QCOMPARE(d.grid->majorPen().color(), QColor(0, 0, 0, 20));
    QCOMPARE(d.zoomer->trackerPen().color(), QColor(Qt::black));
    QCOMPARE(d.scaleItem->palette().color(QPalette::Window), QColor(Qt::green));
    QCOMPARE(d.cursorLine->linePen(), QPen(Qt::darkGray, 0, Qt::DashLine));
    QCOMPARE(d.bands[0]->colorValue(), QColor(0, 0, 0, 30));
}

void TestFrequencyPlot::curveOffThePlot_goesWithIt()
{
    int deleted = 0;
    {
        FrequencyPlot plot(false);
        plot.items().curve->setData(new CountedCurveData(&deleted));
        plot.items().curve->detach();
    }
    QCOMPARE(deleted, 1);
}

void TestFrequencyPlot::curve_fillAndNumbersFollowWhatIsShown()
{
    FrequencyPlot plot(false);
    const FrequencyPlot::Items &d = plot.items();
    const QwtInterval levels(-90, -20);
    plot.showLevels({{-50.0, 10.0}, {-40.0, 20.0}}, levels);
    // Levels run right to left, towards the spectrogram, the numbers standing at the lowest.
    plot.updateAxes();
    QCOMPARE(plot.axisInterval(QwtPlot::xBottom), QwtInterval(-20, -90));
    QCOMPARE(d.curve->baseline(), -90.0);
    QCOMPARE(d.scaleItem->position(), -90.0);
    QCOMPARE(d.curve->brush().style(), Qt::SolidPattern);

    DensityAxis axis;
    axis.left = -40.0;
    axis.right = -110.0;
    plot.showDensity({{-60.0, 10.0}}, axis);
    plot.updateAxes();
    QCOMPARE(plot.axisInterval(QwtPlot::xBottom), QwtInterval(-40, -110));
    QCOMPARE(d.scaleItem->position(), -110.0);
    QCOMPARE(d.curve->brush().style(), Qt::NoBrush);

    plot.prepareCursorLevels();
    QCOMPARE(d.curve->brush().style(), Qt::SolidPattern);
    plot.showCursorLevels({{-50.0, 10.0}}, levels);
    QCOMPARE(d.curve->baseline(), -90.0);
    QCOMPARE(d.scaleItem->position(), -90.0);
    plot.setLevels(QwtInterval(-80, -30));
    plot.updateAxes();
    QCOMPARE(plot.axisInterval(QwtPlot::xBottom), QwtInterval(-30, -80));
    QCOMPARE(d.curve->baseline(), -80.0);
    QCOMPARE(d.scaleItem->position(), -80.0);
}

void TestFrequencyPlot::cursorLine_threePixelsInFromTheLevelAxisEnd()
{
    FrequencyPlot plot(false);
    const QwtPlotMarker *line = plot.items().cursorLine;
    plot.resize(300, 200);
    plot.setAxisScale(QwtPlot::xBottom, -20, -90);
    plot.updateAxes();
    plot.updateLayout();
    const int width = plot.canvas()->width();
    QVERIFY(width > 0);
    plot.showCursorLine(42.0);
    QVERIFY(line->isVisible());
    QCOMPARE(line->value(), QPointF(-20.0 - 70.0 * 3.0 / width, 42.0));
    plot.hideCursor();
    QVERIFY(!line->isVisible());
}

void TestFrequencyPlot::clearAndShading()
{
    FrequencyPlot plot(false);
    const FrequencyPlot::Items &d = plot.items();
    plot.clear();
    QVERIFY(!d.curve->plot() && !d.bands[0]->plot() && !d.bands[1]->plot());
    // Shades set while a recording loads are put back on the plot.
    plot.setShading(QwtInterval(0, 20), QwtInterval(60, 125));
    QCOMPARE(d.bands[0]->plot(), &plot);
    QCOMPARE(d.bands[1]->intervalValue(), QwtInterval(60, 125));
    plot.showShading(false);
    QVERIFY(!d.bands[0]->isVisible() && !d.bands[1]->isVisible());
}

void TestFrequencyPlot::title_oneLineAtTheNarrowestPlot_data()
{
    QTest::addColumn<QString>("title");
    QTest::newRow("density") << AxisPlotTitle::density();
    QTest::newRow("levels") << AxisPlotTitle::level();
}

void TestFrequencyPlot::title_oneLineAtTheNarrowestPlot()
{
    // The level axis's title on one line, as long as it is, whichever the
    // plot shows: a second line would take rows from the canvas.
    QFETCH(QString, title);
    FrequencyPlot plot(false);
    plot.setAxisTitle(QwtPlot::xBottom, title);
    plot.fitCanvasToAxisTitles();
    plot.resize(plot.minimumSizeHint().width(), 300);
    plot.updateLayout();
    const QwtScaleWidget *axis = plot.axisWidget(QwtPlot::xBottom);
    const int length = axis->width() - axis->startBorderDist() - axis->endBorderDist();
    QCOMPARE(axis->titleHeightForWidth(length), axis->titleHeightForWidth(QWIDGETSIZE_MAX));
}

QUILLON_TEST(TestFrequencyPlot)
#include "tst_frequencyplot.moc"
