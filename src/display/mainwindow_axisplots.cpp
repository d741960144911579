// The main window's two axis plots: the amplitude/time plot under the
// spectrogram and the frequency plot beside it, each in the mode the
// settings dialog chose. The numbers come from the pure functions beside
// this file; here the view is read and the plots are handed the curves.
#include "app/mainwindow.h"

#include "common/settingskeys.h"
#include "display/amplitudeenvelope.h"
#include "display/axisplotmode.h"
#include "display/cursorcurves.h"
#include "display/maximumlevels.h"
#include "display/powerspectraldensity.h"
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

namespace {

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

} // namespace

void MainWindow::plotAmplitude()
{
    timePlot->clear();
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
        timePlot->prepareCursorLevels(levels);
        break;
    case AxisPlotMode::MaximumLevels:
        drawMaximumOverTime(format, levels);
        break;
    default:
        break;
    }

    timePlot->setShownSpan(shown.minValue(), shown.maxValue());
    setGridsFromAction();
    const double duration = format.duration();
    timePlot->setShading(QwtInterval(0.0, 0.0), QwtInterval(duration, duration));
    timePlot->updateReadout(); // replots
}

void MainWindow::drawEnvelope(const ShownFormat &format, const QwtInterval &shown)
{
    timePlot->setAxisTitle(QwtPlot::yLeft, AxisPlotTitle::normalisedAmplitude());
    const QRect canvas = spectrogramPlot->canvas()->contentsRect();
    EnvelopeView view;
    view.sampleCount = format.sampleCount;
    view.sampleRate = format.sampleRate;
    view.zoomedIn = spectrogramPlot->isZoomed();
    view.followZoom = readSetting(SettingKeys::timePlotZoom);
    view.visibleStart = shown.minValue();
    view.visibleEnd = shown.maxValue();
    view.timeAxisMode = readSetting(SettingKeys::fixedXScale);
    view.fixedDuration = readSetting(SettingKeys::fixedDuration);
    view.aspectSpan =
        fixedAspectSpan(canvas.width(), canvas.height(), spectrogramPlot->axisInterval(QwtPlot::yLeft).width(),
                        readSetting(SettingKeys::timeAxisAspectRatio));
    // The first recording is drawn before the window takes its stored size.
    view.pixelWidth = firstPlot ? availableDesktop().width() : timePlot->canvas()->width();
    const std::optional<EnvelopeRange> range = envelopeRange(view);
    if (!range)
        return;

    const EnvelopeCurves curves = amplitudeEnvelope(shownSamples(), *range, format.sampleRate, format.bitsPerSample);
    amplitudeAxisLimit = amplitudeAxisLimitFor(curves.peak);
    timePlot->showEnvelope(curves, range->step, amplitudeAxisLimit);
}

void MainWindow::drawMaximumOverTime(const ShownFormat &format, const QwtInterval &levels)
{
    timePlot->setAxisTitle(QwtPlot::yLeft, levelTitle);
    const VisibleArea visible{spectrogramPlot->axisInterval(QwtPlot::xBottom),
                              spectrogramPlot->axisInterval(QwtPlot::yLeft)};
    const QwtMatrixRasterData &raster = spectrogramPlot->rasterData();
    const std::optional<RasterGrid> grid =
        timeMaximumGrid(raster, format.sampleRate, readSetting(SettingKeys::timePlotZoom), visible);
    const std::optional<int> step = cursorStep(raster.numColumns(), availableDesktop().width());
    if (!grid || !step)
        return;
    timePlot->showLevels(maximumOverTime(raster, *grid, *step), levels);
}

void MainWindow::plotFrequency()
{
    frequencyPlot->clear();
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
        frequencyPlot->prepareCursorLevels();
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
    frequencyPlot->setShading(QwtInterval(0.0, 0.0), QwtInterval(nyquist, nyquist));
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
    frequencyPlot->showDensity(points, *axis);
}

void MainWindow::drawMaximumOverFrequency(const ShownFormat &format, const QwtInterval &levels)
{
    frequencyPlot->setAxisTitle(QwtPlot::xBottom, levelTitle);
    const VisibleArea visible{spectrogramPlot->axisInterval(QwtPlot::xBottom),
                              spectrogramPlot->axisInterval(QwtPlot::yLeft)};
    const QwtMatrixRasterData &raster = spectrogramPlot->rasterData();
    const std::optional<RasterGrid> grid = frequencyMaximumGrid(raster, format.sampleCount, format.sampleRate,
                                                                readSetting(SettingKeys::frequencyPlotZoom), visible);
    const std::optional<int> step = cursorStep(raster.numRows(), availableDesktop().height());
    if (!grid || !step)
        return;
    frequencyPlot->showLevels(maximumOverFrequency(raster, *grid, *step), levels);
}

void MainWindow::alignFrequencyPlotSpacers()
{
    // Under the frequency plot: the room the scroll bar takes under the spectrogram.
    spectrogramScroller->sizeSpacer();
    frequencyPlotBottomSpacer->setVisible(!spectroScrollBar->isHidden());
    // Above it the canvas aligner keeps the room the spectrogram's plot keeps
    // above its canvas, whenever either plot moves.
}
