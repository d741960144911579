#include "display/myqwtzoomer10.h"

#include <QLocale>
#include <qwt_text.h>

MyQwtZoomer10::MyQwtZoomer10(QWidget *canvas, bool doReplot)
    : QwtPlotZoomer(canvas, doReplot)
{
}

QwtText MyQwtZoomer10::trackerTextF(const QPointF &pos) const
{
    const QLocale locale;
    switch (rubberBand()) {
    case HLineRubberBand:
        return QwtText(locale.toString(pos.y(), 'f', 4));
    case VLineRubberBand:
        return QwtText(locale.toString(pos.x(), 'f', 4));
    default:
        // x is the level in dB here, y the frequency.
        return QwtText(locale.toString(pos.x(), 'f', 1) + QStringLiteral("\n") + locale.toString(pos.y(), 'f', 1)
                       + QStringLiteral(" kHz"));
    }
}
