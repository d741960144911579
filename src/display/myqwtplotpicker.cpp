#include "display/myqwtplotpicker.h"

#include "display/trackertext.h"

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
    return QwtText(formatTrackerText(rubberBand(), pos, 3, QStringLiteral(" s"), 1, QStringLiteral(" kHz")));
}
