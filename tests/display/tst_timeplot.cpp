#include "testregistry.h"

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

} // namespace

class TestTimePlot : public QObject
{
    Q_OBJECT
private slots:
    void items_drawnInOrder();
    void colours_darkAndBackToTheStartUpLook();
    void itemsOffThePlot_goWithIt();
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
    const QString dash = QString::number(Qt::DashLine), solid = QString::number(Qt::SolidLine);
    QCOMPARE(lookOf(plot), QStringList({"#ff000000", "#32ffffff/" + solid, "#ffffffff/" + solid, "#ff000000",
                                        "#78ffffff", "#78ffffff", "#ffffffff/" + dash, "#ffffffff/" + solid}));
    plot.setColours(false);
    QCOMPARE(lookOf(plot), start);
    QCOMPARE(start.first(), QStringLiteral("#fffafafa"));
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

QUILLON_TEST(TestTimePlot)
#include "tst_timeplot.moc"
