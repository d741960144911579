#include "signalbuilder.h"
#include "testregistry.h"

#include "analysis/calcspectrogramthread.h"
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

#include <cmath>
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

// 2 s at 256 kHz of quiet noise and a 1 ms call every 50 ms, in the worker's
// levels at 256 points and 50 % overlap: frames of 0.5 ms, bins of 1 kHz.
constexpr double callsEvery = 0.05;
void showCalls(SpectrogramPlot &plot)
{
    testsupport::SignalBuilder signal(256000.0, 2.0);
    signal.noise(-70.0, 3);
    for (double t = 0.025; t < 2.0; t += callsEvery)
        signal.sweep(60000.0, 30000.0, t, 0.001, -10.0);
    const QVector<int> samples = signal.samples();
    std::vector<int> timedata(samples.begin(), samples.end());
    calcSpectrogramThread worker;
    QObject::connect(&worker, &calcSpectrogramThread::finished,
                     [&plot](const QVector<double> &levels, int columns, double low, double high) {
                         plot.setRaster(levels, columns, 2.0, 128.0);
                         plot.setLevelRange(ColorMapBlackGreen, QwtInterval(std::floor(low), std::ceil(high)));
                     });
    worker.process(int(timedata.size()), 16, 256, 100.0f, QStringLiteral("Hann"), 50.0, &timedata, 256000, false);
}

// A raster item drawn into an image of width x height pixels showing seconds by kHz, over a canvas of that colour.
QImage drawnRaster(const QwtPlotItem &raster, const QwtInterval &seconds, const QwtInterval &kHz, int width, int height,
                   const QColor &canvas = Qt::black)
{
    QwtScaleMap x;
    x.setScaleInterval(seconds.minValue(), seconds.maxValue());
    x.setPaintInterval(0, width);
    QwtScaleMap y;
    y.setScaleInterval(kHz.minValue(), kHz.maxValue());
    y.setPaintInterval(height, 0);
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(canvas);
    QPainter painter(&image);
    raster.draw(&painter, x, y, QRectF(0, 0, width, height));
    return image;
}

// Qwt's own spectrogram item over a copy of the levels, drawn in the Black-Green map.
std::unique_ptr<QwtPlotSpectrogram> qwtSpectrogram(const QwtMatrixRasterData &levels)
{
    auto qwt = std::make_unique<QwtPlotSpectrogram>();
    auto *copy = new QwtMatrixRasterData;
    copy->setValueMatrix(levels.valueMatrix(), levels.numColumns());
    for (Qt::Axis axis : {Qt::XAxis, Qt::YAxis, Qt::ZAxis})
        copy->setInterval(axis, levels.interval(axis));
    copy->setResampleMode(levels.resampleMode());
    qwt->setData(copy);
    qwt->setColorMap(colorMapFor(ColorMapBlackGreen));
    return qwt;
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
    void raster_everyCallDrawn_data();
    void raster_everyCallDrawn();
    void raster_zoomedInDrawnAsQwtDraws();
    void raster_oneCellAtFullBrightness_data();
    void raster_oneCellAtFullBrightness();
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
    const QImage image = drawnRaster(*plot.items().raster, QwtInterval(-30.0, 30.0), QwtInterval(0, 125), 400, 200);
    QCOMPARE(image.pixel(200, 100), QColor(Qt::black).rgb());
}

void TestSpectrogramPlot::raster_everyCallDrawn_data()
{
    // 12, 5 and 4 frames to a pixel column, 1.3 bins to a pixel row.
    QTest::addColumn<int>("width");
    QTest::newRow("342 px") << 342;
    QTest::newRow("750 px") << 750;
    QTest::newRow("958 px") << 958;
}

void TestSpectrogramPlot::raster_everyCallDrawn()
{
    QFETCH(int, width);
    SpectrogramPlot plot(false, QwtInterval(-100, 0));
    showCalls(plot);
    const QImage image = drawnRaster(*plot.items().raster, QwtInterval(0, 2), QwtInterval(0, 128), width, 100);
    // The brightest pixel drawn over a stretch of seconds: the map's green rises with the level.
    auto brightest = [&](double from, double to) {
        int most = 0;
        for (int x = int(from / 2 * width); x <= int(to / 2 * width); ++x) {
            for (int y = 0; y < 100; ++y)
                most = qMax(most, qGreen(image.pixel(qBound(0, x, width - 1), y)));
        }
        return most;
    };
    int gaps = 0;
    int dimmestCall = 255;
    for (double t = 0.025; t < 2.0; t += callsEvery) {
        gaps = qMax(gaps, brightest(t + 0.01, t + 0.04));
        dimmestCall = qMin(dimmestCall, brightest(t - 0.005, t + 0.006));
    }
    QVERIFY2(dimmestCall > gaps + 50, qPrintable(QStringLiteral("call %1, gaps %2").arg(dimmestCall).arg(gaps)));
}

