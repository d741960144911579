#pragma once

#include "activity/charts/measuredactivity.h"
#include "common/recorderclock.h"

#include <QDate>
#include <QString>

/**
 * The folder's weather log: one measurement per line, no header,
 *
 *     2021-06-01 22:10:00,14.3,0
 *
 * a time stamp (date "yyyy-MM-dd" in the first ten characters, time "hh:mm:ss"
 * in the last eight, anything between), the air temperature in °C and the
 * precipitation in mm per minute. A line with a TAB is split at its TABs,
 * any other at its commas; double quotes, line feeds and carriage returns are
 * removed from every field. "nan" (or anything else that is no finite number)
 * marks a missing value. The stamps are clock times of the folder's recorder.
 * One log serves the temperature and the precipitation chart.
 */
enum class WeatherValue {
    Temperature = 1, // the field each chart reads: 0 is the stamp
    Precipitation = 2,
};

/**
 * One line as the charts read it. It fits when it has exactly three fields and
 * its date and time read. A value is missing (NaN) unless its field reads as a
 * finite number with a decimal point: "nan", "inf", an empty field, "n/a",
 * "12,5" and "3 mm" are no values, and count in no bin.
 */
struct WeatherLine {
    bool fits = false;
    QDate date;
    int msOfDay = 0;
    float temperature = 0;
    float precipitation = 0;
};

WeatherLine readWeatherLine(const QString &line);

/** The log's entries of the shown year, once for both charts: the same instants, each chart's values. */
struct WeatherSeries {
    MeasurementSeries temperature;
    MeasurementSeries precipitation;

    const MeasurementSeries &of(WeatherValue which) const
    {
        return which == WeatherValue::Temperature ? temperature : precipitation;
    }
};

/**
 * The clock of the log's stamps: the folder's zone with its rules under
 * daylight saving, otherwise the zone's standard offset at 1 January 00:00 of
 * the shown year all year.
 */
RecorderClock weatherLogClock(const QTimeZone &zone, bool daylightSaving, int year);

/**
 * The log's entries in the shown year, read once through the bounded reader,
 * with their stamps on `stampClock` and their days on `folderClock`; a clock
 * time that the stamps' clock skips (the hour lost in spring) is no entry.
 * False when the file cannot be opened.
 */
bool readWeatherLog(const QString &path, const RecorderClock &stampClock, const RecorderClock &folderClock, int year,
                    WeatherSeries &series);
