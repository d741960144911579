#include "activity/validhourscurve.h"

#include <cmath>
#include <qwt_scale_map.h>
#include <qwt_transform.h>

ValidHoursCurve::ValidHoursCurve(const QString &title)
    : QwtPlotCurve(title)
{
}

void ValidHoursCurve::fillCurve(QPainter *painter, const QwtScaleMap &xMap, const QwtScaleMap &yMap,
                                const QRectF &canvasRect, QPolygonF &polygon) const
{
    if (polygon.size() <= 2 || orientation() != Qt::Vertical) {
        QwtPlotCurve::fillCurve(painter, xMap, yMap, canvasRect, polygon);
        return;
    }
    // The corner nearest to the baseline in pixels marks the lowest level.
    const double baselineY =
        yMap.transform(yMap.transformation() ? yMap.transformation()->bounded(baseline()) : baseline());
    double lowest = polygon.first().y();
    for (const QPointF &p : polygon) {
        if (std::abs(p.y() - baselineY) < std::abs(lowest - baselineY))
            lowest = p.y();
    }
    // A piece along the lowest level still covers the strip down to the baseline when the two differ.
    QPolygonF piece;
    for (const QPointF &p : polygon) {
        piece << p;
        if (p.y() != lowest || piece.size() < 2)
            continue;
        QwtPlotCurve::fillCurve(painter, xMap, yMap, canvasRect, piece);
        piece.clear();
        piece << p;
    }
    if (piece.size() >= 2)
        QwtPlotCurve::fillCurve(painter, xMap, yMap, canvasRect, piece);
}
