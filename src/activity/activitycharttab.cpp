#include "activity/activitycharttab.h"

#include "activity/validhourscurve.h"

#include <QGridLayout>
#include <qwt_date.h>
#include <qwt_date_scale_draw.h>
#include <qwt_date_scale_engine.h>
#include <qwt_legend.h>
#include <qwt_plot.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_zoomer.h>
#include <qwt_text.h>

#include <tuple>

namespace {

const QColor gridColor(230, 230, 230, 255);

void setBottomAxis(QwtPlot *plot, ActivityChartTab::BottomAxis kind)
{
    switch (kind) {
    case ActivityChartTab::BottomAxis::Dates: {
        const QString month = QStringLiteral("MMM");
        ActivityChartTab::setDateAxis(plot, QwtPlot::xBottom, month, QStringLiteral("dd.MMM"), month, month);
        plot->setAxisLabelAlignment(QwtPlot::xBottom, Qt::AlignHCenter | Qt::AlignBottom);
        break;
    }
    case ActivityChartTab::BottomAxis::NightFraction:
        plot->setAxisScale(QwtPlot::xBottom, -0.15, 1.0, 0);
        break;
    case ActivityChartTab::BottomAxis::ZeroToForty:
        plot->setAxisScale(QwtPlot::xBottom, 0, 40, 0);
        break;
    }
}

QwtPlotCurve *newValidHoursCurve(QwtPlot *plot, bool ownPen)
{
    auto *curve = new ValidHoursCurve(QStringLiteral("Valid Hours"));
    curve->setRenderHint(QwtPlotItem::RenderAntialiased);
    if (ownPen)
        curve->setPen(QColor(Qt::lightGray), 1, Qt::SolidLine);
    curve->setBrush(QBrush(Qt::lightGray, Qt::SolidPattern));
    curve->setBaseline(0.0);
    curve->setStyle(QwtPlotCurve::Steps);
    curve->setYAxis(QwtPlot::yRight);
    curve->attach(plot);
    return curve;
}

} // namespace

void ActivityChartTab::setTitledVisible(QwtPlot *plot, const QString &title, bool on)
{
    for (QwtPlotItem *item : plot->itemList()) {
        if (item->title().text() == title)
            item->setVisible(on);
    }
}

void ActivityChartTab::createPlot(QGridLayout *layout, int column)
{
    plot = new QwtPlot;
    layout->addWidget(plot, 0, column, 1, 1);
    plot->setContentsMargins(0, 0, 0, 0);
}

void ActivityChartTab::addCanvas(const QColor &background)
{
    canvas = new QwtPlotCanvas;
    plot->setCanvas(canvas);
    plot->setCanvasBackground(QBrush(background));
}

void ActivityChartTab::addLegend()
{
    legend = new QwtLegend;
    legend->setDefaultItemMode(QwtLegendData::Checkable);
    plot->insertLegend(legend, QwtPlot::RightLegend, -1.0);
}

void ActivityChartTab::addGrid()
{
    auto *grid = new QwtPlotGrid;
    grid->setZ(1.0);
    grid->setPen(gridColor, 1);
    grid->attach(plot);
}

void ActivityChartTab::styleZoomer(QwtPlotZoomer *zoomer)
{
    zoomer->setRubberBandPen(QColor(Qt::darkGray));
    zoomer->setTrackerPen(QColor(Qt::darkGray));
    zoomer->setTrackerMode(QwtPicker::AlwaysOn);
}

void ActivityChartTab::setDateAxis(QwtPlot *plot, int axis, const QString &coarse, const QString &week,
                                   const QString &fine, const QString &milliseconds)
{
    auto *draw = new QwtDateScaleDraw(Qt::LocalTime);
    for (QwtDate::IntervalType type : {QwtDate::Year, QwtDate::Month})
        draw->setDateFormat(type, coarse);
    draw->setDateFormat(QwtDate::Week, week);
    draw->setDateFormat(QwtDate::Day, week);
    for (QwtDate::IntervalType type : {QwtDate::Hour, QwtDate::Minute, QwtDate::Second})
        draw->setDateFormat(type, fine);
    draw->setDateFormat(QwtDate::Millisecond, milliseconds);
    plot->setAxisScaleDraw(axis, draw);
    plot->setAxisScaleEngine(axis, new QwtDateScaleEngine(Qt::LocalTime));
}

void ActivityChartTab::build(const Setup &setup)
{
    firstPlot = true;
    trackerFollowsHours = setup.trackerFollowsHours;
    createPlot(setup.layout, setup.column);
    plot->setAxisTitle(QwtPlot::yLeft, setup.leftTitle);
    plot->setAxisTitle(QwtPlot::yRight, setup.rightTitle);
    validHours = newValidHoursCurve(plot, setup.validHoursOutline);
    addCanvas(setup.canvasColor);
    addLegend();
    addGrid();
    // The right zoomer has no selection machine: it never zooms nor draws a
    // rubber band, it only writes the valid hours beside the left one's text.
    std::tie(zoomer, rightZoomer) = setup.makeZoomers(plot->canvas());
    styleZoomer(zoomer);
    styleZoomer(rightZoomer);
    rightZoomer->setStateMachine(nullptr);
    setBottomAxis(plot, setup.bottom);
    plot->enableAxis(QwtPlot::yRight, true);
    plot->setAxisAutoScale(QwtPlot::yRight, true);
}

void ActivityChartTab::destroy()
{
    // The plot takes its canvas, legend, zoomers and items with it.
    delete plot;
    plot = nullptr;
    canvas = nullptr;
    legend = nullptr;
    zoomer = nullptr;
    rightZoomer = nullptr;
    validHours = nullptr;
}

void ActivityChartTab::legendChecked(const QVariant &itemInfo, bool on)
{
    const QwtPlotItem *entry = plot->infoToItem(itemInfo);
    if (!entry)
        return;
    const QString title = entry->title().text();
    if (title == QLatin1String("Valid Hours")) {
        validHours->setVisible(on);
        plot->enableAxis(QwtPlot::yRight, on);
        if (trackerFollowsHours)
            rightZoomer->setTrackerMode(on ? QwtPicker::AlwaysOn : QwtPicker::AlwaysOff);
    } else {
        setTitledVisible(plot, title + QStringLiteral("_Activity"), on);
    }
    plot->replot();
}

void ActivityChartTab::zoomEdgeTo(Qt::Edge edge, double x)
{
    if (!zoomer)
        return;
    QRectF rect = zoomer->zoomRect();
    if (edge == Qt::LeftEdge)
        rect.setLeft(x);
    else
        rect.setRight(x);
    zoomer->zoom(0);
    zoomer->zoom(rect);
}
