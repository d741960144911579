#include "display/myrectcallsmarker.h"

#include <QPainter>
#include <qwt_scale_map.h>

MyRectCallsMarker::MyRectCallsMarker()
    : QwtPlotItem(QwtText())
{
    setZ(0);
}

MyRectCallsMarker::~MyRectCallsMarker() = default;

void MyRectCallsMarker::setCall(const MyBatCall &c)
{
    call = c;
}

QString MyRectCallsMarker::callText(const MyBatCall &c)
{
    return QStringLiteral(" Start Frequency: ") + QString::number(c.startFreq, 'f', 3)
           + QStringLiteral(" kHz \n End Frequency: ") + QString::number(c.endFreq, 'f', 3)
           + QStringLiteral(" kHz \n Duration: ") + QString::number(c.duration * 1000.0, 'f', 0)
           + QStringLiteral(" ms");
}

void MyRectCallsMarker::draw(QPainter *painter, const QwtScaleMap &xMap, const QwtScaleMap &yMap,
                             const QRectF &canvasRect) const
{
    const QRectF &r = call.rect;
    const int x1 = qRound(xMap.transform(r.left()));
    const int x2 = qRound(xMap.transform(r.right()));
    const int yLow = qRound(yMap.transform(r.y()));
    const int yHigh = qRound(yMap.transform(r.y() + r.height()));

    painter->setPen(QPen(QBrush(Qt::white), 1, Qt::DashLine, Qt::SquareCap, Qt::BevelJoin));
    painter->drawRect(x1, yHigh, x2 - x1, yLow - yHigh);

    QFont font = painter->font();
    font.setWeight(75);
    painter->setFont(font);
    painter->setPen(QPen(Qt::black));
    const QRect box(x1 - 50, qRound(canvasRect.top()) + 10, (x2 - x1) + 100, qRound(canvasRect.height()) - 10);
    const int flags = Qt::AlignHCenter | Qt::AlignTop;
    const QString text = callText(call);
    // Draw once to learn the text's extent, back it with a light panel so it
    // stays readable over the spectrogram, then draw it again on top.
    QRect bounding;
    painter->drawText(box, flags, text, &bounding);
    painter->fillRect(bounding, QColor(255, 255, 255, 200));
    painter->drawText(box, flags, text);
}
