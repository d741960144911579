// The window-wide event filter: the span that follows canvas resizes,
// the cursor curves that follow the mouse over the spectrogram, hiding the
// selection, and the window's keys.
#include "app/mainwindow.h"

#include "app/settingskeys.h"
#include "display/axisplotmode.h"
#include "display/cursorcurves.h"
#include "display/myrectrangemarker.h"
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
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_scaleitem.h>
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
            && !ui->toolButton->isChecked()) {
            selectionRectMarker->hide();
            spectrogramPlot->replot();
        }
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
    const QwtInterval levels = spectrogramData->interval(Qt::ZAxis);
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                          : QRect();

    if (readSetting(SettingKeys::timePlotMode) == AxisPlotMode::CursorLevels) {
        const QwtInterval range = readSetting(SettingKeys::timePlotZoom)
                                      ? spectrogramPlot->axisInterval(QwtPlot::xBottom)
                                      : spectrogramData->interval(Qt::XAxis);
        const auto points = timeCursorCurve(*spectrogramData, f, range.minValue(), range.maxValue(), screen.width());
        if (points) {
            timePlot->setAxisScale(QwtPlot::yLeft, levels.minValue(), levels.maxValue());
            timePlot->updateAxes(); // the intervals read below are the new ones
            timePlotCurve1->setSamples(*points);
            timePlotCurve1->setBaseline(timePlot->axisInterval(QwtPlot::yLeft).minValue());
            timePlotCurve1->attach(timePlot);
            timePlotCurve1->show();
        }
    }
    if (readSetting(SettingKeys::frequencyPlotMode) == AxisPlotMode::CursorLevels) {
        const QwtInterval range = readSetting(SettingKeys::frequencyPlotZoom)
                                      ? spectrogramPlot->axisInterval(QwtPlot::yLeft)
                                      : spectrogramData->interval(Qt::YAxis);
        const auto points =
            frequencyCursorCurve(*spectrogramData, t, range.minValue(), range.maxValue(), screen.height());
        if (points) {
            frequencyPlot->setAxisScale(QwtPlot::xBottom, levels.maxValue(), levels.minValue());
            frequencyPlot->updateAxes();
            frequencyPlotCurve->setSamples(*points);
            // The reversed axis: its second bound is the lowest level.
            frequencyPlotCurve->setBaseline(frequencyPlot->axisScaleDiv(QwtPlot::xBottom).upperBound());
            frequencyPlotCurve->attach(frequencyPlot);
            frequencyPlotCurve->show();
            frequencyPlotScaleItem->setPosition(levels.minValue());
        }
    }
    amplitudePlotMarker->setValue(t, timePlot->axisInterval(QwtPlot::yLeft).maxValue());
    amplitudePlotMarker->show();
    const QwtScaleDiv &levelAxis = frequencyPlot->axisScaleDiv(QwtPlot::xBottom);
    frequencyPlotMarker->setValue(
        frequencyMarkerLevel(levelAxis.lowerBound(), levelAxis.upperBound(), frequencyPlot->canvas()->width()), f);
    frequencyPlotMarker->show();
    timePlot->replot();
    frequencyPlot->replot();
}

void MainWindow::leaveSpectrogram()
{
    if (readSetting(SettingKeys::timePlotMode) == AxisPlotMode::CursorLevels && timePlotCurve1->isVisible()) {
        timePlotCurve1->hide();
        timePlot->replot();
    }
    if (amplitudePlotMarker->isVisible()) {
        amplitudePlotMarker->hide();
        timePlot->replot();
    }
    if (frequencyPlotMarker->isVisible()) {
        frequencyPlotMarker->hide();
        frequencyPlot->replot();
    }
}
