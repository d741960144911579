#include "display/spectrograminteraction.h"

#include "common/settingskeys.h"
#include "display/myqwtzoomer.h"
#include "display/myrectcallsmarker.h"
#include "display/myrectrangemarker.h"

#include <QAction>
#include <QWidget>
#include <cmath>
#include <qwt_plot.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_picker.h>
#include <qwt_plot_zoomer.h>
#include <qwt_scale_map.h>
#include <qwt_text.h>

SpectrogramInteraction::SpectrogramInteraction(const Wiring &wiring, QObject *parent)
    : QObject(parent)
    , p(wiring)
    , d(wiring.plot ? wiring.plot->items() : SpectrogramPlot::Items())
{
}

QwtPlotPicker *SpectrogramInteraction::picker(int slot) const
{
    switch (slot) {
    case Marker1:
    case Marker2:
    case Marker3:
        return d.markerPickers[size_t(slot - Marker1)];
    case Left:
        return d.leftEdgePicker;
    case Right:
        return d.rightEdgePicker;
    case Top:
        return d.topEdgePicker;
    case Bottom:
        return d.bottomEdgePicker;
    case Zoomer:
        return d.zoomer;
    case Selection:
        return d.selectionPicker;
    default:
        return nullptr;
    }
}

bool SpectrogramInteraction::anotherPickerActive(int slot) const
{
    for (int s = 0; s < SlotCount; ++s) {
        if (s != slot && picker(s) && picker(s)->isActive())
            return true;
    }
    return false;
}

void SpectrogramInteraction::enableOnly(int slot)
{
    for (int s = 0; s < SlotCount; ++s) {
        if (picker(s))
            picker(s)->setEnabled(s == slot);
    }
}

void SpectrogramInteraction::setCanvasCursor(Qt::CursorShape shape)
{
    if (p.plot && p.plot->canvas())
        p.plot->canvas()->setCursor(shape);
}

void SpectrogramInteraction::replot()
{
    if (p.plot)
        p.plot->replot();
}

QPointF SpectrogramInteraction::tolerances() const
{
    if (!p.plot)
        return QPointF();
    const QwtScaleMap xMap = p.plot->canvasMap(QwtPlot::xBottom);
    const QwtScaleMap yMap = p.plot->canvasMap(QwtPlot::yLeft);
    double dx = 2.0 * std::abs(xMap.invTransform(2) - xMap.invTransform(0));
    double dy = 2.0 * std::abs(yMap.invTransform(2) - yMap.invTransform(0));
    // On a tall spectrogram a pixel is worth less: grab from further away.
    if (p.sizeFrame && p.sizeFrame->height() > 500) {
        dx *= 2.0;
        dy *= 2.0;
    }
    return QPointF(dx, dy);
}

void SpectrogramInteraction::mouseMoved(QPointF point)
{
    // A marker or edge being dragged keeps its picker until the button is
    // released, even where the cursor runs ahead of a snapped marker.
    for (int s = Marker1; s <= Bottom; ++s) {
        if (picker(s) && picker(s)->isActive())
            return;
    }

    const QPointF tol = tolerances();
    const double dx = tol.x();
    const double dy = tol.y();
    const double t = point.x();
    const double f = point.y();

    if (readSetting(SettingKeys::markerInteractive) != 0) {
        for (int k = 0; k < 3; ++k) {
            QwtPlotMarker *marker = d.frequencyMarkers[size_t(k)];
            if (!marker || !picker(Marker1 + k))
                continue;
            const QAction *action = p.markerActions[size_t(k)];
            const bool shown = action ? action->isChecked() : marker->isVisible();
            if (shown && std::abs(f - marker->yValue()) < dy && !anotherPickerActive(Marker1 + k)) {
                setCanvasCursor(Qt::SizeVerCursor);
                enableOnly(Marker1 + k);
                return;
            }
        }
    }

    if (d.measurement && d.measurement->isVisible()) {
        const double start = d.measurement->xIntervalValue().minValue();
        const double end = d.measurement->xIntervalValue().maxValue();
        const double upper = d.measurement->yIntervalValue().minValue();
        const double lower = d.measurement->yIntervalValue().maxValue();
        const bool withinHeight = f > lower + dy && f < upper - dy;
        const bool withinWidth = t > start + dx && t < end - dx;
        struct Edge {
            int slot;
            bool hit;
            Qt::CursorShape cursor;
        };
        const Edge edges[] = {
            {Left, std::abs(t - start) < dx && withinHeight, Qt::SizeHorCursor},
            {Right, std::abs(t - end) < dx && withinHeight, Qt::SizeHorCursor},
            {Top, std::abs(f - upper) < dy && withinWidth, Qt::SizeVerCursor},
            {Bottom, std::abs(f - lower) < dy && withinWidth, Qt::SizeVerCursor},
        };
        for (const Edge &e : edges) {
            if (e.hit && picker(e.slot) && !anotherPickerActive(e.slot)) {
                setCanvasCursor(e.cursor);
                enableOnly(e.slot);
                return;
            }
        }
    }

    setCanvasCursor(Qt::ArrowCursor);
    for (int s = Marker1; s <= Bottom; ++s) {
        if (picker(s))
            picker(s)->setEnabled(false);
    }
    // The zoomer stays off while a selection is being drawn (deactivateZoomer).
    const bool selecting = d.selectionPicker && d.selectionPicker->isActive();
    if (d.zoomer)
        d.zoomer->setEnabled(!selecting);
    if (d.selectionPicker)
        d.selectionPicker->setEnabled(true);
    hoverCalls(point, tol * 4.0);
}

