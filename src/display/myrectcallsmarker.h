#pragma once

#include "analysis/mybatcall.h"

#include <QString>
#include <qwt_plot_item.h>

/**
 * The box of one detected call on the spectrogram, with its start and end
 * frequency and duration written in a white panel near the canvas top.
 */
class MyRectCallsMarker : public QwtPlotItem
{
public:
    MyRectCallsMarker();
    ~MyRectCallsMarker() override;

    void setCall(const MyBatCall &call);
    const MyBatCall &callValue() const { return call; }

    void draw(QPainter *painter, const QwtScaleMap &xMap, const QwtScaleMap &yMap,
              const QRectF &canvasRect) const override;

    // Number formats are fixed ('.' separator) as the panel has always shown them.
    static QString callText(const MyBatCall &call);

private:
    MyBatCall call;
};
