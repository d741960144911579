#include "display/trackertext.h"

#include <QLocale>
#include <QPointF>

QString formatTrackerText(QwtPicker::RubberBand band, const QPointF &pos, int xDecimals, const QString &xUnit,
                    int yDecimals, const QString &yUnit)
{
    const QLocale locale;
    switch (band) {
    case QwtPicker::HLineRubberBand:
        return locale.toString(pos.y(), 'f', 4);
    case QwtPicker::VLineRubberBand:
        return locale.toString(pos.x(), 'f', 4);
    default:
        return locale.toString(pos.x(), 'f', xDecimals) + xUnit + QLatin1Char('\n')
            + locale.toString(pos.y(), 'f', yDecimals) + yUnit;
    }
}
