#pragma once

#include <qwt_plot_curve.h>

/**
 * A curve that leaves out every sample whose y equals the gap value and draws
 * each run of the other samples as a curve of its own, so that no line joins
 * the points on either side of a gap. Sun curves use -1 (no sunrise or sunset
 * that day); activity curves use 0 on logarithmic axes, -1 on linear ones.
 * Plain floating-point equality: a NaN never marks a gap.
 */
class QwtPlotGappedCurve : public QwtPlotCurve
{
public:
    QwtPlotGappedCurve(const QString &title, double gapValue);

    /** The y value that breaks the line. */
    double gap() const { return gapValue; }

    void drawSeries(QPainter *painter, const QwtScaleMap &xMap, const QwtScaleMap &yMap, const QRectF &canvasRect,
                    int from, int to) const override;

private:
    double gapValue;
};
