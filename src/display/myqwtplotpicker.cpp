#include "display/myqwtplotpicker.h"

#include <QLocale>
#include <qwt_text.h>

MyQwtPlotPicker::MyQwtPlotPicker(QWidget *canvas)
    : QwtPlotPicker(canvas)
{
}

QwtText MyQwtPlotPicker::trackerTextF(const QPointF &pos) const
{
    // The tracker is asked for its text on every mouse move over the canvas:
    // the cheapest hook for a move signal in plot coordinates.
    emit const_cast<MyQwtPlotPicker *>(this)->mouseMoved(pos);
    const QLocale locale;
    switch (rubberBand()) {
    case HLineRubberBand:
        return QwtText(locale.toString(pos.y(), 'f', 4));
    case VLineRubberBand:
        return QwtText(locale.toString(pos.x(), 'f', 4));
    default:
        return QwtText(locale.toString(pos.x(), 'f', 3) + QStringLiteral(" s\n") + locale.toString(pos.y(), 'f', 1)
                       + QStringLiteral(" kHz"));
    }
}
