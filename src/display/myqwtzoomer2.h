#pragma once

#include <qwt_plot_zoomer.h>

// The time plot's zoomer; with a zoom stack depth of 0 it only shows coordinates.
class MyQwtZoomer2 : public QwtPlotZoomer
{
public:
    explicit MyQwtZoomer2(QWidget *canvas, bool doReplot = true);

    QwtText trackerTextF(const QPointF &pos) const override;
};
