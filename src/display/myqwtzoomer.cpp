#include "display/myqwtzoomer.h"

#include "display/trackertext.h"

#include <QWidget>
#include <qwt_text.h>

MyQwtZoomer::MyQwtZoomer(QWidget *canvas, bool doReplot)
    : QwtPlotZoomer(canvas, doReplot)
{
}

QwtText MyQwtZoomer::trackerTextF(const QPointF &pos) const
{
    return QwtText(formatTrackerText(rubberBand(), pos, 3, QStringLiteral(" s"), 3, QStringLiteral(" kHz")));
}

QPoint MyQwtZoomer::clampedToCanvas(const QWidget *canvas, const QPoint &pos)
{
    if (!canvas)
        return pos;
    const QRect r = canvas->contentsRect();
    return QPoint(qBound(r.left(), pos.x(), r.right()), qBound(r.top(), pos.y(), r.bottom()));
}

void MyQwtZoomer::move(const QPoint &pos)
{
    QwtPlotZoomer::move(clampedToCanvas(parentWidget(), pos));
}
