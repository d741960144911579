#pragma once

#include <qwt_plot_zoomer.h>

// The spectrogram's zoomer: seconds and kHz read-out; the rubber band stays
// inside the canvas. The activity plots' left-axis zoomers keep theirs there by
// the same rule, clampedToCanvas.
class MyQwtZoomer : public QwtPlotZoomer
{
public:
    explicit MyQwtZoomer(QWidget *canvas, bool doReplot = true);

    QwtText trackerTextF(const QPointF &pos) const override;

    // pos moved onto the nearest pixel of the canvas's contents rectangle
    // (unchanged without a canvas), so that a drag past the border zooms to it.
    static QPoint clampedToCanvas(const QWidget *canvas, const QPoint &pos);

protected:
    void move(const QPoint &pos) override;
};
