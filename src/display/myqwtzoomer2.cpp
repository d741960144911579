#include "display/myqwtzoomer2.h"

#include <QLocale>
#include <qwt_text.h>

MyQwtZoomer2::MyQwtZoomer2(QWidget *canvas, bool doReplot)
    : QwtPlotZoomer(canvas, doReplot)
{
}

QwtText MyQwtZoomer2::trackerTextF(const QPointF &pos) const
{
    const QLocale locale;
    switch (rubberBand()) {
    case HLineRubberBand:
        return QwtText(locale.toString(pos.y(), 'f', 4));
    case VLineRubberBand:
        return QwtText(locale.toString(pos.x(), 'f', 4));
    default:
        // The amplitude axis has no unit of its own (fraction of full scale).
        return QwtText(locale.toString(pos.x(), 'f', 1) + QStringLiteral(" s\n") + locale.toString(pos.y(), 'f', 1));
    }
}
