#include "display/timeplot.h"

#include "display/amplitudeenvelope.h"
#include "display/axisplotmode.h"
#include "display/myqwtzoomer2.h"
#include "display/plotkit.h"
#include "display/rangemarker.h"

#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_layout.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_scaleitem.h>
#include <qwt_scale_draw.h>

TimePlot::TimePlot(bool gridShown, QWidget *parent)
    : QwtPlot(parent)
{
    using namespace PlotKit;
    const QFont font = PlotKit::axisFont();
    Items &d = m_items;

    d.curves = {makeCurve(green, 100, QwtPlotCurve::Sticks), makeCurve(green, 100, QwtPlotCurve::Sticks),
                makeCurve(lightGreen, 101, QwtPlotCurve::Sticks), makeCurve(lightGreen, 101, QwtPlotCurve::Sticks)};
    for (QwtPlotCurve *curve : d.curves) {
        curve->setRenderHint(QwtPlotItem::RenderAntialiased, true);
        curve->attach(this);
    }
    setContentsMargins(0, 0, 0, 0);
    plotLayout()->setAlignCanvasToScales(true);
    enableAxis(QwtPlot::xTop, true);
    setAxisFont(QwtPlot::xTop, font);
    setAxisTitle(QwtPlot::xTop, QStringLiteral("Time in s"));
    enableAxis(QwtPlot::xBottom, false);
    enableAxis(QwtPlot::yLeft, true);
    setAxisFont(QwtPlot::yLeft, font);
    showTitleOnly(this, QwtPlot::yLeft);
    d.canvas = makeCanvas(this, QColor(250, 250, 250));

    d.grid = attachGrid(this, 103, gridShown);

    d.zoomer = new MyQwtZoomer2(canvas());
    d.zoomer->setTrackerMode(QwtPicker::AlwaysOn);
    d.zoomer->setMaxStackDepth(0); // read-out only: this plot never zooms

    d.scaleItem = attachScaleItem(this, QwtScaleDraw::RightScale, font);

    for (RangeMarker *&band : d.bands) {
        band = new RangeMarker(0);
        band->setZ(102);
        band->attach(this);
    }

    d.cursorLine = makeCursorLine(QStringLiteral("amplitudePlotMarker"), QwtPlotMarker::VLine, Qt::DashLine, 104);
    d.cursorLine->attach(this);
    d.cursorLine->hide();
    d.baseline = makeCursorLine(QStringLiteral("baselineMarkerPlot"), QwtPlotMarker::HLine, Qt::SolidLine, 104);
    d.baseline->attach(this);
    d.baseline->hide();

    d.playbackLine = makePlaybackLine();
    d.playbackLine->setZ(103);
    d.playbackLine->attach(this);

    // The start-up look is the light theme's, so that the two cannot drift apart.
    setColours(false);
}

TimePlot::~TimePlot()
{
    const Items &d = m_items;
    PlotKit::deleteItemsOffPlot({d.curves[0], d.curves[1], d.curves[2], d.curves[3], d.grid, d.scaleItem, d.bands[0],
                                 d.bands[1], d.cursorLine, d.baseline, d.playbackLine});
}

void TimePlot::setColours(bool dark)
{
    const Items &d = m_items;
    const PlotKit::AxisPlotColours c = PlotKit::AxisPlotColours::of(dark);
    d.canvas->setPalette(c.canvas);
    d.grid->setPen(c.grid);
    d.zoomer->setTrackerPen(c.tracker);
    d.scaleItem->setPalette(c.scaleItem);
    for (RangeMarker *band : d.bands)
        band->setColor(c.band);
    d.cursorLine->setLinePen(QPen(c.line, 0, Qt::DashLine));
    d.baseline->setLinePen(QPen(c.line, 0, Qt::SolidLine));
    // The canvas draws from a cached picture: without a replot it would keep
    // the old colours until something else redraws it.
    replot();
}

void TimePlot::showGrid(bool on)
{
    PlotKit::showGrid(m_items.grid, on);
}

