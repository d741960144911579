#include "display/myqwtzoomer.h"

#include <QLocale>
#include <QWidget>
#include <qwt_text.h>

MyQwtZoomer::MyQwtZoomer(QWidget *canvas, bool doReplot)
    : QwtPlotZoomer(canvas, doReplot)
{
}

QwtText MyQwtZoomer::trackerTextF(const QPointF &pos) const
{
    const QLocale locale;
    switch (rubberBand()) {
    case HLineRubberBand:
        return QwtText(locale.toString(pos.y(), 'f', 4));
    case VLineRubberBand:
        return QwtText(locale.toString(pos.x(), 'f', 4));
    default:
        return QwtText(locale.toString(pos.x(), 'f', 3) + QStringLiteral(" s\n") + locale.toString(pos.y(), 'f', 3)
                       + QStringLiteral(" kHz"));
    }
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
