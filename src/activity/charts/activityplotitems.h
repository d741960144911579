#pragma once

#include <QColor>
#include <QPointF>
#include <QString>
#include <QVector>

#include <functional>

class QwtPlot;
class QwtPlotCurve;
class QwtPlotItem;
class QwtPlotMarker;
class QwtPlotZoomer;
struct ActivityRows;
struct PlotDataColumn;

/**
 * The plot items that every activity chart (days, months, night time,
 * temperature, precipitation, wind speed) draws in the same way:
 *
 * - per curve (class, "Unassigned", "All Classes") a line and a dot curve,
 *   both titled "<name>_Activity" and kept out of the legend; the legend
 *   entries that show and hide them are
 * - legend markers titled "<name>", made once per plot at (-10, -10) where no
 *   axis reaches, with the class colour as a 4 x 4 square;
 * - the "Valid Hours" step curve that the dialog's set-up made.
 *
 * Items are found by their titles, as the dialog's legend slots find them, so a
 * redrawn curve keeps the visibility its legend entry gives it.
 */

class QDate;

/** x of a local date-time on the days and months charts' date axes: the date at `hour`:00. */
double dateAxisX(const QDate &date, int hour = 0);

/** The check state of an item's legend entry; false when the legend shows no single entry for it. */
bool legendEntryChecked(const QwtPlot *plot, QwtPlotItem *item);
/** Checks or unchecks an item's legend entry (Qwt makes entries unchecked). */
void setLegendEntryChecked(const QwtPlot *plot, QwtPlotItem *item, bool checked);

/** The legend marker titled `name`, or null. */
QwtPlotMarker *legendMarker(const QwtPlot *plot, const QString &name);
/** True when the legend marker of `name` exists and its entry is checked: the curve is shown and exported. */
bool curveShown(const QwtPlot *plot, const QString &name);

/** Takes every curve titled "<name>_Activity" off the plot and deletes it. */
void deleteActivityCurves(QwtPlot *plot);

/** Pen widths of a chart's line and dot curves. */
struct ActivityCurveStyle {
    double lineWidth = 1.0;
    double dotWidth = 1.0;
};

/**
 * Attaches the line and the dot curve of one curve with these samples. The
 * line leaves a gap at 0 on logarithmic axes (where 0 cannot be drawn) and at
 * -1 on linear ones (never: every value is drawn). Both are shown or hidden as
 * the curve's legend marker is checked, and shown while it has none yet.
 */
void addActivityCurves(QwtPlot *plot, const QString &name, const QVector<QPointF> &samples, const QColor &color,
                       const ActivityCurveStyle &style, bool logarithmic);

/**
 * The legend's class entries. On the first drawing of a plot (`init`) one
 * marker per curve of `rows` in curve order, coloured color(i), its entry
 * checked, and then the "Valid Hours" entry checked. Afterwards the markers
 * are only given color(i) again, so that changed class colours show.
 */
void updateLegendMarkers(QwtPlot *plot, QwtPlotCurve *validHours, const ActivityRows &rows, bool init,
                         const std::function<QColor(int)> &color);

/**
 * Gives the "Valid Hours" curve its bars and attaches it. On logarithmic axes
 * a bar of 0 hours stands at 0.01, below the axis, instead.
 */
void setValidHoursSamples(QwtPlot *plot, QwtPlotCurve *validHours, QVector<QPointF> samples, bool logarithmic);

/** Base-10 logarithmic or linear scale engines on both y axes. */
void setActivityScaleEngines(QwtPlot *plot, bool logarithmic);

/** Both zoomers take the plot's present scales as their base, two zoom levels deep. */
void resetActivityZoomers(QwtPlotZoomer *left, QwtPlotZoomer *right);

/**
 * The line and dot curves of every curve of `rows` at these x positions:
 * curve i draws values[i]. The previous drawing's curves are deleted first;
 * the legend markers are made (`init`) or recoloured.
 */
void drawActivityCurves(QwtPlot *plot, QwtPlotCurve *validHours, const ActivityRows &rows, const QVector<double> &xs,
                        const QVector<QVector<float>> &values, const ActivityCurveStyle &style, bool logarithmic,
                        bool init, const std::function<QColor(int)> &color);

/**
 * A chart with nothing to show (no dated recording): no curves, no bars. On
 * the first drawing the "Valid Hours" entry is checked as a drawn chart's is.
 */
void drawNoActivity(QwtPlot *plot, QwtPlotCurve *validHours, bool init);

/**
 * The plot-data columns the legend shows: "Valid Hours [h]" (one decimal)
 * while its entry is checked, then each curve of `rows` whose marker is
 * checked, named with `unit` appended (three decimals). values[i] is curve i's.
 */
QVector<PlotDataColumn> shownPlotDataColumns(const QwtPlot *plot, QwtPlotCurve *validHours, const QVector<float> &hours,
                                             const ActivityRows &rows, const QVector<QVector<float>> &values,
                                             const QString &unit);

/** The largest value of the first `count` rows (all rows when count < 0), at least 0. */
float largestValue(const QVector<QVector<float>> &rows, int count = -1);

/**
 * The y axes of the days and months charts, after the scale engines: the left
 * from 0 (0.001 on logarithmic axes) to maximum + 0.1 (1.1 with a maximum of
 * 0); the right from 0 to linearRightTop, or on logarithmic axes from 0.1
 * (some bin has hours below one) or 1 up to 1000.
 */
void setDaysAndMonthsAxes(QwtPlot *plot, bool logarithmic, float maximum, const QVector<float> &hours,
                          double linearRightTop);

/** True when some bin has valid hours above 0 and below 1: a logarithmic hours axis then starts at 0.1. */
bool hasPartHours(const QVector<float> &hours);

/**
 * The top of a logarithmic axis that starts at `bottom`: `top` when it lies
 * above the bottom, else three decades above the bottom. A drawing without
 * counted recordings, or without hours, has a largest value of 0 (or one
 * below the axis), and an axis up to it would run downwards across a hundred
 * decades.
 */
double logarithmicTop(double bottom, double top);
