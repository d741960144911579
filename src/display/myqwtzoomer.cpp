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

void MyQwtZoomer::move(const QPoint &pos)
{
    const QWidget *w = parentWidget();
    if (!w) {
        QwtPlotZoomer::move(pos);
        return;
    }
    const QRect r = w->contentsRect();
    QwtPlotZoomer::move(QPoint(qBound(r.left(), pos.x(), r.right()), qBound(r.top(), pos.y(), r.bottom())));
}
