#include "display/myrectrangemarker.h"

#include <QLocale>
#include <QPainter>
#include <qwt_scale_map.h>

MyRectRangeMarker::MyRectRangeMarker()
    : QwtPlotItem(QwtText())
{
    setZ(0);
}

MyRectRangeMarker::~MyRectRangeMarker() = default;

void MyRectRangeMarker::setIntervals(const QwtInterval &x, const QwtInterval &y)
{
    xInterval = x;
    yInterval = y;
}

void MyRectRangeMarker::setXInterval(const QwtInterval &x)
{
    xInterval = x;
}

void MyRectRangeMarker::setYInterval(const QwtInterval &y)
{
    yInterval = y;
}

QString MyRectRangeMarker::durationText(double seconds, const QLocale &locale)
{
    if (seconds < 1.0)
        return locale.toString(seconds * 1000.0, 'f', 0) + QStringLiteral(" ms");
    return locale.toString(seconds, 'f', 3) + QStringLiteral(" s");
}

QString MyRectRangeMarker::bandwidthText(double upperKHz, double lowerKHz, const QLocale &locale)
{
    return locale.toString(upperKHz - lowerKHz, 'f', 3) + QStringLiteral(" kHz");
}

QString MyRectRangeMarker::cornerText(double seconds, double kHz, const QLocale &locale)
{
    return locale.toString(seconds, 'f', 3) + QStringLiteral(" s\n") + locale.toString(kHz, 'f', 3)
           + QStringLiteral(" kHz");
}

MyRectRangeMarker::Texts MyRectRangeMarker::texts(const QwtInterval &x, const QwtInterval &y, const QwtScaleMap &xMap,
                                                  const QwtScaleMap &yMap, const QLocale &locale)
{
    const int x1 = qRound(xMap.transform(x.minValue()));
    const int x2 = qRound(xMap.transform(x.maxValue()));
    const int y1 = qRound(yMap.transform(y.minValue()));
    const int y2 = qRound(yMap.transform(y.maxValue()));
    const double t1 = xMap.invTransform(x1);
    const double t2 = xMap.invTransform(x2);
    const double f1 = yMap.invTransform(y1);
    const double f2 = yMap.invTransform(y2);
    Texts t;
    t.duration = durationText(t2 - t1, locale);
    t.bandwidth = bandwidthText(f1, f2, locale);
    t.start = cornerText(t1, f1, locale);
    t.end = cornerText(t2, f2, locale);
    return t;
}

void MyRectRangeMarker::draw(QPainter *painter, const QwtScaleMap &xMap, const QwtScaleMap &yMap, const QRectF &) const
{
    const QPen pen(QBrush(Qt::red), 2, Qt::DashLine, Qt::SquareCap, Qt::BevelJoin);
    painter->setPen(pen);

    const int x1 = qRound(xMap.transform(xInterval.minValue()));
    const int x2 = qRound(xMap.transform(xInterval.maxValue()));
    const int y1 = qRound(yMap.transform(yInterval.minValue())); // upper frequency
    const int y2 = qRound(yMap.transform(yInterval.maxValue())); // lower frequency
    painter->drawRect(x1, y1, x2 - x1, y2 - y1);

    const Texts t = texts(xInterval, yInterval, xMap, yMap, QLocale());
    painter->drawText(QRect(x1 - 50, y2 + 5, (x2 - x1) + 100, 40), Qt::AlignHCenter | Qt::AlignTop, t.duration);
    painter->drawText(QRect(x2 + 5, y1 + (y2 - y1) / 2 - 10, 200, 20), Qt::AlignLeft | Qt::AlignVCenter, t.bandwidth);
    painter->drawText(QRect(x1 - 200, y1 - 45, 195, 40), Qt::AlignRight | Qt::AlignBottom, t.start);
    painter->drawText(QRect(x2 + 5, y2 + 5, 200, 40), Qt::AlignLeft | Qt::AlignTop, t.end);
}
