#include "testregistry.h"

#include "display/colourscheme.h"
#include "display/myqwtplotpicker.h"
#include "display/myqwtzoomer.h"
#include "display/myrectcallsmarker.h"
#include "display/myrectrangemarker.h"
#include "display/spectrogramplot.h"

#include <QtTest>
#include <qwt_color_map.h>
#include <qwt_matrix_raster_data.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_picker.h>
#include <qwt_plot_scaleitem.h>
#include <qwt_plot_spectrogram.h>
#include <qwt_plot_textlabel.h>
#include <qwt_scale_widget.h>

#include <memory>

namespace {

// Raster data that counts its own deletion: the raster deletes its data when it goes itself.
struct CountedRaster : QwtMatrixRasterData {
    explicit CountedRaster(int *deleted)
        : deleted(deleted)
    {
    }
    ~CountedRaster() override { ++*deleted; }
    int *deleted;
};

// The labels of the calls, in the order they were written.
QList<const QwtPlotMarker *> callLabels(const QwtPlot &plot)
{
    QList<const QwtPlotMarker *> labels;
    for (const QwtPlotItem *item : plot.itemList()) {
        if (item->title().text() == QLatin1String("Blob"))
            labels.append(dynamic_cast<const QwtPlotMarker *>(item));
    }
    return labels;
}

int itemsTitled(const QwtPlot &plot, const QString &title)
{
    int n = 0;
    for (const QwtPlotItem *item : plot.itemList())
        n += item->title().text() == title ? 1 : 0;
    return n;
}

} // namespace

class TestSpectrogramPlot : public QObject
{
    Q_OBJECT
private slots:
    void items_drawnInOrder();
    void rasterOffThePlot_goesWithIt();
    void categorization_labelsInTheMapsTextColour();
    void reply_levelsRangeAndEmptyState();
    void clear_dropsWhatBelongedToTheLastRecording();
    void frequencyMarkers_limitedToTheAxis();
    void raster_underTwoPixelsNotDrawn();
};

void TestSpectrogramPlot::items_drawnInOrder()
{
    SpectrogramPlot plot(false, QwtInterval(-100, -33));
    const SpectrogramPlot::Items &d = plot.items();
    // Bottom to top: the raster, the grid, the markers and the playback
    // line, the measurement and the call's box, the numbers. The verdict
    // label waits off the plot.
    const QwtPlotItemList expected{d.raster,
                                   d.grid,
                                   d.frequencyMarkers[0],
                                   d.frequencyMarkers[1],
                                   d.frequencyMarkers[2],
                                   d.playbackLine,
                                   d.measurement,
                                   d.callBox,
                                   d.scaleItem};
    QCOMPARE(plot.itemList(), expected);
    QVERIFY(!d.verdictLabel->plot());
    for (const QwtPlotItem *hidden : {static_cast<QwtPlotItem *>(d.measurement), static_cast<QwtPlotItem *>(d.callBox),
                                      static_cast<QwtPlotItem *>(d.frequencyMarkers[1])})
        QVERIFY(!hidden->isVisible());
    QCOMPARE(d.colourBar, plot.axisWidget(QwtPlot::yRight));
    QCOMPARE(d.colourBar->colorBarInterval(), QwtInterval(-100, -33));
    QCOMPARE(d.raster->data(), static_cast<QwtRasterData *>(d.data));
    // The handles start disabled; the mouse over the canvas enables one at a time.
    for (const QwtPlotPicker *handle : {d.leftEdgePicker, d.rightEdgePicker, d.topEdgePicker, d.bottomEdgePicker,
                                        d.markerPickers[0], d.markerPickers[1], d.markerPickers[2]})
        QVERIFY(!handle->isEnabled());
    QVERIFY(d.zoomer->isEnabled() && d.tracker->isEnabled() && d.selectionPicker->isEnabled());
}

