#pragma once

#include <qwt_plot_zoomer.h>

// The spectrogram's zoomer: seconds and kHz read-out; the rubber band stays
// inside the canvas. The activity plots' zoomers derive from it for that clamp.
class MyQwtZoomer : public QwtPlotZoomer
{
public:
    explicit MyQwtZoomer(QWidget *canvas, bool doReplot = true);

    QwtText trackerTextF(const QPointF &pos) const override;

protected:
    void move(const QPoint &pos) override;
};