void TestSpectrogramPlot::raster_zoomedInDrawnAsQwtDraws()
{
    SpectrogramPlot plot(false, QwtInterval(-100, 0));
    showCalls(plot);
    const QwtMatrixRasterData &levels = plot.rasterData();
    // Two pixels to a frame and to a bin, over a call.
    const double frame = 2.0 / levels.numColumns();
    const QwtInterval seconds(1000 * frame, 1200 * frame);
    for (bool smooth : {false, true}) {
        plot.setSmoothing(smooth);
        QCOMPARE(drawnRaster(*plot.items().raster, seconds, QwtInterval(0, 128), 400, 256),
                 drawnRaster(*qwtSpectrogram(levels), seconds, QwtInterval(0, 128), 400, 256));
    }
}

void TestSpectrogramPlot::raster_oneCellAtFullBrightness_data()
{
    // Frames and bins to a pixel. With a cell or less along one axis, Qwt renders
    // an image a pixel past the recording's edges, whose readings fall outside it.
    QTest::addColumn<double>("frames");
    QTest::addColumn<double>("bins");
    QTest::newRow("1.5 frames, 1.5 bins") << 1.5 << 1.5;
    QTest::newRow("2 frames, 2 bins") << 2.0 << 2.0;
    QTest::newRow("4 frames, 4 bins") << 4.0 << 4.0;
    QTest::newRow("4 frames, 0.5 bins") << 4.0 << 0.5;
    QTest::newRow("0.5 frames, 4 bins") << 0.5 << 4.0;
}

void TestSpectrogramPlot::raster_oneCellAtFullBrightness()
{
    QFETCH(double, frames);
    QFETCH(double, bins);
    // 256 frames of 1 ms by 128 bins of 1 kHz at the quietest level but for five tones
    // one bin wide below 64 kHz and twenty calls one frame long above, 13 cells apart:
    // each falls at another place in its pixel's span, on its first cell, its last, or between.
    constexpr int columns = 256;
    constexpr int rows = 128;
    QVector<double> levels(columns * rows, -100.0);
    for (int bin = 0; bin < rows; ++bin) {
        for (int frame = 0; frame < columns; ++frame) {
            if (bin < rows / 2 ? bin % 13 == 2 : frame % 13 == 6)
                levels[bin * columns + frame] = 0.0;
        }
    }
    SpectrogramPlot plot(false, QwtInterval(-100, 0));
    plot.setRaster(levels, columns, 0.256, 128.0);
    plot.setLevelRange(ColorMapBlackGreen, QwtInterval(-100, 0));
    // The view runs a quarter past the recording's end and its highest frequency, over
    // a canvas in a colour the map has not.
    const QRgb canvas = QColor(Qt::blue).rgb();
    const int width = qRound(1.25 * columns / frames);
    const int height = qRound(1.25 * rows / bins);
    const QwtInterval seconds(0, 0.32);
    const QwtInterval kHz(0, 160);
    const QImage image = drawnRaster(*plot.items().raster, seconds, kHz, width, height, canvas);

    // The pixel column of the recording's end and the pixel rows of 64 and 128 kHz: the
    // runs are counted on the pixels inside, away from those that straddle an edge.
    const int end = width * 4 / 5;
    const int middle = int(height * 0.6);
    const int top = int(height * 0.2);
    const QRgb full = plot.items().raster->colorMap()->rgb(QwtInterval(-100, 0), 0.0);
    // Along a pixel column or row, the runs of pixels at the loudest level.
    auto runs = [&](int from, int to, auto pixel) {
        int n = 0;
        for (int i = from; i < to; ++i)
            n += pixel(i) == full && (i == from || pixel(i - 1) != full) ? 1 : 0;
        return n;
    };
    for (int x = 1; x < end - 1; ++x)
        QCOMPARE(runs(middle + 1, height, [&](int y) { return image.pixel(x, y); }), 5);
    for (int y = top + 1; y < middle; ++y)
        QCOMPARE(runs(0, end, [&](int x) { return image.pixel(x, y); }), 20);

    // Outside the recording the matrix reads not a number, to which the map gives no
    // colour: the canvas shows there, wherever Qwt's own item leaves it showing.
    const QImage qwt = drawnRaster(*qwtSpectrogram(plot.rasterData()), seconds, kHz, width, height, canvas);
    int differ = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            differ += (image.pixel(x, y) == canvas) != (qwt.pixel(x, y) == canvas) ? 1 : 0;
    }
    QCOMPARE(differ, 0);
    QCOMPARE(image.pixel(width - 1, 0), canvas);
}

QUILLON_TEST(TestSpectrogramPlot)
#include "tst_spectrogramplot.moc"
