#pragma once

#include <qwt_plot_zoomer.h>

// The frequency plot's zoomer; with a zoom stack depth of 0 it only shows coordinates.
class MyQwtZoomer10 : public QwtPlotZoomer
{
public:
    explicit MyQwtZoomer10(QWidget *canvas, bool doReplot = true);

    QwtText trackerTextF(const QPointF &pos) const override;
};
