#pragma once

#include <qwt_plot_curve.h>

/**
 * The grey bars of valid hours behind the activity curves: a curve filled down
 * to its baseline. A year of daily bars is one polygon of some 1,500 corners
 * that rises and falls back to the baseline hundreds of times, and the raster
 * painter needs hundreds of milliseconds to fill such a polygon at once, on
 * every paint of the chart. Filled bar by bar it takes a few milliseconds.
 *
 * The fill is cut at every corner that lies on the lowest level the polygon
 * reaches (its baseline, or what stands for zero on a logarithmic axis), and
 * each piece is closed to the baseline on its own. For a curve whose x never
 * goes back, as every valid-hours curve's does, the pieces cover exactly what
 * the whole polygon covers.
 */
class ValidHoursCurve : public QwtPlotCurve
{
public:
    explicit ValidHoursCurve(const QString &title);

protected:
    void fillCurve(QPainter *painter, const QwtScaleMap &xMap, const QwtScaleMap &yMap, const QRectF &canvasRect,
                   QPolygonF &polygon) const override;
};
