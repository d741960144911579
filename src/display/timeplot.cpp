#include "display/timeplot.h"

#include "display/axisplotmode.h"
#include "display/myqwtzoomer2.h"
#include "display/plotparts.h"
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
    using namespace PlotParts;
    const QFont font = PlotParts::axisFont();
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
    PlotParts::deleteItemsOffPlot({d.curves[0], d.curves[1], d.curves[2], d.curves[3], d.grid, d.scaleItem, d.bands[0],
                                   d.bands[1], d.cursorLine, d.baseline, d.playbackLine});
}

void TimePlot::setColours(bool dark)
{
    const Items &d = m_items;
    const PlotParts::AxisPlotColours c = PlotParts::AxisPlotColours::of(dark);
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

void TimePlot::fitCanvasToAxisTitles()
{
    canvas()->setMinimumHeight(PlotParts::canvasLengthForTitles(
        this, QwtPlot::yLeft, {AxisPlotTitle::normalisedAmplitude(), AxisPlotTitle::level()}));
}
