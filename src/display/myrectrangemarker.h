#pragma once

#include <QString>
#include <qwt_interval.h>
#include <qwt_plot_item.h>

class QLocale;
class QwtScaleMap;

/**
 * The measurement rectangle on the spectrogram, labelled with its corner
 * times and frequencies, its duration and its bandwidth.
 * xInterval is in seconds (start, end); yInterval in kHz with the upper
 * frequency as its first value and the lower one as its second.
 */
class MyRectRangeMarker : public QwtPlotItem
{
public:
    MyRectRangeMarker();
    ~MyRectRangeMarker() override;

    void setIntervals(const QwtInterval &x, const QwtInterval &y);
    void setXInterval(const QwtInterval &x);
    void setYInterval(const QwtInterval &y);

    QwtInterval xIntervalValue() const { return xInterval; }
    QwtInterval yIntervalValue() const { return yInterval; }

    void draw(QPainter *painter, const QwtScaleMap &xMap, const QwtScaleMap &yMap,
              const QRectF &canvasRect) const override;

    // The four texts drawn around the rectangle. They show the values that
    // the rounded pixels stand for, so that labels and box agree.
    struct Texts {
        QString duration;  // under the box
        QString bandwidth; // right of the box
        QString start;     // above the upper-left corner
        QString end;       // below the lower-right corner
    };
    static Texts texts(const QwtInterval &x, const QwtInterval &y, const QwtScaleMap &xMap, const QwtScaleMap &yMap,
                       const QLocale &locale);

    static QString durationText(double seconds, const QLocale &locale);
    static QString bandwidthText(double upperKHz, double lowerKHz, const QLocale &locale);
    static QString cornerText(double seconds, double kHz, const QLocale &locale);

private:
    QwtInterval xInterval;
    QwtInterval yInterval;
};
