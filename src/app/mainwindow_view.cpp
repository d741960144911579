// The window's small view handlers (markers, grid, axis-plot panes, zoom or
// selection tool, settings dialog) and the layout it keeps between runs.
#include "app/mainwindow.h"

#include "app/spectrogramsettingsdialog.h"
#include "common/settingskeys.h"
#include "display/shownrecording.h"
#include "platform/taskbarbutton.h"
#include "ui_mainwindow.h"

#include <QSplitter>

#include <qwt_plot.h>

namespace {

// A splitter shares out its space in proportion to the sizes it is given:
// this stands for all the space the first pane does not take.
constexpr int allTheRest = 1000000;

void showMarker(SpectrogramPlot *plot, int marker, bool checked, const Setting<bool> &shown)
{
    plot->showFrequencyMarker(marker, checked);
    plot->replot();
    writeSetting(shown, checked);
}

} // namespace

// --- Frequency markers and grid -------------------------------------------

void MainWindow::on_actionFrequency_Marker_1_triggered(bool checked)
{
    showMarker(spectrogramPlot, 0, checked, SettingKeys::marker1);
    spectroSettingsDialog->loadSettings();
}

void MainWindow::on_actionFrequency_Marker_2_triggered(bool checked)
{
    showMarker(spectrogramPlot, 1, checked, SettingKeys::marker2);
    spectroSettingsDialog->loadSettings();
}

void MainWindow::on_actionFrequency_Marker_3_triggered(bool checked)
{
    showMarker(spectrogramPlot, 2, checked, SettingKeys::marker3);
    spectroSettingsDialog->loadSettings();
}

void MainWindow::on_actionGrid_triggered(bool checked)
{
    spectrogramPlot->showGrid(checked);
    timePlot->showGrid(checked);
    frequencyPlot->showGrid(checked);
    for (QwtPlot *plot : std::initializer_list<QwtPlot *>{spectrogramPlot, timePlot, frequencyPlot})
        plot->replot();
    writeSetting(SettingKeys::grid, checked);
}

// --- Axis-plot panes --------------------------------------------------------

void MainWindow::on_actionAmplitude_Plot_triggered(bool checked)
{
    widgets.splitterTimePlot->setSizes({checked ? widgets.timePlotPane->minimumHeight() : 0, allTheRest});
}

void MainWindow::on_actionFrequency_Axis_Plot_triggered(bool checked)
{
    // widget_2 sits left of the time plot: its width keeps the time plot's
    // canvas above the spectrogram's.
    const int width = checked ? widgets.frequencyPlotPane->minimumWidth() : 0;
    widgets.splitterFrequencyPlot->setSizes({width, allTheRest});
    widgets.timePlotLeftMargin->setMinimumSize(width, widgets.timePlotLeftMargin->height());
}

void MainWindow::on_splitter_3_splitterMoved(int pos, int index)
{
    if (index != 1)
        return;
    widgets.timePlotLeftMargin->setMinimumSize(pos, widgets.timePlotLeftMargin->height());
    ui->actionFrequency_Axis_Plot->setChecked(pos != 0);
}

void MainWindow::on_splitter_2_splitterMoved(int pos, int index)
{
    if (index != 1)
        return;
    ui->actionAmplitude_Plot->setChecked(pos != 0);
}

void MainWindow::shareListHeight()
{
    // The folder list and the evaluation list stand in one place below the
    // plots, one at a time: the height the user drags the one shown to is
    // the other's too, for the next folder or evaluation and the next start.
    // The splitter keeps a hidden pane's size for when it shows again.
    QSplitter *splitter = widgets.splitterMain;
    const int evaluation = splitter->indexOf(widgets.evaluationPane);
    const int folder = splitter->indexOf(widgets.folderPane);
    QList<int> sizes = splitter->sizes();
    const int list = qMax(sizes.value(evaluation), sizes.value(folder));
    if (list <= 0)
        return;
    sizes[evaluation] = list;
    sizes[folder] = list;
    splitter->setSizes(sizes);
}

void MainWindow::resizeEvent(QResizeEvent *)
{
    const QWidget *firstPane = widgets.splitterFrequencyPlot->widget(0);
    widgets.timePlotLeftMargin->setMinimumSize(firstPane ? firstPane->width() : 0,
                                               widgets.timePlotLeftMargin->height());
}

void MainWindow::showEvent(QShowEvent *)
{
    // The native window exists only once shown, and may be recreated.
    taskbarButton->setWindow(windowHandle());
}

// --- Zoom or selection tool ---------------------------------------------------

// A press runs before the click toggles the pressed button: the other button
// takes the pressed one's state from before the press.
void MainWindow::on_toolButton_pressed()
{
    const bool toSelection = widgets.zoomTool->isChecked();
    widgets.selectionTool->setChecked(toSelection);
    spectrogramPlot->setSelectionTool(toSelection);
}

void MainWindow::on_toolButton_2_pressed()
{
    const bool toZoom = widgets.selectionTool->isChecked();
    widgets.zoomTool->setChecked(toZoom);
    spectrogramPlot->setSelectionTool(!toZoom);
}

// --- Settings dialog ----------------------------------------------------------

void MainWindow::openSettingsDialog(int tab)
{
    spectroSettingsDialog->setSampleRate(shownFormat().sampleRate);
    spectroSettingsDialog->loadSettings();
    // Apply would replace the samples the worker is reading; the result
    // switches Apply and Default on again.
    if (calculating)
        spectroSettingsDialog->setApplyButtonsEnabled(false);
    spectroSettingsDialog->setCurrentTab(tab);
    spectroSettingsDialog->show();
}

void MainWindow::on_actionSpectrogram_Settings_triggered()
{
    openSettingsDialog(0);
}

// --- Layout between runs ------------------------------------------------------

void MainWindow::saveLayout()
{
    // Before a recording was shown the window is at its small start-up size:
    // storing that would overwrite the layout the user left last time.
    if (firstPlot)
        return;
    writeSetting(SettingKeys::geometry, normalGeometry());
    writeSetting(SettingKeys::maximized, isMaximized());
    writeSetting(SettingKeys::splitterTimePlotSizes, widgets.splitterTimePlot->saveState());
    writeSetting(SettingKeys::splitterFrequencyPlotSizes, widgets.splitterFrequencyPlot->saveState());
    writeSetting(SettingKeys::splitterMainSizes, widgets.splitterMain->saveState());
}
