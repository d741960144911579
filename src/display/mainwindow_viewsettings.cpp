// How the view answers the settings dialog: each change signal re-reads the
// keys it concerns and redraws only what they affect, without a new
// spectrogram (only Apply recalculates). Also the plot documents.
#include "app/mainwindow.h"

#include "app/spectrogramsettingsdialog.h"
#include "common/settingskeys.h"
#include "common/userdialogs.h"
#include "display/axisplotmode.h"
#include "display/plotdocument.h"
#include "display/shownrecording.h"
#include "display/spectrogramscroller.h"
#include "display/viewranges.h"
#include "ui_mainwindow.h"

#include <QDir>
#include <QFileInfo>
#include <QFrame>

#include <qwt_plot.h>

namespace {

// The documents are written at this size and resolution, whatever the plot's size on screen.
const QSizeF documentSizeMM(300.0, 200.0);
constexpr int documentDotsPerInch = 85;

bool showsLevels(int axisPlotMode)
{
    return axisPlotMode == AxisPlotMode::CursorLevels || axisPlotMode == AxisPlotMode::MaximumLevels;
}

} // namespace

AxisRange MainWindow::shownFrequencyRange(const ShownFormat &format) const
{
    const bool fixed = readSetting(SettingKeys::fixedYScale);
    const int lower = readSetting(SettingKeys::lowerFrequencyLimit);
    const int upper = readSetting(SettingKeys::upperFrequencyLimit);
    if (format.sampleRate > 0 && format.sampleCount > 0)
        return frequencyAxisRange(fixed, lower, upper, nyquistKHz(format.sampleRate));
    // No recording (or a load that failed): no Nyquist frequency to hold the limits within.
    AxisRange range;
    range.lower = fixed ? lower : 0.0;
    range.upper = fixed ? upper : 150.0;
    return range;
}

void MainWindow::slotAmplitudeScaleChanged()
{
    LevelRange range;
    if (readSetting(SettingKeys::fixedZScale)) {
        range = usableLevelRange(readSetting(SettingKeys::changedLowerScaleLimit),
                                 readSetting(SettingKeys::changedUpperScaleLimit));
    } else {
        range.lower = spectroMinDb;
        range.upper = spectroMaxDb;
        writeSetting(SettingKeys::lowerScaleLimit, range.lower);
        writeSetting(SettingKeys::upperScaleLimit, range.upper);
        spectroSettingsDialog->loadSettings();
    }
    const QwtInterval levels(range.lower, range.upper);
    spectrogramPlot->setLevelRange(readSetting(SettingKeys::colormap), levels);
    spectrogramPlot->replot();

    if (showsLevels(readSetting(SettingKeys::timePlotMode))) {
        timePlot->setLevels(levels);
        timePlot->replot();
    }
    if (showsLevels(readSetting(SettingKeys::frequencyPlotMode)))
        frequencyPlot->setLevels(levels);
    alignFrequencyPlotSpacers();
    frequencyPlot->replot();
}

void MainWindow::slotApplySpectroSettings()
{
    // Before anything was opened there is nothing to calculate again.
    if (!currentFileName.isEmpty())
        plot_Data(currentFileName);
}

void MainWindow::slotColormapChanged()
{
    spectrogramPlot->setColourMap(readSetting(SettingKeys::colormap), spectrogramPlot->levelRange());
    applySmoothingSetting();
    spectrogramPlot->replot();
}

void MainWindow::slotFrequencyMarkerChanged()
{
    QAction *actions[] = {ui->actionFrequency_Marker_1, ui->actionFrequency_Marker_2, ui->actionFrequency_Marker_3};
    for (size_t k = 0; k < SettingKeys::markersShown.size(); ++k)
        actions[k]->setChecked(readSetting(SettingKeys::markersShown[k]));
    applyStoredMarkers();
    spectrogramPlot->replot();
}

void MainWindow::slotTimePlotChanged()
{
    spectrogramPlot->unzoom();
    plotAmplitude();
}

void MainWindow::slotFrequencyPlotChanged()
{
    spectrogramPlot->unzoom();
    plotFrequency();
}

void MainWindow::slotFrequencyScaleChanged()
{
    const ShownFormat format = shownFormat();
    spectrogramPlot->unzoom();
    const AxisRange interval = shownFrequencyRange(format);
    spectrogramPlot->setAxisScale(QwtPlot::yLeft, interval.lower, interval.upper);
    // With a fixed aspect ratio the span follows the frequency interval, from
    // the same left edge; what plays follows the span. Without a recording,
    // or without a canvas or ratio to divide by, the last view stays.
    spectrogramScroller->fitToCanvas(format.duration(), secondsPerColumn);
    alignFrequencyPlotSpacers();
    spectrogramPlot->takeAxesAsZoomBase(); // replots

    frequencyPlot->setAxisScale(QwtPlot::yLeft, interval.lower, interval.upper);
    frequencyPlot->setShading(QwtInterval(interval.lower, interval.lower), QwtInterval(interval.upper, interval.upper));
    frequencyPlot->replot();
}

void MainWindow::slotTimeScaleChanged()
{
    const ShownFormat format = shownFormat();
    // Nothing shown yet, or the last load failed: the empty view stays as it is.
    if (firstPlot || format.sampleCount <= 0 || format.sampleRate <= 0)
        return;
    spectrogramPlot->unzoom();
    spectrogramPlot->updateAxes();
    const double span = spectrogramScroller->showFromStart(
        format.duration(), spectrogramPlot->axisInterval(QwtPlot::yLeft).width(), secondsPerColumn);
    spectrogramPlot->setScaleStart(0.0);
    spectrogramPlot->takeAxesAsZoomBase(); // replots

    timePlot->setScaleStart(0.0);
    // The envelope spreads its points over one screen of the new span: kept
    // as drawn for the old one, a shorter span shows only a few of them.
    // Drawn whole, the time plot also takes the span on its axes.
    plotAmplitude();
    alignFrequencyPlotSpacers();
    setPlaybackSection(0.0f, float(span));
}

// --- Axis-plot settings -----------------------------------------------------------

void MainWindow::on_actionAxis_Plots_Settings_triggered()
{
    openSettingsDialog(1);
}

// --- Plot documents: fixed names in the current directory, no dialog --------------

void MainWindow::exportPlot(QwtPlot *plot, const QString &fileName, const QAction *action)
{
    // No dialog chose the place, and a document of that name was replaced:
    // the user reads where it went, in the words of the menu entry.
    const QString path = QFileInfo(fileName).absoluteFilePath();
    if (writePlotDocument(plot, path, documentSizeMM, documentDotsPerInch)) {
        userDialogs().information(this, action->text(),
                                  tr("The plot was written to\n%1").arg(QDir::toNativeSeparators(path)));
    }
}

void MainWindow::on_actionExport_Spectrogram_triggered()
{
    exportPlot(spectrogramPlot, QStringLiteral("Spectrogram.pdf"), ui->actionExport_Spectrogram);
}

void MainWindow::on_actionExport_Amplitude_Plot_triggered()
{
    exportPlot(timePlot, QStringLiteral("TimeAxisPlot.pdf"), ui->actionExport_Amplitude_Plot);
}

void MainWindow::on_actionExport_Frequency_Plot_triggered()
{
    exportPlot(frequencyPlot, QStringLiteral("FrequencyAxisPlot.pdf"), ui->actionExport_Frequency_Plot);
}
