#pragma once

#include <QMetaType>
#include <QRectF>
#include <QString>

/**
 * One detected call: its measurements (frequencies in kHz, duration in
 * seconds), its label and its box in plot coordinates (x start in s, y lower
 * frequency in kHz). Copied by value across threads.
 */
class MyBatCall
{
public:
    MyBatCall() = default;
    MyBatCall(const QRectF &rect, double startFreq, double endFreq, double maxFreq, double minFreq, double centroid,
              int switchCount, int zeroCount, int posHist, int negHist, double duration, const QString &batClass)
        : startFreq(startFreq)
        , endFreq(endFreq)
        , maxFreq(maxFreq)
        , minFreq(minFreq)
        , centroid(centroid)
        , switchCount(switchCount)
        , zeroCount(zeroCount)
        , posHist(posHist)
        , negHist(negHist)
        , duration(duration)
        , batClass(batClass)
        , rect(rect)
    {
    }

    double startFreq = 0.0;
    double endFreq = 0.0;
    double maxFreq = 0.0;
    double minFreq = 0.0;
    double centroid = 0.0;
    int switchCount = 0;
    int zeroCount = 0;
    int posHist = 0;
    int negHist = 0;
    double duration = 0.0;
    QString batClass;
    QRectF rect;
};

Q_DECLARE_METATYPE(MyBatCall)
