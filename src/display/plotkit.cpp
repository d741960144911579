#include "display/plotkit.h"

#include <QFontMetrics>
#include <QPainter>
#include <qwt_plot.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_scaleitem.h>
#include <qwt_scale_draw.h>
#include <qwt_scale_widget.h>

#include <cmath>

namespace {

// Numbers drawn inside a canvas: one at either end of the axis would stand
// half outside it, cut off by the canvas's edge (the 0 kHz at the foot of the
// spectrogram). It moves in by as much as it reaches out; the tick stays.
class InsideScaleDraw : public QwtScaleDraw
{
protected:
    void drawLabel(QPainter *painter, double value) const override
    {
        const QRect label = boundingLabelRect(painter->font(), value);
        const bool vertical = orientation() == Qt::Vertical;
        // The item lays the scale over the canvas from its first pixel to its last.
        const double first = vertical ? pos().y() : pos().x();
        const double pastLast = first + length() + 1.0;
        const double from = vertical ? label.top() : label.left();
        const double to = from + (vertical ? label.height() : label.width());
        double shift = 0.0;
        if (from < first)
            shift = first - from;
        else if (to > pastLast)
            shift = pastLast - to;
        painter->save();
        painter->translate(vertical ? QPointF(0.0, shift) : QPointF(shift, 0.0));
        QwtScaleDraw::drawLabel(painter, value);
        painter->restore();
    }
};

// The canvas length an axis needs for a text as wide as widest in its title
// font, with room for the end labels the axis draws itself.
int canvasLengthFor(const QwtPlot *plot, int axis, int widest)
{
    // The title runs between the axis's end labels, each reaching half its
    // extent past the canvas; an axis without labels leaves it the whole length.
    int endLabels = 0;
    if (plot->axisScaleDraw(axis)->hasComponent(QwtAbstractScaleDraw::Labels)) {
        const QFontMetrics labelMetrics(plot->axisWidget(axis)->font());
        const bool vertical = axis == QwtPlot::yLeft || axis == QwtPlot::yRight;
        endLabels = vertical ? labelMetrics.height() : labelMetrics.horizontalAdvance(QStringLiteral("-000"));
    }
    return widest + endLabels + 6;
}

} // namespace

namespace PlotKit {

AxisPlotColours AxisPlotColours::of(bool dark)
{
    AxisPlotColours c;
    c.canvas = dark ? QPalette(Qt::black) : QPalette(QColor(250, 250, 250));
    c.grid = QPen(dark ? QColor(255, 255, 255, 50) : QColor(0, 0, 0, 20));
    c.tracker = QPen(dark ? Qt::white : Qt::black);
    c.scaleItem = dark ? QPalette(Qt::black) : QPalette(Qt::green);
    c.band = dark ? QColor(255, 255, 255, 120) : QColor(0, 0, 0, 30);
    c.line = dark ? QColor(Qt::white) : QColor(Qt::darkGray);
    return c;
}

QFont axisFont()
{
    return QFont(QStringLiteral("MS Shell Dlg 2"), 8);
}

QwtPlotCanvas *makeCanvas(QwtPlot *plot, const QColor &colour)
{
    auto *canvas = new QwtPlotCanvas(plot);
    canvas->setPalette(QPalette(colour));
    canvas->setBorderRadius(0);
    canvas->setCursor(Qt::ArrowCursor);
    plot->setCanvas(canvas);
    return canvas;
}

void showTitleOnly(QwtPlot *plot, int axis)
{
    QwtScaleDraw *draw = plot->axisScaleDraw(axis);
    draw->enableComponent(QwtAbstractScaleDraw::Labels, false);
    draw->enableComponent(QwtAbstractScaleDraw::Ticks, false);
    draw->enableComponent(QwtAbstractScaleDraw::Backbone, false);
}

QwtPlotCurve *makeCurve(const QColor &colour, double z, QwtPlotCurve::CurveStyle style)
{
    auto *curve = new QwtPlotCurve(QString());
    curve->setPen(QPen(colour, 1));
    curve->setBrush(QBrush(colour, Qt::SolidPattern));
    curve->setStyle(style);
    curve->setZ(z);
    return curve;
}

void showCurve(QwtPlotCurve *curve, QwtPlot *plot, const QVector<QPointF> &points)
{
    curve->setSamples(points);
    curve->attach(plot);
    curve->show();
}

QwtPlotGrid *attachGrid(QwtPlot *plot, double z, bool shown)
{
    auto *grid = new QwtPlotGrid;
    grid->setZ(z);
    grid->enableX(shown);
    grid->enableY(shown);
    grid->attach(plot);
    return grid;
}

void showGrid(QwtPlotGrid *grid, bool on)
{
    grid->enableX(on);
    grid->enableY(on);
    grid->setVisible(on);
}

QwtPlotScaleItem *attachScaleItem(QwtPlot *plot, QwtScaleDraw::Alignment alignment, const QFont &font)
{
    auto *scale = new QwtPlotScaleItem(alignment, 0.0);
    auto *draw = new InsideScaleDraw;
    draw->setAlignment(alignment);
    scale->setScaleDraw(draw);
    scale->setFont(font);
    scale->setZ(1000);
    scale->attach(plot);
    return scale;
}

QwtPlotMarker *makeCursorLine(const QString &title, QwtPlotMarker::LineStyle style, Qt::PenStyle penStyle, double z)
{
    auto *marker = new QwtPlotMarker(title);
    marker->setLineStyle(style);
    marker->setLinePen(QPen(Qt::darkGray, 0, penStyle));
    marker->setValue(0.0, 0.0);
    marker->setZ(z);
    return marker;
}

QwtPlotMarker *makePlaybackLine()
{
    auto *marker = new QwtPlotMarker(QString());
    marker->setLineStyle(QwtPlotMarker::VLine);
    marker->setLinePen(QPen(Qt::red, 0, Qt::SolidLine));
    marker->setValue(0.0, 0.0);
    return marker;
}

int canvasLengthForTitles(const QwtPlot *plot, int axis, const QStringList &titles)
{
    const QFontMetrics titleMetrics(plot->axisWidget(axis)->title().font());
    int widest = 0;
    for (const QString &title : titles) {
        for (const QString &word : title.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            widest = qMax(widest, titleMetrics.horizontalAdvance(word));
    }
    return canvasLengthFor(plot, axis, widest);
}

int canvasLengthForOneLineTitles(const QwtPlot *plot, int axis, const QStringList &titles)
{
    const QFontMetricsF titleMetrics(plot->axisWidget(axis)->title().font());
    double widest = 0.0;
    for (const QString &title : titles)
        widest = qMax(widest, titleMetrics.horizontalAdvance(title));
    return canvasLengthFor(plot, axis, int(std::ceil(widest)));
}

void deleteItemsOffPlot(std::initializer_list<QwtPlotItem *> items)
{
    for (QwtPlotItem *item : items) {
        if (item && !item->plot())
            delete item;
    }
}

} // namespace PlotKit
