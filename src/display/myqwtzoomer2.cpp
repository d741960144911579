#include "display/myqwtzoomer2.h"

#include "display/trackertext.h"

#include <qwt_text.h>

MyQwtZoomer2::MyQwtZoomer2(QWidget *canvas, bool doReplot)
    : QwtPlotZoomer(canvas, doReplot)
{
}

QwtText MyQwtZoomer2::trackerTextF(const QPointF &pos) const
{
    // No unit after the amplitude: it changes with the plot mode and stands in the axis title.
    return QwtText(formatTrackerText(rubberBand(), pos, 1, QStringLiteral(" s"), 1, QString()));
}
