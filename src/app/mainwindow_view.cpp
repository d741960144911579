// The window's small view handlers (markers, grid, axis-plot panes, zoom or
// selection tool, settings dialog) and the layout it keeps between runs.
#include "app/mainwindow.h"

#include "app/settingskeys.h"
#include "app/spectrogramsettingsdialog.h"
#include "display/myqwtzoomer.h"
#include "display/shownrecording.h"
#include "platform/taskbarbutton.h"
#include "ui_mainwindow.h"

#include <qwt_plot.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_picker.h>

namespace {

// A splitter shares out its space in proportion to the sizes it is given:
// this stands for all the space the first pane does not take.
constexpr int allTheRest = 1000000;

void showMarker(QwtPlotMarker *marker, QwtPlot *plot, bool checked, const Setting<bool> &shown)
{
    marker->setVisible(checked);
    plot->replot();
    writeSetting(shown, checked);
}

void switchGrid(QwtPlotGrid *grid, QwtPlot *plot, bool on)
{
    grid->enableX(on);
    grid->enableY(on);
    // Showing a recording may have hidden the whole item to follow the action.
    grid->setVisible(on);
    plot->replot();
}

} // namespace

// --- Frequency markers and grid -------------------------------------------

void MainWindow::on_actionFrequency_Marker_1_triggered(bool checked)
{
    showMarker(frequencyMarker1, spectrogramPlot, checked, SettingKeys::marker1);
    spectroSettingsDialog->loadSettings();
}

void MainWindow::on_actionFrequency_Marker_2_triggered(bool checked)
{
    showMarker(frequencyMarker2, spectrogramPlot, checked, SettingKeys::marker2);
    spectroSettingsDialog->loadSettings();
}

void MainWindow::on_actionFrequency_Marker_3_triggered(bool checked)
{
    showMarker(frequencyMarker3, spectrogramPlot, checked, SettingKeys::marker3);
    spectroSettingsDialog->loadSettings();
}

void MainWindow::on_actionGrid_triggered(bool checked)
{
    switchGrid(spectrogramGrid, spectrogramPlot, checked);
    switchGrid(timePlotGrid, timePlot, checked);
    switchGrid(frequencyPlotGrid, frequencyPlot, checked);
    writeSetting(SettingKeys::grid, checked);
}

// --- Axis-plot panes --------------------------------------------------------

void MainWindow::on_actionAmplitude_Plot_triggered(bool checked)
{
    ui->splitter_2->setSizes({checked ? ui->frame_3->minimumHeight() : 0, allTheRest});
}

void MainWindow::on_actionFrequency_Axis_Plot_triggered(bool checked)
{
    // widget_2 sits left of the time plot: its width keeps the time plot's
    // canvas above the spectrogram's.
    const int width = checked ? ui->frame->minimumWidth() : 0;
    ui->splitter_3->setSizes({width, allTheRest});
    ui->widget_2->setMinimumSize(width, ui->widget_2->height());
}

void MainWindow::on_splitter_3_splitterMoved(int pos, int index)
{
    if (index != 1)
        return;
    ui->widget_2->setMinimumSize(pos, ui->widget_2->height());
    ui->actionFrequency_Axis_Plot->setChecked(pos != 0);
}

void MainWindow::on_splitter_2_splitterMoved(int pos, int index)
{
    if (index != 1)
        return;
    ui->actionAmplitude_Plot->setChecked(pos != 0);
}

void MainWindow::resizeEvent(QResizeEvent *)
{
    const QWidget *firstPane = ui->splitter_3->widget(0);
    ui->widget_2->setMinimumSize(firstPane ? firstPane->width() : 0, ui->widget_2->height());
}

void MainWindow::showEvent(QShowEvent *)
{
    // The native window exists only once shown, and may be recreated.
    taskbarButton->setWindow(windowHandle());
}

// --- Zoom or selection tool ---------------------------------------------------

void MainWindow::setSpectrogramMouseMode(bool selection)
{
    if (selection) {
        selectionPicker->setMousePattern(QwtEventPattern::MouseSelect1, Qt::LeftButton);
        selectionPicker->setKeyPattern(QwtEventPattern::KeyAbort, 0);
        spectroZoomer->setMousePattern(QwtEventPattern::MouseSelect1, Qt::LeftButton, Qt::ShiftModifier);
        spectroZoomer->setMousePattern(QwtEventPattern::MouseSelect2, Qt::NoButton);
        spectroZoomer->setKeyPattern(QwtEventPattern::KeyHome, Qt::Key_Escape);
    } else {
        selectionPicker->setMousePattern(QwtEventPattern::MouseSelect1, Qt::LeftButton, Qt::ShiftModifier);
        selectionPicker->setKeyPattern(QwtEventPattern::KeyAbort, Qt::Key_Escape);
        spectroZoomer->setMousePattern(QwtEventPattern::MouseSelect1, Qt::LeftButton);
        spectroZoomer->setMousePattern(QwtEventPattern::MouseSelect2, Qt::RightButton);
        spectroZoomer->setKeyPattern(QwtEventPattern::KeyHome, 0);
    }
}

// A press runs before the click toggles the pressed button: the other button
// takes the pressed one's state from before the press.
void MainWindow::on_toolButton_pressed()
{
    const bool toSelection = ui->toolButton->isChecked();
    ui->toolButton_2->setChecked(toSelection);
    setSpectrogramMouseMode(toSelection);
}

void MainWindow::on_toolButton_2_pressed()
{
    const bool toZoom = ui->toolButton_2->isChecked();
    ui->toolButton->setChecked(toZoom);
    setSpectrogramMouseMode(!toZoom);
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
    writeSetting(SettingKeys::splitterTimePlotSizes, ui->splitter_2->saveState());
    writeSetting(SettingKeys::splitterFrequencyPlotSizes, ui->splitter_3->saveState());
    writeSetting(SettingKeys::splitterMainSizes, ui->splitter->saveState());
}
