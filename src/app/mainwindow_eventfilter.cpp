// The window-wide event filter: the span that follows canvas resizes,
// the cursor curves that follow the mouse over the spectrogram, hiding the
// selection, every other window fitted to its screen, and the window's keys.
#include "app/mainwindow.h"

#include "app/screenfit.h"
#include "common/settingskeys.h"
#include "display/axisplotmode.h"
#include "display/cursorcurves.h"
#include "display/shownrecording.h"
#include "display/spectrogramscroller.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>

#include <qwt_matrix_raster_data.h>
#include <qwt_plot.h>
#include <qwt_scale_widget.h>

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (!watched || !spectrogramPlot)
        return QMainWindow::eventFilter(watched, event);
    QWidget *canvas = spectrogramPlot->canvas();
    switch (event->type()) {
    case QEvent::Resize:
        if (watched == canvas)
            spectrogramScroller->fitToCanvas(shownFormat().duration(), secondsPerColumn);
        break;
    case QEvent::MouseMove:
        if (watched == canvas)
            followCursor(static_cast<QMouseEvent *>(event)->pos());
        else if (watched != timePlot->axisWidget(QwtPlot::xTop) && watched != spectrogramPlot)
            leaveSpectrogram();
        break;
    case QEvent::MouseButtonPress:
        if (watched == canvas && static_cast<QMouseEvent *>(event)->button() == Qt::RightButton
            && !widgets.zoomTool->isChecked()) {
            spectrogramPlot->hideMeasurement();
            spectrogramPlot->replot();
        }
        break;
    case QEvent::Show:
        // Every other window and dialog, Qt's boxes and file dialogs too, fits
        // the screen it opens on; the window's own geometry is fitted when a
        // recording restores it. A window the desktop shows again stays as it was.
        if (watched != this && watched->isWidgetType() && !event->spontaneous())
            fitShowingWindow(static_cast<QWidget *>(watched), this);
        break;
    case QEvent::KeyPress:
        // Keys belong to the window only while it is the active one: a dialog's keys stay its own.
        if (isActiveWindow() && handleKeyPress(watched, static_cast<QKeyEvent *>(event)))
            return true;
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::followCursor(const QPoint &pos)
{
    const double t = spectrogramPlot->invTransform(QwtPlot::xBottom, pos.x());
    const double f = spectrogramPlot->invTransform(QwtPlot::yLeft, pos.y());
    const QwtMatrixRasterData &raster = spectrogramPlot->rasterData();
    const QwtInterval levels = raster.interval(Qt::ZAxis);
    const QRect screen =
        QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry() : QRect();

    if (readSetting(SettingKeys::timePlotMode) == AxisPlotMode::CursorLevels) {
        const QwtInterval range = readSetting(SettingKeys::timePlotZoom)
                                      ? spectrogramPlot->axisInterval(QwtPlot::xBottom)
                                      : raster.interval(Qt::XAxis);
        const auto points = timeCursorCurve(raster, f, range.minValue(), range.maxValue(), screen.width());
        if (points)
            timePlot->showCursorLevels(*points, levels);
    }
    if (readSetting(SettingKeys::frequencyPlotMode) == AxisPlotMode::CursorLevels) {
        const QwtInterval range = readSetting(SettingKeys::frequencyPlotZoom)
                                      ? spectrogramPlot->axisInterval(QwtPlot::yLeft)
                                      : raster.interval(Qt::YAxis);
        const auto points = frequencyCursorCurve(raster, t, range.minValue(), range.maxValue(), screen.height());
        if (points)
            frequencyPlot->showCursorLevels(*points, levels);
    }
    timePlot->showCursorLine(t);
    frequencyPlot->showCursorLine(f);
    timePlot->replot();
    frequencyPlot->replot();
}

void MainWindow::leaveSpectrogram()
{
    timePlot->hideCursor(readSetting(SettingKeys::timePlotMode) == AxisPlotMode::CursorLevels);
    frequencyPlot->hideCursor();
}
