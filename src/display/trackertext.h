#pragma once

#include <QString>
#include <qwt_picker.h>

class QPointF;

/**
 * The coordinate read-out of the plots' zoomers and of the spectrogram picker.
 * While a horizontal (vertical) line rubber band is drawn only its y (x)
 * value shows, with 4 decimals; otherwise x with xDecimals and xUnit, a line
 * break, and y with yDecimals and yUnit. Numbers follow the default locale.
 */
QString formatTrackerText(QwtPicker::RubberBand band, const QPointF &pos, int xDecimals, const QString &xUnit,
                          int yDecimals, const QString &yUnit);

/**
 * The read-out while a line rubber band is drawn: y of a horizontal line, x of
 * a vertical one, with 4 decimals in the default locale. A null string for
 * every other band, whose text each picker builds itself.
 */
QString lineRubberBandText(QwtPicker::RubberBand band, const QPointF &pos);