void TestSpectrogramPlot::rasterOffThePlot_goesWithIt()
{
    int deleted = 0;
    {
        SpectrogramPlot plot(false, QwtInterval(-100, -33));
        // An empty raster stays off its plot: Qwt 6.1 cannot render one.
        plot.items().raster->setData(new CountedRaster(&deleted));
        plot.items().raster->detach();
    }
    QCOMPARE(deleted, 1);
}

void TestSpectrogramPlot::categorization_labelsInTheMapsTextColour()
{
    SpectrogramPlot plot(false, QwtInterval(-100, -33));
    QVERIFY(!plot.isCategorized());
    plot.addCallLabel(QStringLiteral("Pip"), QPointF(0.5, 40), true);
    // Black-White draws quiet levels white: the labels turn black, the one written before and the one after.
    QVERIFY(plot.setColourMap(ColorMapBlackWhite, QwtInterval(-100, -33)));
    plot.addCallLabel(QStringLiteral("Nyc"), QPointF(0.7, 25), false);
    plot.setCategorized(true);
    plot.setCategorized(true);
    plot.showVerdict(QStringLiteral("Nyc"));

    QVERIFY(plot.isCategorized());
    QCOMPARE(itemsTitled(plot, QStringLiteral("categorizeMarker")), 1);
    const QList<const QwtPlotMarker *> labels = callLabels(plot);
    QCOMPARE(labels.size(), 2);
    QCOMPARE(labels[1]->label().text(), QStringLiteral("Nyc"));
    QCOMPARE(labels[1]->value(), QPointF(0.7, 25));
    for (const QwtPlotMarker *label : labels)
        QCOMPARE(label->label().color(), QColor(Qt::black));
    QVERIFY(labels[0]->isVisible() && !labels[1]->isVisible());
    const QwtPlotTextLabel *verdict = plot.items().verdictLabel;
    QCOMPARE(verdict->plot(), &plot);
    QCOMPARE(verdict->text().text(), QStringLiteral(" Nyc "));

    plot.showCategorization(false);
    QVERIFY(!verdict->isVisible() && !labels[0]->isVisible());
    plot.showCategorization(true);
    QVERIFY(verdict->isVisible() && labels[1]->isVisible());

    plot.removeCallLabels();
    plot.setCategorized(false);
    QVERIFY(callLabels(plot).isEmpty());
    QVERIFY(!plot.isCategorized());
}

void TestSpectrogramPlot::reply_levelsRangeAndEmptyState()
{
    SpectrogramPlot plot(false, QwtInterval(-100, -33));
    const SpectrogramPlot::Items &d = plot.items();
    plot.clear();
    QVERIFY(!d.raster->plot());
    // Three columns of two bins over half a second up to 125 kHz.
    plot.setRaster({-50, -40, -30, -60, -70, -80}, 3, 0.5, 125.0);
    QVERIFY(!d.raster->plot());
    QCOMPARE(plot.rasterData().numColumns(), 3);
    QCOMPARE(plot.rasterData().numRows(), 2);
    QCOMPARE(plot.rasterData().interval(Qt::XAxis), QwtInterval(0.0, 0.5));
    QCOMPARE(plot.rasterData().interval(Qt::YAxis), QwtInterval(0.0, 125.0));
    plot.setAxisScale(QwtPlot::xBottom, 0.0, 0.25);
    plot.setAxisScale(QwtPlot::yLeft, 0.0, 125.0);
    plot.showRaster();
    QCOMPARE(d.raster->plot(), &plot);
    QCOMPARE(d.zoomer->zoomBase().right(), 0.25);

    plot.setLevelRange(ColorMapBlackWhite, QwtInterval(-90, -20));
    plot.updateAxes();
    QCOMPARE(plot.levelRange(), QwtInterval(-90, -20));
    QCOMPARE(plot.axisInterval(QwtPlot::yRight), QwtInterval(-90, -20));
    QCOMPARE(d.colourBar->colorBarInterval(), QwtInterval(-90, -20));
    // The raster and the bar both draw the chosen map over the range.
    const std::unique_ptr<QwtColorMap> blackWhite(colorMapFor(ColorMapBlackWhite));
    for (const QwtColorMap *map : {d.raster->colorMap(), d.colourBar->colorMap()})
        QCOMPARE(map->rgb(QwtInterval(-90, -20), -85), blackWhite->rgb(QwtInterval(-90, -20), -85));

    plot.showEmpty(true);
    plot.updateAxes();
    QVERIFY(!d.raster->plot());
    QCOMPARE(plot.rasterData().interval(Qt::XAxis), QwtInterval(0.0, 0.1));
    QCOMPARE(plot.axisInterval(QwtPlot::yLeft), QwtInterval(0.0, 100000.0));
    QCOMPARE(plot.axisInterval(QwtPlot::xBottom), QwtInterval(0.0, 1.0));
}

