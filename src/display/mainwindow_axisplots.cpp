// The main window's two axis plots: the amplitude/time plot under the
// spectrogram and the frequency plot beside it, each in the mode the
// settings dialog chose. The numbers come from the pure functions beside
// this file; here the view is read and the curves are drawn.
#include "app/mainwindow.h"

#include "app/settingskeys.h"
#include "display/amplitudeenvelope.h"
#include "display/axisplotmode.h"
#include "display/cursorcurves.h"
#include "display/maximumlevels.h"
#include "display/myqwtzoomer.h"
#include "display/myqwtzoomer2.h"
#include "display/powerspectraldensity.h"
#include "display/rangemarker.h"
#include "display/shownrecording.h"
#include "display/spectrogramscroller.h"
#include "display/viewranges.h"
#include "ui_mainwindow.h"

#include <QFrame>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>

#include <qwt_matrix_raster_data.h>
#include <qwt_plot.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_scaleitem.h>

namespace {

const QColor curveFill(122, 184, 0);
const QString levelTitle = AxisPlotTitle::level();

// The maximum spectra and the first envelope spread their points over the
// screen, not over a plot that may still be at its start-up size.
QRect availableDesktop()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

bool hasSamples(const ShownFormat &format)
{
    return format.sampleCount > 0 && format.sampleRate > 0;
}

void fillTo(QwtPlotCurve *curve, double baseline)
{
    curve->setBaseline(baseline);
    curve->setBrush(QBrush(curveFill, Qt::SolidPattern));
}

} // namespace

void MainWindow::plotAmplitude()
{
    for (QwtPlotCurve *curve : {timePlotCurve1, timePlotCurve2, timePlotCurve3, timePlotCurve4})
        curve->detach();
    baselineMarker->hide();
    const ShownFormat format = shownFormat();
    // Nothing shown, or a load that failed: the plot stays empty and keeps its axes.
    if (!hasSamples(format)) {
        timePlot->replot();
        return;
    }
    // The spectrogram's axes as last set, even if it has not been replotted since.
    spectrogramPlot->updateAxes();
    const QwtInterval shown = spectrogramPlot->axisInterval(QwtPlot::xBottom);
    const QwtInterval levels = spectrogramPlot->axisInterval(QwtPlot::yRight);

    switch (readSetting(SettingKeys::timePlotMode)) {
    case AxisPlotMode::Envelope:
        drawEnvelope(format, shown);
        break;
    case AxisPlotMode::CursorLevels:
        // The event filter draws the curve as the cursor moves.
        timePlot->setAxisTitle(QwtPlot::yLeft, levelTitle);
        fillTo(timePlotCurve1, -300.0);
        timePlot->setAxisScale(QwtPlot::yLeft, levels.minValue(), levels.maxValue());
        break;
    case AxisPlotMode::MaximumLevels:
        drawMaximumOverTime(format, levels);
        break;
    default:
        break;
    }

    timePlot->setAxisScale(QwtPlot::xBottom, shown.minValue(), shown.maxValue());
    timePlot->setAxisScale(QwtPlot::xTop, shown.minValue(), shown.maxValue());
    setGridsFromAction();
    const double duration = format.duration();
    timeRangeMarker1->setInterval(QwtInterval(0.0, 0.0));
    timeRangeMarker2->setInterval(QwtInterval(duration, duration));
    timePlotZoomer->setZoomBase(); // replots
}

void MainWindow::drawEnvelope(const ShownFormat &format, const QwtInterval &shown)
{
    timePlot->setAxisTitle(QwtPlot::yLeft, AxisPlotTitle::normalisedAmplitude());
    const QRect canvas = spectrogramPlot->canvas()->contentsRect();
    EnvelopeView view;
    view.sampleCount = format.sampleCount;
    view.sampleRate = format.sampleRate;
    view.zoomedIn = spectroZoomer->zoomRectIndex() != 0;
    view.followZoom = readSetting(SettingKeys::timePlotZoom);
    view.visibleStart = shown.minValue();
    view.visibleEnd = shown.maxValue();
    view.timeAxisMode = readSetting(SettingKeys::fixedXScale);
    view.fixedDuration = readSetting(SettingKeys::fixedDuration);
    view.aspectSpan = fixedAspectSpan(canvas.width(), canvas.height(),
                                      spectrogramPlot->axisInterval(QwtPlot::yLeft).width(),
                                      readSetting(SettingKeys::timeAxisAspectRatio));
    // The first recording is drawn before the window takes its stored size.
    view.pixelWidth = firstPlot ? availableDesktop().width() : timePlot->canvas()->width();
    const std::optional<EnvelopeRange> range = envelopeRange(view);
    if (!range)
        return;

    const EnvelopeCurves curves = amplitudeEnvelope(shownSamples(), *range, format.sampleRate, format.bitsPerSample);
    amplitudeAxisLimit = amplitudeAxisLimitFor(curves.peak);
    timePlotCurve1->setSamples(curves.maxima);
    timePlotCurve2->setSamples(curves.minima);
    timePlotCurve3->setSamples(curves.rms);
    timePlotCurve4->setSamples(curves.rmsNegative);
    for (QwtPlotCurve *curve : {timePlotCurve1, timePlotCurve2, timePlotCurve3, timePlotCurve4})
        curve->setBaseline(0.0);
    timePlotCurve1->attach(timePlot);
    timePlotCurve2->attach(timePlot);
    // A block of a few samples has an RMS close to its extremes: it would only
    // blur them.
    if (range->step > 10) {
        timePlotCurve3->attach(timePlot);
        timePlotCurve4->attach(timePlot);
    }
    // Every sample is a point: the zero line shows where the wave crosses it.
    if (range->step == 1)
        baselineMarker->show();
    timePlotCurve1->show();
    timePlot->setAxisScale(QwtPlot::yLeft, -amplitudeAxisLimit, amplitudeAxisLimit);
}

