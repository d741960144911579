#include "activity/qwtplotgappedcurve.h"

QwtPlotGappedCurve::QwtPlotGappedCurve(const QString &title, double gapValue)
    : QwtPlotCurve(title)
    , gapValue(gapValue)
{
}

void QwtPlotGappedCurve::drawSeries(QPainter *painter, const QwtScaleMap &xMap, const QwtScaleMap &yMap,
                                    const QRectF &canvasRect, int from, int to) const
{
    if (!painter || dataSize() == 0)
        return;
    if (to < 0)
        to = int(dataSize()) - 1;
    const auto isGap = [this](int i) { return sample(size_t(i)).y() == gapValue; };
    int i = from;
    while (i < to) {
        while (i < to && isGap(i))
            ++i;
        const int start = i;
        while (i < to && !isGap(i))
            ++i;
        // The last sample belongs to the final run unless it is a gap itself.
        const int end = isGap(i) ? i - 1 : i;
        if (start <= end)
            QwtPlotCurve::drawSeries(painter, xMap, yMap, canvasRect, start, end);
    }
}
