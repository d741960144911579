#pragma once

#include "activity/charts/activityclock.h"
#include "activity/charts/activityform.h"
#include "activity/charts/activityrows.h"

#include <QVector>

/**
 * The numbers of the activity charts over days, months and night time, from
 * the values a drawing took (form, rows, clock of the shown year): pure
 * functions, so that the drawing only hands them to the plot.
 *
 * Hours and counts are single-precision, as the charts have always summed
 * them. A day or month with less than 0.1 valid hours counts as having none.
 * Where a day, month or bin has no valid hours its activity is 0, even if a
 * recording lies on the few instants it has: a value divided by almost nothing
 * would reach the axes and the CSV file as 1e38 or infinity.
 */

/** Below this a day's or a month's valid time counts as none (six minutes). */
constexpr float minimumValidHours = 0.1f;

/** Recordings per valid hour, or 0 without valid hours. */
float activityPerHour(float count, float hours);

struct DaysSeries {
    QVector<float> validHours;        // per day from 1 January; 0 below minimumValidHours
    QVector<QVector<float>> values;   // [curve][day]: counts, or recordings per valid hour
};

/**
 * The days chart: for each day of `year` its valid hours, and for each curve
 * the candidates (dayCandidates: recordings or event starts) that lie in the
 * day's valid periods, divided by the hours when `activity`.
 * `candidates` is indexed [curve][day].
 */
DaysSeries daysSeries(const ActivityForm &form, const ActivityClock &clock, int year,
                      const QVector<QVector<QVector<qint64>>> &candidates, bool activity);