void MainWindow::drawMaximumOverTime(const ShownFormat &format, const QwtInterval &levels)
{
    timePlot->setAxisTitle(QwtPlot::yLeft, levelTitle);
    const VisibleArea visible{spectrogramPlot->axisInterval(QwtPlot::xBottom),
                              spectrogramPlot->axisInterval(QwtPlot::yLeft)};
    const std::optional<RasterGrid> grid =
        timeMaximumGrid(*spectrogramData, format.sampleRate, readSetting(SettingKeys::timePlotZoom), visible);
    const std::optional<int> step = cursorStep(spectrogramData->numColumns(), availableDesktop().width());
    if (!grid || !step)
        return;
    timePlotCurve1->setSamples(maximumOverTime(*spectrogramData, *grid, *step));
    fillTo(timePlotCurve1, levels.minValue());
    timePlot->setAxisScale(QwtPlot::yLeft, levels.minValue(), levels.maxValue());
    timePlotCurve1->attach(timePlot);
    timePlotCurve1->show();
}

void MainWindow::plotFrequency()
{
    frequencyPlotCurve->detach();
    const ShownFormat format = shownFormat();
    if (!hasSamples(format)) {
        frequencyPlot->replot();
        return;
    }
    spectrogramPlot->updateAxes();
    const QwtInterval levels = spectrogramPlot->axisInterval(QwtPlot::yRight);

    switch (readSetting(SettingKeys::frequencyPlotMode)) {
    case AxisPlotMode::Envelope:
        drawDensity(format);
        break;
    case AxisPlotMode::CursorLevels:
        frequencyPlot->setAxisTitle(QwtPlot::xBottom, levelTitle);
        frequencyPlotCurve->setBrush(QBrush(curveFill, Qt::SolidPattern));
        break;
    case AxisPlotMode::MaximumLevels:
        drawMaximumOverFrequency(format, levels);
        break;
    default:
        break;
    }

    const QwtInterval frequencies = spectrogramPlot->axisInterval(QwtPlot::yLeft);
    frequencyPlot->setAxisScale(QwtPlot::yLeft, frequencies.minValue(), frequencies.maxValue());
    setGridsFromAction();
    // Empty until a zoom shades what lies outside it. The upper one sits at
    // the exact Nyquist frequency: 44.1 kHz ends at 22.05 kHz, not 22.
    const double nyquist = nyquistKHz(format.sampleRate);
    frequencyRangeMarker1->setInterval(QwtInterval(0.0, 0.0));
    frequencyRangeMarker2->setInterval(QwtInterval(nyquist, nyquist));
    frequencyRangeMarker1->attach(frequencyPlot);
    frequencyRangeMarker2->attach(frequencyPlot);
    alignFrequencyPlotSpacers();
    frequencyPlot->replot();
}

void MainWindow::drawDensity(const ShownFormat &format)
{
    frequencyPlot->setAxisTitle(QwtPlot::xBottom, AxisPlotTitle::density());
    const QVector<QPointF> points = powerSpectralDensity(shownSamples(), format.sampleCount, format.sampleRate,
                                                         format.bitsPerSample, readSetting(SettingKeys::window));
    const std::optional<DensityAxis> axis = densityAxis(points);
    if (!axis)
        return; // a silent recording, or one shorter than a block: no finite density
    frequencyPlot->setAxisScale(QwtPlot::xBottom, axis->left, axis->right);
    frequencyPlotScaleItem->setPosition(axis->right);
    frequencyPlotCurve->setBrush(Qt::NoBrush);
    frequencyPlotCurve->setSamples(points);
    frequencyPlotCurve->attach(frequencyPlot);
    frequencyPlotCurve->show();
}

void MainWindow::drawMaximumOverFrequency(const ShownFormat &format, const QwtInterval &levels)
{
    frequencyPlot->setAxisTitle(QwtPlot::xBottom, levelTitle);
    const VisibleArea visible{spectrogramPlot->axisInterval(QwtPlot::xBottom),
                              spectrogramPlot->axisInterval(QwtPlot::yLeft)};
    const std::optional<RasterGrid> grid = frequencyMaximumGrid(
        *spectrogramData, format.sampleCount, format.sampleRate, readSetting(SettingKeys::frequencyPlotZoom), visible);
    const std::optional<int> step = cursorStep(spectrogramData->numRows(), availableDesktop().height());
    if (!grid || !step)
        return;
    frequencyPlotCurve->setSamples(maximumOverFrequency(*spectrogramData, *grid, *step));
    fillTo(frequencyPlotCurve, levels.minValue());
    frequencyPlotScaleItem->setPosition(levels.minValue());
    // Levels run right to left, towards the spectrogram.
    frequencyPlot->setAxisScale(QwtPlot::xBottom, levels.maxValue(), levels.minValue());
    frequencyPlotCurve->attach(frequencyPlot);
    frequencyPlotCurve->show();
}

void MainWindow::alignFrequencyPlotSpacers()
{
    // Under the frequency plot: the room the scroll bar takes under the spectrogram.
    spectrogramScroller->sizeSpacer();
    frequencyPlotBottomSpacer->setVisible(!spectroScrollBar->isHidden());
    // Above it: the room the spectrogram's plot keeps above its canvas.
    frequencyPlotTopSpacer->setFixedHeight(spectrogramPlot->canvas()->geometry().top());
}
