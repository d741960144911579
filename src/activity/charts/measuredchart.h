#pragma once

#include "activity/charts/measuredactivity.h"
#include "activity/charts/weatherlog.h"
#include "activity/foldersettings.h"
#include "activity/plotfolderdialogform.h"
#include "common/settingskeys.h"

#include <QPair>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

class plotFolderDialog;

/**
 * The charts of activity over temperature, precipitation and wind speed: one
 * engine, drawn alike. Per curve of the folder (class, "Unassigned", "All
 * Classes") the activity in recordings per valid hour over the bins of the
 * quantity, as a line with large dots, beside the valid hours of each bin as
 * grey bars on the right axis; on request the numbers as a CSV file.
 */
struct MeasuredChart {
    ActivityTab tab = ActivityTab::Temperature;
    BinLimits bins;
    QVector<double> xs;                                    // where each bin's activity is drawn
    QVector<QPointF> (*bars)(const QVector<float> &hours); // the "Valid Hours" step curve's points
    QString bottomTitle;                                   // followed by the shown year
    /** The bottom axis from the lowest and the highest bin with valid hours (the last and 0 when none has). */
    QPair<double, double> (*bottomRange)(int lowestBin, int highestBin);
    QString csvFirstHeader; // "%1" is the shown year
    QStringList csvLabels;  // one per bin
    const Setting<QString> *exportKey = nullptr;
    int standardSunHour = 12; // where the sun times take the standard offset without daylight saving
};

/** The three charts (each defined beside its slot). */
MeasuredChart temperatureChart();
MeasuredChart precipitationChart();
MeasuredChart windSpeedChart();

/** The vertical axes' ranges of a drawing. */
struct VerticalRanges {
    double leftMin, leftMax, rightMin, rightMax;
    bool operator==(const VerticalRanges &o) const
    {
        return leftMin == o.leftMin && leftMax == o.leftMax && rightMin == o.rightMin && rightMax == o.rightMax;
    }
};

/**
 * Activity on the left, hours on the right. When no bin below the last, open
 * one has valid hours (no hours below 48 °C, 9 mm/min or 10 m/s), both run to
 * 1 (logarithmic: activity from 0.001, hours from 0.01). Otherwise activity
 * runs to the largest drawn and hours to the largest bin (logarithmic: activity
 * from 0.001, hours from 0.1 when some bin has less than an hour, else from 1).
 * Without any counted recording the activity axis runs to 1: an axis of 0 to 0
 * has no scale. A logarithmic axis whose largest value does not reach its
 * bottom runs three decades up from it (logarithmicTop).
 */
VerticalRanges verticalRanges(const QVector<float> &hours, float maxActivity, bool logarithmic);

/**
 * A chart's series of a year on the folder's clock, from its data file; null
 * when the file cannot be opened.
 */
using SeriesSource =
    std::function<const MeasurementSeries *(const ActivityForm &form, const RecorderClock &folderClock, int year)>;

/**
 * One drawing of a chart from its data file (set: an empty path is the
 * caller's no-data state). A file that cannot be opened leaves the chart as it
 * was and disables "Export Plot Data", which would have nothing to write.
 */
void drawMeasuredChart(plotFolderDialog &dialog, const MeasuredChart &chart, const SeriesSource &source, bool init,
                       bool exportData);

/**
 * The temperature or precipitation chart from the folder's weather log. The
 * log read at an earlier drawing of either chart is taken again while the
 * file (path, size, modification time), the folder's zone and daylight saving
 * and the year are unchanged: a large log is read once for both. A tab whose
 * plot was never built keeps its notice and draws nothing; without a log both
 * export buttons are disabled.
 */
void drawWeatherChart(plotFolderDialog &dialog, const MeasuredChart &chart, WeatherValue which, bool init,
                      bool exportData);

/**
 * The wind chart from the wind-speed file at `path` in `settings`' layout,
 * taken again from an earlier drawing as the weather log is, while
 * `formatKey` (the layout) is unchanged too.
 */
void drawWindChart(plotFolderDialog &dialog, const MeasuredChart &chart, const QString &path,
                   const WindDataSettings &settings, const QString &formatKey, bool init, bool exportData);
