#include "testregistry.h"

#include "display/frequencyplot.h"
#include "display/myqwtzoomer10.h"
#include "display/rangemarker.h"

#include <QtTest>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_scaleitem.h>
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

QUILLON_TEST(TestFrequencyPlot)
#include "tst_frequencyplot.moc"