void SpectrogramInteraction::hoverCalls(const QPointF &point, const QPointF &tolerance)
{
    if (!d.callBox || !p.batCalls)
        return;
    const bool categorize = p.categorizationAction && p.categorizationAction->isChecked();
    for (const MyBatCall &call : *p.batCalls) {
        const QRectF area =
            call.rect.normalized().adjusted(-tolerance.x(), -tolerance.y(), tolerance.x(), tolerance.y());
        if (categorize && area.contains(point)) {
            d.callBox->setCall(call);
            d.callBox->show();
            replot();
            return;
        }
        // Replot only when the box actually disappears: this runs on every mouse move.
        if (d.callBox->isVisible()) {
            d.callBox->hide();
            replot();
        }
    }
}

void SpectrogramInteraction::deactivateZoomer(bool on)
{
    if (d.zoomer)
        d.zoomer->setEnabled(!on);
}

void SpectrogramInteraction::plotSelectionRect(const QPolygon &polygon)
{
    if (!p.plot || !d.measurement || polygon.isEmpty())
        return;
    const QPoint a = polygon.first();
    const QPoint b = polygon.last();
    // Whichever way the rectangle was drawn, time runs left to right and the
    // upper frequency (the smaller pixel row) comes first.
    const double start = p.plot->invTransform(QwtPlot::xBottom, qMin(a.x(), b.x()));
    const double end = p.plot->invTransform(QwtPlot::xBottom, qMax(a.x(), b.x()));
    const double upper = p.plot->invTransform(QwtPlot::yLeft, qMin(a.y(), b.y()));
    const double lower = p.plot->invTransform(QwtPlot::yLeft, qMax(a.y(), b.y()));
    d.measurement->setIntervals(QwtInterval(start, end), QwtInterval(upper, lower));
    d.measurement->show();
    replot();
}

// An edge dragged across its opposite stops there: a rectangle turned inside
// out would show a negative duration or bandwidth, and its edges could no
// longer be grabbed (the cursor is never between lower + dy and upper - dy).
void SpectrogramInteraction::moveSelectorLeft(const QPoint &point)
{
    if (!p.plot || !d.measurement)
        return;
    const QwtInterval x = d.measurement->xIntervalValue();
    const double t = qMin(p.plot->invTransform(QwtPlot::xBottom, point.x()), x.maxValue());
    d.measurement->setXInterval(QwtInterval(t, x.maxValue()));
    replot();
}

void SpectrogramInteraction::moveSelectorRight(const QPoint &point)
{
    if (!p.plot || !d.measurement)
        return;
    const QwtInterval x = d.measurement->xIntervalValue();
    const double t = qMax(p.plot->invTransform(QwtPlot::xBottom, point.x()), x.minValue());
    d.measurement->setXInterval(QwtInterval(x.minValue(), t));
    replot();
}

void SpectrogramInteraction::moveSelectorTop(const QPoint &point)
{
    if (!p.plot || !d.measurement)
        return;
    const QwtInterval y = d.measurement->yIntervalValue();
    const double f = qMax(p.plot->invTransform(QwtPlot::yLeft, point.y()), y.maxValue());
    d.measurement->setYInterval(QwtInterval(f, y.maxValue()));
    replot();
}

void SpectrogramInteraction::moveSelectorBottom(const QPoint &point)
{
    if (!p.plot || !d.measurement)
        return;
    const QwtInterval y = d.measurement->yIntervalValue();
    const double f = qMin(p.plot->invTransform(QwtPlot::yLeft, point.y()), y.minValue());
    d.measurement->setYInterval(QwtInterval(y.minValue(), f));
    replot();
}

void SpectrogramInteraction::moveMarker1(const QPointF &point)
{
    moveMarker(0, point);
}

void SpectrogramInteraction::moveMarker2(const QPointF &point)
{
    moveMarker(1, point);
}

void SpectrogramInteraction::moveMarker3(const QPointF &point)
{
    moveMarker(2, point);
}

void SpectrogramInteraction::moveMarker(int marker, const QPointF &point)
{
    if (marker < 0 || marker > 2 || !p.plot)
        return;
    QwtPlotMarker *m = d.frequencyMarkers[size_t(marker)];
    if (!m)
        return;
    const QwtInterval visible = p.plot->axisInterval(QwtPlot::yLeft).normalized();
    const double y = point.y();
    // Half-kilohertz steps are fine enough to read a call's frequency off the marker.
    const double rounded = std::floor(2.0 * y + 0.5) * 0.5;
    double kHz;
    if (y > visible.maxValue())
        kHz = visible.maxValue();
    else if (y < visible.minValue())
        kHz = visible.minValue();
    else
        kHz = qBound(visible.minValue(), rounded, visible.maxValue());
    p.plot->setFrequencyMarker(marker, kHz);
    replot();
    writeSetting(SettingKeys::valueMarkers[size_t(marker)], kHz);
    emit markerValueStored(marker, kHz);
}
