#include "display/frequencyplot.h"

#include "display/axisplotmode.h"
#include "display/cursorcurves.h"
#include "display/myqwtzoomer10.h"
#include "display/plotkit.h"
#include "display/powerspectraldensity.h"
#include "display/rangemarker.h"

#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_layout.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_scaleitem.h>
#include <qwt_scale_div.h>
#include <qwt_scale_draw.h>

FrequencyPlot::FrequencyPlot(bool gridShown, QWidget *parent)
    : QwtPlot(parent)
{
    using namespace PlotKit;
    const QFont font = PlotKit::axisFont();
    Items &d = m_items;

    d.curve = makeCurve(green, 100, QwtPlotCurve::Lines);
    d.curve->setOrientation(Qt::Horizontal);
    d.curve->attach(this);
    setContentsMargins(0, 0, 0, 0);
    plotLayout()->setAlignCanvasToScales(true);
    enableAxis(QwtPlot::xBottom, true);
    setAxisFont(QwtPlot::xBottom, font);
    setAxisMaxMajor(QwtPlot::xBottom, 5);
    enableAxis(QwtPlot::xTop, false);
    enableAxis(QwtPlot::yLeft, false);
    d.canvas = makeCanvas(this, QColor(250, 250, 250));

    d.grid = attachGrid(this, 101, gridShown);

    d.zoomer = new MyQwtZoomer10(canvas());
    d.zoomer->setTrackerMode(QwtPicker::AlwaysOn);
    d.zoomer->setMaxStackDepth(0); // read-out only: this plot never zooms

    d.scaleItem = attachScaleItem(this, QwtScaleDraw::LeftScale, font);

    d.cursorLine = makeCursorLine(QStringLiteral("frequencyPlotMarker"), QwtPlotMarker::HLine, Qt::DashLine, 103);
    d.cursorLine->attach(this);
    d.cursorLine->hide();

    for (size_t k = 0; k < d.bands.size(); ++k) {
        d.bands[k] = new RangeMarker(1);
        d.bands[k]->setZ(101 + double(k));
        d.bands[k]->attach(this);
    }

    // The start-up look is the light theme's, so that the two cannot drift apart.
    setColours(false);
}

FrequencyPlot::~FrequencyPlot()
{
    const Items &d = m_items;
    PlotKit::deleteItemsOffPlot({d.curve, d.grid, d.scaleItem, d.cursorLine, d.bands[0], d.bands[1]});
}

void FrequencyPlot::setColours(bool dark)
{
    const Items &d = m_items;
    const PlotKit::AxisPlotColours c = PlotKit::AxisPlotColours::of(dark);
    d.canvas->setPalette(c.canvas);
    d.grid->setPen(c.grid);
    d.zoomer->setTrackerPen(c.tracker);
    d.scaleItem->setPalette(c.scaleItem);
    d.cursorLine->setLinePen(QPen(c.line, 0, Qt::DashLine));
    for (RangeMarker *band : d.bands)
        band->setColor(c.band);
    // The canvas draws from a cached picture: without a replot it would keep
    // the old colours until something else redraws it.
    replot();
}

void FrequencyPlot::showGrid(bool on)
{
    PlotKit::showGrid(m_items.grid, on);
}

void FrequencyPlot::fitCanvasToAxisTitles()
{
    canvas()->setMinimumWidth(PlotKit::canvasLengthForOneLineTitles(
        this, QwtPlot::xBottom, {AxisPlotTitle::density(), AxisPlotTitle::level()}));
}

void FrequencyPlot::clear()
{
    m_items.curve->detach();
    for (RangeMarker *band : m_items.bands)
        band->detach();
}

void FrequencyPlot::showEmpty()
{
    setAxisScale(QwtPlot::xBottom, 1.0, 0.0);
    setAxisScale(QwtPlot::yLeft, 0.0, 150.0);
}

void FrequencyPlot::showDensity(const QVector<QPointF> &points, const DensityAxis &axis)
{
    setAxisScale(QwtPlot::xBottom, axis.left, axis.right);
    m_items.scaleItem->setPosition(axis.right);
    m_items.curve->setBrush(Qt::NoBrush);
    PlotKit::showCurve(m_items.curve, this, points);
}

void FrequencyPlot::showLevels(const QVector<QPointF> &points, const QwtInterval &levels)
{
    m_items.curve->setBrush(QBrush(PlotKit::green, Qt::SolidPattern));
    setLevels(levels);
    PlotKit::showCurve(m_items.curve, this, points);
}

void FrequencyPlot::prepareCursorLevels()
{
    m_items.curve->setBrush(QBrush(PlotKit::green, Qt::SolidPattern));
}

void FrequencyPlot::showCursorLevels(const QVector<QPointF> &points, const QwtInterval &levels)
{
    setLevels(levels);
    updateAxes(); // the cursor line stands three pixels in from the level axis as it is now
    PlotKit::showCurve(m_items.curve, this, points);
}

void FrequencyPlot::setLevels(const QwtInterval &levels)
{
    setAxisScale(QwtPlot::xBottom, levels.maxValue(), levels.minValue());
    m_items.scaleItem->setPosition(levels.minValue());
    m_items.curve->setBaseline(levels.minValue());
}

void FrequencyPlot::showCursorLine(double kHz)
{
    const QwtScaleDiv &levelAxis = axisScaleDiv(QwtPlot::xBottom);
    m_items.cursorLine->setValue(
        frequencyMarkerLevel(levelAxis.lowerBound(), levelAxis.upperBound(), canvas()->width()), kHz);
    m_items.cursorLine->show();
}

void FrequencyPlot::hideCursor()
{
    if (!m_items.cursorLine->isVisible())
        return;
    m_items.cursorLine->hide();
    replot();
}

void FrequencyPlot::setShading(const QwtInterval &below, const QwtInterval &above)
{
    m_items.bands[0]->setInterval(below);
    m_items.bands[1]->setInterval(above);
    for (RangeMarker *band : m_items.bands)
        band->attach(this);
}

void FrequencyPlot::showShading(bool shown)
{
    for (RangeMarker *band : m_items.bands)
        band->setVisible(shown);
}
