#include "activity/charts/activityplotitems.h"

#include "activity/charts/activityrows.h"
#include "activity/charts/plotdatacsv.h"
#include "activity/qwtplotgappedcurve.h"

#include <QDateTime>
#include <qwt_date.h>
#include <qwt_legend.h>
#include <qwt_legend_label.h>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_zoomer.h>
#include <qwt_scale_engine.h>
#include <qwt_symbol.h>

#include <algorithm>

namespace {

// Legend markers stand here, where none of the activity plots' axes reaches.
constexpr double markerOffPlot = -10.0;

QwtLegendLabel *legendLabelOf(const QwtPlot *plot, QwtPlotItem *item)
{
    const auto *legend = qobject_cast<const QwtLegend *>(plot->legend());
    if (!legend || !item)
        return nullptr;
    const QList<QWidget *> widgets = legend->legendWidgets(plot->itemToInfo(item));
    return widgets.size() == 1 ? qobject_cast<QwtLegendLabel *>(widgets.first()) : nullptr;
}

QwtSymbol *classSquare(const QColor &color)
{
    return new QwtSymbol(QwtSymbol::Rect, QBrush(color), QPen(Qt::NoPen), QSize(4, 4));
}

void styleActivityCurve(QwtPlotCurve *curve, const QColor &color, double width, const QVector<QPointF> &samples)
{
    curve->setRenderHint(QwtPlotItem::RenderAntialiased);
    curve->setPen(color, width, Qt::SolidLine);
    curve->setYAxis(QwtPlot::yLeft);
    curve->setItemAttribute(QwtPlotItem::Legend, false);
    curve->setSamples(samples);
}

} // namespace

double dateAxisX(const QDate &date, int hour)
{
    return QwtDate::toDouble(QDateTime(date, QTime(hour, 0)));
}

bool legendEntryChecked(const QwtPlot *plot, QwtPlotItem *item)
{
    const QwtLegendLabel *label = legendLabelOf(plot, item);
    return label && label->isChecked();
}

void setLegendEntryChecked(const QwtPlot *plot, QwtPlotItem *item, bool checked)
{
    if (QwtLegendLabel *label = legendLabelOf(plot, item))
        label->setChecked(checked);
}

QwtPlotMarker *legendMarker(const QwtPlot *plot, const QString &name)
{
    for (QwtPlotItem *item : plot->itemList(QwtPlotItem::Rtti_PlotMarker)) {
        if (item->title().text() == name)
            return static_cast<QwtPlotMarker *>(item);
    }
    return nullptr;
}

bool curveShown(const QwtPlot *plot, const QString &name)
{
    QwtPlotMarker *marker = legendMarker(plot, name);
    return marker && legendEntryChecked(plot, marker);
}

void deleteActivityCurves(QwtPlot *plot)
{
    // Only curves: a class whose own name ends in "_Activity" keeps its legend marker.
    for (QwtPlotItem *item : plot->itemList(QwtPlotItem::Rtti_PlotCurve)) {
        if (item->title().text().endsWith(QLatin1String("_Activity")))
            delete item; // detaches itself
    }
}

void addActivityCurves(QwtPlot *plot, const QString &name, const QVector<QPointF> &samples, const QColor &color,
                       const ActivityCurveStyle &style, bool logarithmic)
{
    const QString title = activityItemTitle(name);
    auto *line = new QwtPlotGappedCurve(title, logarithmic ? 0.0 : -1.0);
    line->setStyle(QwtPlotCurve::Lines);
    styleActivityCurve(line, color, style.lineWidth, samples);
    auto *dots = new QwtPlotCurve(title);
    dots->setStyle(QwtPlotCurve::Dots);
    styleActivityCurve(dots, color, style.dotWidth, samples);
    line->attach(plot);
    dots->attach(plot);
    // Before the first drawing's markers exist the curves stay visible.
    if (QwtPlotMarker *marker = legendMarker(plot, name)) {
        if (const QwtLegendLabel *label = legendLabelOf(plot, marker)) {
            line->setVisible(label->isChecked());
            dots->setVisible(label->isChecked());
        }
    }
}

void updateLegendMarkers(QwtPlot *plot, QwtPlotCurve *validHours, const ActivityRows &rows, bool init,
                         const std::function<QColor(int)> &color)
{
    if (init) {
        for (int i = 0; i < rows.curveList.size(); ++i) {
            auto *marker = new QwtPlotMarker(rows.curveList.at(i));
            marker->setValue(markerOffPlot, markerOffPlot);
            marker->setSymbol(classSquare(color(i)));
            marker->setItemAttribute(QwtPlotItem::Legend, true);
            marker->attach(plot);
            setLegendEntryChecked(plot, marker, true);
        }
        setLegendEntryChecked(plot, validHours, true);
        return;
    }
    for (QwtPlotItem *item : plot->itemList(QwtPlotItem::Rtti_PlotMarker)) {
        const int i = rows.curveList.indexOf(item->title().text());
        if (i >= 0)
            static_cast<QwtPlotMarker *>(item)->setSymbol(classSquare(color(i)));
    }
}

