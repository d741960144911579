#pragma once

#include <QPointF>
#include <qwt_plot_picker.h>

// The spectrogram's always-on read-out. Every tracker update also reports the
// cursor position in seconds and kHz, which drives picker arbitration and the
// call hover.
class MyQwtPlotPicker : public QwtPlotPicker
{
    Q_OBJECT
public:
    explicit MyQwtPlotPicker(QWidget *canvas);

    QwtText trackerTextF(const QPointF &pos) const override;

signals:
    void mouseMoved(QPointF pos);
};