void TestSpectrogramPlot::clear_dropsWhatBelongedToTheLastRecording()
{
    SpectrogramPlot plot(false, QwtInterval(-100, -33));
    const SpectrogramPlot::Items &d = plot.items();
    plot.setRaster(QVector<double>(4, -50.0), 2, 1.0, 125.0);
    plot.setAxisScale(QwtPlot::xBottom, 0.0, 1.0);
    plot.setAxisScale(QwtPlot::yLeft, 0.0, 125.0);
    plot.showRaster();
    d.zoomer->zoom(QRectF(0.2, 20.0, 0.3, 40.0));
    QVERIFY(plot.isZoomed());
    plot.addCallLabel(QStringLiteral("Pip"), QPointF(0.5, 40), true);
    plot.showVerdict(QStringLiteral("Pip"));
    d.measurement->show();
    d.callBox->show();

    plot.clear();
    QVERIFY(!plot.isZoomed());
    QCOMPARE(itemsTitled(plot, QStringLiteral("Blob")), 0);
    QVERIFY(!d.verdictLabel->plot() && !d.raster->plot());
    QVERIFY(!d.measurement->isVisible() && !d.callBox->isVisible());
    QCOMPARE(plot.rasterData().numColumns(), 0);
}

void TestSpectrogramPlot::frequencyMarkers_limitedToTheAxis()
{
    SpectrogramPlot plot(false, QwtInterval(-100, -33));
    const SpectrogramPlot::Items &d = plot.items();
    plot.setFrequencyMarker(0, 20.0);
    plot.setFrequencyMarker(1, 125.0);
    plot.setFrequencyMarker(2, 130.0);
    plot.limitFrequencyMarkers(125.0);
    QCOMPARE(d.frequencyMarkers[0]->yValue(), 20.0);
    QCOMPARE(d.frequencyMarkers[1]->yValue(), 125.0);
    QCOMPARE(d.frequencyMarkers[2]->yValue(), 125.0);
}

void TestSpectrogramPlot::raster_underTwoPixelsNotDrawn()
{
    // 2 ms in the middle of 60 s across 400 pixels: Qwt would read the levels at NaN, far outside them.
    SpectrogramPlot plot(false, QwtInterval(-100, 0));
    plot.setRaster(QVector<double>(14 * 32, -10.0), 14, 0.002, 125.0);
    plot.setLevelRange(ColorMapBlackGreen, QwtInterval(-100, 0));
    QwtScaleMap x;
    x.setScaleInterval(-30.0, 30.0);
    x.setPaintInterval(0, 400);
    QwtScaleMap y;
    y.setScaleInterval(0.0, 125.0);
    y.setPaintInterval(200, 0);
    QImage image(400, 200, QImage::Format_ARGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    plot.items().raster->draw(&painter, x, y, QRectF(0, 0, 400, 200));
    painter.end();
    QCOMPARE(image.pixel(200, 100), QColor(Qt::black).rgb());
}

QUILLON_TEST(TestSpectrogramPlot)
#include "tst_spectrogramplot.moc"
