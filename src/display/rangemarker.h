#pragma once

#include <QColor>
#include <qwt_interval.h>
#include <qwt_plot_item.h>

/**
 * Shades a band of an axis plot across the whole canvas: the stretch of time
 * or frequency that lies outside the spectrogram's visible span.
 * Orientation 0 shades an interval of the bottom axis (a vertical band),
 * orientation 1 an interval of the left axis (a horizontal band).
 * The setters do not replot; callers do.
 */
class RangeMarker : public QwtPlotItem
{
public:
    explicit RangeMarker(int orientation);
    ~RangeMarker() override;

    void setColor(const QColor &color);
    void setInterval(const QwtInterval &interval);

    QColor colorValue() const { return color; }
    QwtInterval intervalValue() const { return interval; }

    void draw(QPainter *painter, const QwtScaleMap &xMap, const QwtScaleMap &yMap,
              const QRectF &canvasRect) const override;

private:
    QwtInterval interval{0.0, 0.0};
    int orientation;
    QColor color{Qt::black};
};
