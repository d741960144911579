#include "display/trackertext.h"

#include <QLocale>
#include <QPointF>

QString formatTrackerText(QwtPicker::RubberBand band, const QPointF &pos, int xDecimals, const QString &xUnit,
                          int yDecimals, const QString &yUnit)
{
    const QString line = lineRubberBandText(band, pos);
    if (!line.isNull())
        return line;
    const QLocale locale;
    return locale.toString(pos.x(), 'f', xDecimals) + xUnit + QLatin1Char('\n')
           + locale.toString(pos.y(), 'f', yDecimals) + yUnit;
}

QString lineRubberBandText(QwtPicker::RubberBand band, const QPointF &pos)
{
    switch (band) {
    case QwtPicker::HLineRubberBand:
        return QLocale().toString(pos.y(), 'f', 4);
    case QwtPicker::VLineRubberBand:
        return QLocale().toString(pos.x(), 'f', 4);
    default:
        return QString();
    }
}