void TimePlot::fitCanvasToAxisTitles()
{
    canvas()->setMinimumHeight(PlotKit::canvasLengthForTitles(
        this, QwtPlot::yLeft, {AxisPlotTitle::normalisedAmplitude(), AxisPlotTitle::level()}));
}

void TimePlot::clear()
{
    for (QwtPlotCurve *curve : m_items.curves)
        curve->detach();
    m_items.baseline->hide();
}

void TimePlot::showPlaybackLine(bool shown)
{
    m_items.playbackLine->setVisible(shown);
}

void TimePlot::movePlaybackLine(double seconds)
{
    m_items.playbackLine->setXValue(seconds);
}

void TimePlot::showEmpty()
{
    setShownSpan(0.0, 1.0);
    setAxisScale(QwtPlot::yLeft, -1.0, 1.0);
    updateReadout();
}

void TimePlot::showEnvelope(const EnvelopeCurves &curves, int step, double limit)
{
    const Items &d = m_items;
    d.curves[0]->setSamples(curves.maxima);
    d.curves[1]->setSamples(curves.minima);
    d.curves[2]->setSamples(curves.rms);
    d.curves[3]->setSamples(curves.rmsNegative);
    for (QwtPlotCurve *curve : d.curves)
        curve->setBaseline(0.0);
    d.curves[0]->attach(this);
    d.curves[1]->attach(this);
    if (step > 10) {
        d.curves[2]->attach(this);
        d.curves[3]->attach(this);
    }
    if (step == 1)
        d.baseline->show();
    d.curves[0]->show();
    setAxisScale(QwtPlot::yLeft, -limit, limit);
}

void TimePlot::showLevels(const QVector<QPointF> &points, const QwtInterval &levels)
{
    m_items.curves[0]->setBrush(QBrush(PlotKit::green, Qt::SolidPattern));
    setLevels(levels);
    PlotKit::showCurve(m_items.curves[0], this, points);
}

void TimePlot::prepareCursorLevels(const QwtInterval &levels)
{
    QwtPlotCurve *curve = m_items.curves[0];
    // Levels below the raster's lowest show as -300 dB: the fill reaches the axis's foot.
    curve->setBaseline(-300.0);
    curve->setBrush(QBrush(PlotKit::green, Qt::SolidPattern));
    setAxisScale(QwtPlot::yLeft, levels.minValue(), levels.maxValue());
}

void TimePlot::showCursorLevels(const QVector<QPointF> &points, const QwtInterval &levels)
{
    setLevels(levels);
    updateAxes(); // the cursor line reaches the top the axis takes now
    PlotKit::showCurve(m_items.curves[0], this, points);
}

void TimePlot::setLevels(const QwtInterval &levels)
{
    setAxisScale(QwtPlot::yLeft, levels.minValue(), levels.maxValue());
    m_items.curves[0]->setBaseline(levels.minValue());
}

void TimePlot::showCursorLine(double seconds)
{
    m_items.cursorLine->setValue(seconds, axisInterval(QwtPlot::yLeft).maxValue());
    m_items.cursorLine->show();
}

void TimePlot::hideCursor(bool levelCurve)
{
    const Items &d = m_items;
    const bool curveShown = levelCurve && d.curves[0]->isVisible();
    if (!curveShown && !d.cursorLine->isVisible())
        return; // the mouse moves about elsewhere: nothing to draw again
    if (curveShown)
        d.curves[0]->hide();
    d.cursorLine->hide();
    replot();
}

void TimePlot::setShownSpan(double start, double end)
{
    setAxisScale(QwtPlot::xBottom, start, end);
    setAxisScale(QwtPlot::xTop, start, end);
}

void TimePlot::setScaleStart(double seconds)
{
    m_items.scaleItem->setPosition(seconds);
}

void TimePlot::updateReadout()
{
    m_items.zoomer->setZoomBase();
}

void TimePlot::setShading(const QwtInterval &before, const QwtInterval &after)
{
    m_items.bands[0]->setInterval(before);
    m_items.bands[1]->setInterval(after);
}

void TimePlot::showShading(bool shown)
{
    for (RangeMarker *band : m_items.bands)
        band->setVisible(shown);
}
