#include "display/myqwtzoomer10.h"

#include "display/trackertext.h"

#include <qwt_text.h>

MyQwtZoomer10::MyQwtZoomer10(QWidget *canvas, bool doReplot)
    : QwtPlotZoomer(canvas, doReplot)
{
}

QwtText MyQwtZoomer10::trackerTextF(const QPointF &pos) const
{
    // x is the level in dB here, y the frequency.
    return QwtText(formatTrackerText(rubberBand(), pos, 1, QString(), 1, QStringLiteral(" kHz")));
}