void setValidHoursSamples(QwtPlot *plot, QwtPlotCurve *validHours, QVector<QPointF> samples, bool logarithmic)
{
    if (logarithmic) {
        for (QPointF &p : samples) {
            if (p.y() == 0.0)
                p.setY(0.01);
        }
    }
    validHours->setSamples(samples);
    validHours->attach(plot);
}

void setActivityScaleEngines(QwtPlot *plot, bool logarithmic)
{
    for (int axis : {int(QwtPlot::yLeft), int(QwtPlot::yRight)}) {
        if (logarithmic)
            plot->setAxisScaleEngine(axis, new QwtLogScaleEngine(10));
        else
            plot->setAxisScaleEngine(axis, new QwtLinearScaleEngine(10));
    }
}

void resetActivityZoomers(QwtPlotZoomer *left, QwtPlotZoomer *right)
{
    for (QwtPlotZoomer *zoomer : {left, right}) {
        if (!zoomer)
            continue;
        zoomer->setZoomBase(true);
        zoomer->setMaxStackDepth(2);
    }
}

void drawActivityCurves(QwtPlot *plot, QwtPlotCurve *validHours, const ActivityRows &rows, const QVector<double> &xs,
                        const QVector<QVector<float>> &values, const ActivityCurveStyle &style, bool logarithmic,
                        bool init, const std::function<QColor(int)> &color)
{
    deleteActivityCurves(plot);
    for (int i = 0; i < rows.curveList.size(); ++i) {
        QVector<QPointF> samples(xs.size());
        for (int k = 0; k < xs.size(); ++k)
            samples[k] = QPointF(xs[k], double(values[i].value(k)));
        addActivityCurves(plot, rows.curveList.at(i), samples, color(i), style, logarithmic);
    }
    updateLegendMarkers(plot, validHours, rows, init, color);
}

void drawNoActivity(QwtPlot *plot, QwtPlotCurve *validHours, bool init)
{
    deleteActivityCurves(plot);
    validHours->setSamples(QVector<QPointF>());
    if (init)
        setLegendEntryChecked(plot, validHours, true);
    plot->replot();
}

QVector<PlotDataColumn> shownPlotDataColumns(const QwtPlot *plot, QwtPlotCurve *validHours, const QVector<float> &hours,
                                             const ActivityRows &rows, const QVector<QVector<float>> &values,
                                             const QString &unit)
{
    QVector<PlotDataColumn> columns;
    if (legendEntryChecked(plot, validHours))
        columns.append({QStringLiteral("Valid Hours [h]"), hours, 1});
    for (int i = 0; i < rows.curveList.size(); ++i) {
        const QString &name = rows.curveList.at(i);
        if (curveShown(plot, name))
            columns.append({name + unit, values[i], 3});
    }
    return columns;
}

float largestValue(const QVector<QVector<float>> &rows, int count)
{
    float largest = 0.0f;
    const int n = count < 0 ? rows.size() : std::min(count, rows.size());
    for (int i = 0; i < n; ++i) {
        for (float v : rows[i])
            largest = std::max(largest, v);
    }
    return largest;
}

bool hasPartHours(const QVector<float> &hours)
{
    return std::any_of(hours.begin(), hours.end(), [](float h) { return h > 0.0f && h < 1.0f; });
}

double logarithmicTop(double bottom, double top)
{
    return top > bottom ? top : bottom * 1000.0;
}

void setDaysAndMonthsAxes(QwtPlot *plot, bool logarithmic, float maximum, const QVector<float> &hours,
                          double linearRightTop)
{
    const double top = double(maximum == 0.0f ? 1.0f : maximum) + 0.1;
    setActivityScaleEngines(plot, logarithmic);
    if (logarithmic) {
        plot->setAxisScale(QwtPlot::yLeft, 0.001, top);
        plot->setAxisScale(QwtPlot::yRight, hasPartHours(hours) ? 0.1 : 1.0, 1000.0);
    } else {
        plot->setAxisScale(QwtPlot::yLeft, 0.0, top);
        plot->setAxisScale(QwtPlot::yRight, 0.0, linearRightTop);
    }
}
