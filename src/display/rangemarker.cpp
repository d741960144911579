#include "display/rangemarker.h"

#include <QPainter>
#include <qwt_scale_map.h>

RangeMarker::RangeMarker(int orientation)
    : QwtPlotItem(QwtText())
    , orientation(orientation)
{
    setZ(0);
}

RangeMarker::~RangeMarker() = default;

void RangeMarker::setColor(const QColor &c)
{
    color = c;
}

void RangeMarker::setInterval(const QwtInterval &i)
{
    interval = i;
}

void RangeMarker::draw(QPainter *painter, const QwtScaleMap &xMap, const QwtScaleMap &yMap,
                       const QRectF &canvasRect) const
{
    // Equal ends give a band of no width: nothing visible is drawn.
    if (interval.minValue() == interval.maxValue())
        return;
    if (orientation == 0) {
        const int x1 = qRound(xMap.transform(interval.minValue()));
        const int x2 = qRound(xMap.transform(interval.maxValue()));
        painter->fillRect(QRectF(x1, canvasRect.top(), x2 - x1, canvasRect.height()), QBrush(color));
    } else {
        // The lower value maps to the larger pixel row.
        const int y1 = qRound(yMap.transform(interval.minValue()));
        const int y2 = qRound(yMap.transform(interval.maxValue()));
        painter->fillRect(QRectF(canvasRect.left(), y2, canvasRect.width(), y1 - y2), QBrush(color));
    }
}
